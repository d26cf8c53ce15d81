#include "dialogs/facebook_request_wnd.h"

FacebookRequestWnd::FacebookRequestWnd() : DialogWindow("facebook_request_wnd_ui", "FacebookRequestWnd", "gui") {}
