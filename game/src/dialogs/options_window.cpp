#include "dialogs/options_window.h"

#include "dialogs/facebook_message_wnd.h"
#include "dialogs/reset_question_window.h"

OptionsWindow::OptionsWindow() :
    DialogWindow("options_window_ui", "OptionsWindow", "gui"),
    messageWindow(std::make_unique<FacebookMessageWnd>()),
    resetQuestion(std::make_unique<ResetQuestionWindow>())
{
}

OptionsWindow::~OptionsWindow() = default;
