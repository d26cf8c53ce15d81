#pragma once
// The accept/reject question: "btnAccept" closes it with `result` 0,
// "btnReject" with 1; the owner reads the result in its onHidden.

#include "dialogs/dialog_window.h"

class ConfirmWindow : public DialogWindow {
public:
    static constexpr int32_t ACCEPTED = 0;
    static constexpr int32_t REJECTED = 1;

    ConfirmWindow(const std::string& table, const std::string& script);

    void accept();
    void reject();
};
