#include "field_scene.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "file_system.h"

std::unique_ptr<AE::ISceneNode> loadFieldScene(const std::string& name)
{
    // A board played without content (tests of its rules) has no scenes.
    if (!VQ::FileSystem::exists())
        return nullptr;
    return std::unique_ptr<AE::ISceneNode>(AE::loadScene(name));
}

float parseFloatToken(const char*& cursor)
{
    std::string digits;
    while (*cursor && (std::isdigit(static_cast<unsigned char>(*cursor)) || *cursor == '.' || *cursor == '-'))
        digits += *cursor++;
    // strtod reads in the "C" locale: the process never switches it.
    return static_cast<float>(std::strtod(digits.c_str(), nullptr));
}

bool markerNumber(const AE::ISceneNode& node, const std::string& prefix, float& out)
{
    for (const auto& marker : node.markers) {
        if (marker->name.compare(0, prefix.size(), prefix) == 0) {
            const char* cursor = marker->name.c_str() + prefix.size();
            out = parseFloatToken(cursor);
            return true;
        }
    }
    return false;
}
