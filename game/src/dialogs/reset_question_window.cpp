#include "dialogs/reset_question_window.h"

ResetQuestionWindow::ResetQuestionWindow() : DialogWindow("reset_question_window_ui", "ResetQuestionWindow", "gui") {}
