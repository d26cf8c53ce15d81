#pragma once
// The friends' requests ("requests_wnd_ui"), opened by the map's mail
// button: one row for each request of a known friend; "btnOk" grants the
// marked ones, "btnSelectAll" marks or clears them all.

#include <vector>

#include "dialogs/dialog_window.h"
#include "dialogs/social_rows.h"

struct SocialRequest;

class FacebookRequestWnd : public DialogWindow, public CheckBoxListener {
public:
    // Built hidden, without rows.
    FacebookRequestWnd();

    // The rows rebuilt from `requests`; a sender nobody knows gets none.
    void setRequests(const std::vector<SocialRequest>& requests);
    // The marked rows accepted, each leaving the list.
    void acceptChecked();
    bool empty() const { return !list || list->items.empty(); }

    // The buttons.
    void ok();
    void selectAll() { toggleAll(); }
    void close() { hide(); }
};
