#include "dialogs/reset_question_window.h"

#include <algorithm>

#include "animationeditor/scene_node.h"
#include "fatal_error.h"
#include "game_time.h"
#include "input_manager.h"
#include "render_system.h"
#include "log_system.h"
#include "utils.h"

ResetQuestionWindow::ResetQuestionWindow() :
    DialogWindow("reset_question_window_ui", "ResetQuestionWindow", "gui"),
    acceptNode(sceneNode("btnAccept")),
    timer(sceneNode("#timer"))
{
    if (!acceptNode || !timer)
        VQ::assertFailed("VQ", "Scene node 'btnAccept' or '#timer' is missing in " + scriptName,
                         "reset_question_window", __LINE__);
    bindButton("btnReject", this, &ResetQuestionWindow::close);
}

void ResetQuestionWindow::show(bool queued)
{
    result = 1;
    holding = false;
    DialogWindow::show(queued);
    timer->setEnabled(false);
}

void ResetQuestionWindow::showCount(int64_t seconds)
{
    setSceneText(timer, VQ::formatString("%d", static_cast<int>(seconds)), false);
}

void ResetQuestionWindow::update(float dt)
{
    (void)dt;
    VQ::InputManager* input = VQ::InputManager::instancePtr();
    VQ::MouseDevice* mouse = input ? input->mouse() : nullptr;
    if (!mouse)
        return;
    const bool down = mouse->left & 0x80;
    const bool wasDown = mouse->previousLeft & 0x80;
    if (down && !wasDown) {
        VQ::Vector2f cursor = mouse->workspacePosition;
        if (const VQ::RenderSystem* render = VQ::RenderSystem::instancePtr()) {
            const VQ::Vector2<int32_t> p = render->screenToWorkspace(mouse->x, mouse->y);
            cursor = VQ::Vector2f(static_cast<float>(p.x), static_cast<float>(p.y));
        }
        if (acceptNode->hitTest(cursor.x, cursor.y, true)) {
            holding = true;
            holdStart = currentTime();
            timer->setEnabled(true);
            showCount(HOLD_SECONDS);
        }
        return;
    }
    if (!holding)
        return;
    if (!down && wasDown) {
        timer->setEnabled(false);
        holding = false;
        return;
    }
    const int64_t elapsed = currentTime() - holdStart;
    showCount(std::max<int64_t>(HOLD_SECONDS - elapsed, 0));
    if (elapsed >= HOLD_SECONDS) {
        result = 0;
        holding = false;
        hide();
    }
}
