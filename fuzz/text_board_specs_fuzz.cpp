// Feeds arbitrary text to the board presentation's two small parsers: the
// placing of a "#hor:" marker (read, placed, and applied to a node with
// a child) and the cue text of a scene drawable (with a colour suffix taken
// from the input's first bytes). Neither may crash, hang or read past the
// text.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "animationeditor/scene_node.h"
#include "drawable.h"
#include "game_state_manager.h"
#include "scene_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static GameStateManager states{nullptr};
    const std::string text(reinterpret_cast<const char*>(data), size);

    const SceneLayoutSpec placing = parseSceneLayoutSpec(text);
    placeByLayout(placing, VQ::Vector2f(10, 20), VQ::Vector2f(1726, 970), VQ::Vector2f(12, 0));
    AE::ISceneNode root;
    auto* child = new AE::ISceneNode();
    child->addMarker(std::make_unique<AE::Marker>("#hor:" + text));
    child->addMarker(std::make_unique<AE::Marker>("#ver:" + text));
    root.addChild(child, true);
    states.portrait = size % 2 != 0;
    applySceneNodeLayout(&root);

    const size_t split = size ? data[0] % 8 : 0;
    const std::string suffix = text.substr(0, std::min(split, size));
    float maxStart = 0.0f;
    parseSceneCues(text, suffix, maxStart);
    return 0;
}
