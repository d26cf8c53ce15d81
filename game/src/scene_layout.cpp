#include "scene_layout.h"

#include <cctype>
#include <cstdlib>

#include "animationeditor/scene_node.h"
#include "field_scene.h"
#include "game_state_manager.h"
#include "render_system.h"
#include "ui/ui_scene_node.h"

namespace {

// "-" then an optional sign and digits; without the separator the value is
// 0 and nothing is read.
int readInteger(const char*& p)
{
    if (*p != '-')
        return 0;
    ++p;
    int sign = 1;
    if (*p == '-') {
        sign = -1;
        ++p;
    }
    long value = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        if (value < 100000000)
            value = value * 10 + (*p - '0');
        ++p;
    }
    return static_cast<int>(sign * value);
}

bool bang(const char*& p)
{
    if (*p != '!')
        return false;
    ++p;
    return true;
}

}  // namespace

SceneLayoutSpec parseSceneLayoutSpec(const std::string& text)
{
    SceneLayoutSpec placing;
    const char* p = text.c_str();
    while (*p) {
        const char c = *p++;
        switch (c) {
        case 't':
        case 'b':
            placing.vertical |= c == 't' ? SceneLayoutSpec::FIRST : SceneLayoutSpec::SECOND;
            placing.verticalNoMargin = bang(p) || placing.verticalNoMargin;
            placing.v = static_cast<float>(readInteger(p));
            break;
        case 'l':
        case 'r':
            placing.horizontal |= c == 'l' ? SceneLayoutSpec::FIRST : SceneLayoutSpec::SECOND;
            placing.horizontalNoMargin = bang(p) || placing.horizontalNoMargin;
            placing.h = static_cast<float>(readInteger(p));
            break;
        case 'c':
            // A lone 'c' starts no token.
            if (*p == 'v') {
                ++p;
                placing.vertical = SceneLayoutSpec::CENTRE;
                placing.v = static_cast<float>(readInteger(p));
            } else if (*p == 'h') {
                ++p;
                placing.horizontal = SceneLayoutSpec::CENTRE;
                placing.h = static_cast<float>(readInteger(p));
            }
            break;
        case 'a':
            placing.hasRotation = true;
            placing.rotation = static_cast<float>(readInteger(p));
            break;
        case 's':
            if (*p == 'h' || *p == 'v') {
                const bool horizontal = *p++ == 'h';
                // The separator; at the end of the placing there is none.
                if (!*p)
                    break;
                ++p;
                const float value = parseFloatToken(p);
                (horizontal ? placing.scaleX : placing.scaleY) = value;
                (horizontal ? placing.hasScaleX : placing.hasScaleY) = true;
            }
            break;
        case 'e': {
            std::string digits;
            while (std::isdigit(static_cast<unsigned char>(*p)) || *p == '-')
                digits += *p++;
            placing.hasEnabled = true;
            placing.enabled = std::strtol(digits.c_str(), nullptr, 10) != 0;
            break;
        }
        default:
            break;
        }
    }
    return placing;
}

VQ::Vector2f placeByLayout(const SceneLayoutSpec& placing, const VQ::Vector2f& position, const VQ::Vector2f& sceneSize,
                           const VQ::Vector2f& margin)
{
    auto place = [](int anchor, bool noMargin, float value, float current, float size, float edge) {
        const float m = noMargin ? 0.0f : edge;
        switch (anchor) {
        case SceneLayoutSpec::FIRST:
            return value + m;
        case SceneLayoutSpec::SECOND:
            return size - value - m;
        case SceneLayoutSpec::CENTRE:
            return size / 2.0f + value;
        default:
            return current;
        }
    };
    return VQ::Vector2f(place(placing.horizontal, placing.horizontalNoMargin, placing.h, position.x, sceneSize.x, margin.x),
                        place(placing.vertical, placing.verticalNoMargin, placing.v, position.y, sceneSize.y, margin.y));
}

VQ::Vector2f layoutMargins()
{
    const VQ::RenderSystem* render = VQ::RenderSystem::instancePtr();
    if (!render)
        return VQ::Vector2f(0.0f, 0.0f);
    VQ::Vector2f offset, size;
    float scale = 1.0f;
    render->getWorkspaceViewport(offset, size, scale);
    if (scale <= 0.0f)
        return VQ::Vector2f(0.0f, 0.0f);
    auto margin = [scale](float o) { return o > 0.0f ? 0.0f : -o / scale; };
    return VQ::Vector2f(margin(offset.x), margin(offset.y));
}

void applySceneNodeLayout(AE::ISceneNode* node)
{
    if (!node)
        return;
    const GameStateManager* states = GameStateManager::instance();
    const std::string prefix = states->isPortrait() ? "#ver:" : "#hor:";
    for (const auto& marker : node->markers) {
        if (marker->name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const SceneLayoutSpec placing = parseSceneLayoutSpec(marker->name.substr(prefix.size()));
        if (placing.hasRotation)
            node->setRotation(placing.rotation);
        const VQ::Vector2f at = placeByLayout(placing, VQ::Vector2f(node->posX, node->posY), states->getSceneSize(),
                                              layoutMargins());
        node->setPosition(at);
        if (placing.hasScaleX)
            node->setScaleX(placing.scaleX);
        if (placing.hasScaleY)
            node->setScaleY(placing.scaleY);
        node->update(0.0f);
        if (placing.hasEnabled)
            node->setEnabled(placing.enabled);
        break;
    }
    // A copy: a child's layout does not change the list.
    const std::vector<AE::ISceneNode*> children = node->children;
    for (AE::ISceneNode* child : children)
        applySceneNodeLayout(child);
}

void applyWidgetLayout(VQ::UIWidget* widget)
{
    if (!widget)
        return;
    if (widget->getType() == VQ::UIWidget::TYPE_SCENE_NODE)
        applySceneNodeLayout(static_cast<VQ::UISceneNode*>(widget)->node);
    for (size_t i = 0; i < widget->children.size(); ++i)
        applyWidgetLayout(widget->children[i]);
}
