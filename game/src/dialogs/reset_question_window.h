#pragma once
// The question before the progress is reset ("reset_question_window_ui"):
// its accept button must be held for three seconds.

#include "dialogs/dialog_window.h"

class ResetQuestionWindow : public DialogWindow {
public:
    ResetQuestionWindow();
};
