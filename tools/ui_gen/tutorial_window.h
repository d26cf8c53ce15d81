#pragma once
// The tutorial's hint window: its UI script and scene.

#include <string>

namespace TutorialWindowUi {

std::string script();
std::string scene();

}  // namespace TutorialWindowUi
