#include "map_button.h"

#include <string>

#include "animationeditor/movie_camera.h"
#include "animationeditor/scene_node.h"
#include "dialogs/dialog_window_manager.h"
#include "game_state_manager.h"
#include "input_manager.h"

namespace {

const char* const STATE_NAMES[] = {"regular", "selected", "pressed"};

}  // namespace

VQ::Vector2f mapPointUnder(const AE::MovieCamera* camera, VQ::Vector2f scene, VQ::Vector2f p)
{
    if (!camera)
        return p;
    const VQ::RenderCamera view = camera->getView();
    const float zx = view.scale.x != 0.0f ? view.scale.x : 1.0f;
    const float zy = view.scale.y != 0.0f ? view.scale.y : 1.0f;
    return {scene.x / 2.0f - view.position.x + (p.x - scene.x / 2.0f) / zx,
            scene.y / 2.0f - view.position.y + (p.y - scene.y / 2.0f) / zy};
}

VQ::Vector2f workspacePointOver(const AE::MovieCamera* camera, VQ::Vector2f scene, VQ::Vector2f m)
{
    if (!camera)
        return m;
    const VQ::RenderCamera view = camera->getView();
    const float zx = view.scale.x != 0.0f ? view.scale.x : 1.0f;
    const float zy = view.scale.y != 0.0f ? view.scale.y : 1.0f;
    return {(m.x - scene.x / 2.0f + view.position.x) * zx + scene.x / 2.0f,
            (m.y - scene.y / 2.0f + view.position.y) * zy + scene.y / 2.0f};
}

void MapButton::update()
{
    if (!node)
        return;
    if (DialogWindowManager::exists() && DialogWindowManager::instance()->hasActiveWindow())
        return;
    VQ::InputManager* input = VQ::InputManager::instancePtr();
    VQ::MouseDevice* mouse = input ? input->mouse() : nullptr;
    if (!mouse)
        return;
    const AE::ISceneNode* tree = node->parent ? node->parent : node;
    const VQ::Vector2f scene =
        GameStateManager::exists() ? GameStateManager::instance()->getSceneSize() : VQ::Vector2f(1726.0f, 970.0f);
    const VQ::Vector2f point = mapPointUnder(tree->getActiveCamera(), scene, input->cursorPosition());
    updateAt(point, (mouse->left & 0x80) != 0, (mouse->previousLeft & 0x80) != 0 && (mouse->left & 0x80) == 0);
}

void MapButton::updateAt(VQ::Vector2f point, bool leftDown, bool leftReleased)
{
    const bool hit = node->hitTest(point.x, point.y, true);
    switch (state) {
    case REGULAR:
        if (hit)
            setState(SELECTED);
        break;
    case SELECTED:
        if (!hit)
            setState(REGULAR);
        else if (leftDown)
            setState(PRESSED);
        break;
    case PRESSED:
        if (!hit) {
            setState(REGULAR);
        } else if (leftReleased) {
            setState(SELECTED);
            if (listener)
                listener->onButtonClicked(this);
        }
        break;
    default:
        break;
    }
}

void MapButton::setState(int newState)
{
    if (newState == state)
        return;
    if (state >= REGULAR && state <= PRESSED && newState >= REGULAR && newState <= PRESSED) {
        const std::string marker = std::string(STATE_NAMES[state]) + ">" + STATE_NAMES[newState];
        if (node && node->getMarker(marker))
            node->playMarker(marker);
    }
    state = newState;
}
