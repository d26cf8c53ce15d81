#include "field_scene.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

std::unique_ptr<AE::ISceneNode> loadFieldScene(const std::string& name)
{
    // The scene file loader is not part of this build yet.
    (void)name;
    return nullptr;
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
