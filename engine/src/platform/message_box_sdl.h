#pragma once
// The OK/Cancel box of the fatal report, over SDL. A headless run must never
// wait on a box: VQ_MSGBOX_ANSWER=ok|cancel answers without one, and when no
// box can be shown the answer is Cancel with the text on the standard error.

#include <string>

namespace VQ {

enum class MessageBoxAnswer { Ok, Cancel };

MessageBoxAnswer showMessageBoxOkCancel(const std::string& title, const std::string& text, bool error);

}  // namespace VQ
