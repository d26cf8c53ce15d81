#pragma once
// A table of tracked allocations and the leak report written at quit. The
// report goes straight to the log file because the log system is gone by
// then.

#include <cstddef>
#include <map>
#include <mutex>
#include <string>

#include "singleton.h"

namespace VQ {

class MemoryManager : public Singleton<MemoryManager> {
public:
    MemoryManager() = default;

    void addAllocation(const void* address, size_t size, int line, const char* file);
    void removeAllocation(const void* address);
    size_t allocationCount() const;

    // Appends the leak report, without time prefixes, to the log file (by
    // default "VQ.log" in the working folder): one line per tracked
    // allocation in address order and their count, or the line saying there
    // are none. Nothing is written when the file cannot be opened.
    void dumpLeaks(const std::string& path = "VQ.log") const;

private:
    struct Allocation {
        size_t size;
        int line;
        std::string file;
    };

    mutable std::recursive_mutex mMutex;
    std::map<const void*, Allocation> mAllocations;
};

}  // namespace VQ
