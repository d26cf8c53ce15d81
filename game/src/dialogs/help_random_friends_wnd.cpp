#include "dialogs/help_random_friends_wnd.h"

HelpRandomFriendsWnd::HelpRandomFriendsWnd()
    : DialogWindow("help_random_friends_wnd_ui", "HelpRandomFriendsWnd", "gui")
{
}
