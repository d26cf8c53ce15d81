#pragma once
// A registry kept for the engine's start-up and shut-down order; it holds an
// empty list and an empty queue and offers no operations.

#include <deque>
#include <string>
#include <vector>

#include "singleton.h"

namespace VQ {

class ResourceGroupManager : public Singleton<ResourceGroupManager> {
public:
    ResourceGroupManager() = default;

private:
    std::vector<std::string> mGroups;
    std::deque<std::string> mQueue;
};

}  // namespace VQ
