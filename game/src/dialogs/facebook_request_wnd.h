#pragma once
// The friends' requests ("facebook_request_wnd_ui"), opened by the map's
// mail button. Its list rows come with the social windows; until then it
// keeps the requests it is given and shows nothing of them.

#include <vector>

#include "dialogs/dialog_window.h"

struct SocialMessage;

class FacebookRequestWnd : public DialogWindow {
public:
    // Built hidden, without requests.
    FacebookRequestWnd();

    void setRequests(const std::vector<const SocialMessage*>& list) { requests = list; }
    // The friends' photos in its rows; nothing yet.
    void refreshPhotos() {}

    std::vector<const SocialMessage*> requests;  // not owned
};
