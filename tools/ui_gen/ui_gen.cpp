// Writes the UI script and the scene of every window of the game from one
// list, on one pattern: a root placed at the workspace centre, its child
// "gui" hosting the window's scene (the parchment frame, the title ribbon
// with its localised title; markers "init", "show", "hide", "onIdle",
// "onHide") and holding the close button and the window's named buttons,
// all from the widget atlas.
//
//     ui_gen <media folder>
//
// Writes ui/<script>.lua and scenes/<script>.xml for each window; the output is the same on every
// run. Later windows join the list.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "map_interface.h"

namespace {

constexpr int WORKSPACE_WIDTH = 1726;
constexpr int WORKSPACE_HEIGHT = 970;
constexpr int BUTTON_WIDTH = 160;
constexpr int BUTTON_HEIGHT = 48;
constexpr int BUTTON_GAP = 24;

struct Button {
    std::string id;
    std::string textKey;
};

struct Window {
    std::string script;  // resource name without "_ui"
    std::string table;
    std::string comment;
    std::string titleKey;
    int width;
    int height;
    bool closeButton;
    std::vector<Button> buttons;  // along the bottom, left to right
};

const std::vector<Window>& windows()
{
    static const std::vector<Window> list = {
        {"options_window", "OptionsWindow", "The options window, opened from the main menu.", "OPTIONS_TITLE", 560,
         400, true, {{"btnReset", "OPTIONS_RESET"}, {"btnAccept", "BUTTON_OK"}}},
        {"reset_question_window", "ResetQuestionWindow",
         "The question before the progress is reset; its accept button is held.", "RESET_QUESTION_TITLE", 520, 300,
         false, {{"btnAccept", "RESET_QUESTION_HOLD"}, {"btnReject", "BUTTON_NO"}}},
        {"facebook_message_wnd", "FacebookMessageWnd", "The social login message window.", "SOCIAL_TITLE", 520, 300,
         true, {{"btnLogout", "SOCIAL_LOGOUT"}}},
        {"buy_valuta_window", "BuyValutaWindow", "The currency shop.", "WINDOW_SHOPPING_CURRENCY_TITLE", 640, 480,
         true, {}},
        {"buy_heart_window", "BuyHeartWindow", "The heart shop, opened from the map.", "BUY_HEART_TITLE", 560, 400,
         true, {}},
        {"holiday_purchase_window", "HolidayPurchaseWindow", "The time-limited offer of the map's top panel.",
         "HOLIDAY_PURCHASE_TITLE", 600, 440, true, {}},
        {"facebook_request_wnd", "FacebookRequestWnd", "The friends' requests, opened by the map's mail button.",
         "FACEBOOK_REQUESTS_TITLE", 600, 480, true, {}},
        {"help_random_friends_wnd", "HelpRandomFriendsWnd", "The offer to help friends, shown on the map.",
         "HELP_FRIENDS_TITLE", 600, 440, true, {}},
    };
    return list;
}

std::string buttonTable(const Button& button, int x, int y, const std::string& indent)
{
    std::ostringstream out;
    out << indent << "{ id = \"" << button.id << "\", class = \"UIButton\", position = { " << x << ", " << y
        << " }, customClientRect = { 0, 0, " << BUTTON_WIDTH << ", " << BUTTON_HEIGHT << " },\n"
        << indent << "  text = \"#" << button.textKey
        << "\", fontPreset = \"font_presets_lua:button\", color = { 58, 32, 14, 255 },\n"
        << indent << "  childs = {\n"
        << indent << "      { id = \"" << button.id
        << "Idle\", class = \"UISprite\", imagename = \"widget_sprites\", tablename = \"ButtonIdle\" },\n"
        << indent << "      { id = \"" << button.id
        << "High\", class = \"UISprite\", imagename = \"widget_sprites\", tablename = \"ButtonHighlighted\" },\n"
        << indent << "  },\n"
        << indent << "  states = {\n"
        << indent << "      { id = \"onIdle\", propertyChanges = {\n"
        << indent << "          { target = \"" << button.id
        << "Idle\", property = \"transparency\", duration = 0.15, value = 1 },\n"
        << indent << "          { target = \"" << button.id
        << "High\", property = \"transparency\", duration = 0.15, value = 0 } } },\n"
        << indent << "      { id = \"onSelect\", propertyChanges = {\n"
        << indent << "          { target = \"" << button.id
        << "High\", property = \"transparency\", duration = 0.15, value = 1 } } },\n"
        << indent << "  } },\n";
    return out.str();
}

std::string script(const Window& w)
{
    const int x = (WORKSPACE_WIDTH - w.width) / 2;
    const int y = (WORKSPACE_HEIGHT - w.height) / 2;
    std::ostringstream out;
    out << "-- " << w.comment << "\n-- Written by tools/ui_gen from its window list.\n\n"
        << w.table << " = {\n"
        << "    id = \"" << w.table << "\", class = \"UIWidget\", position = { " << x << ", " << y << " },\n"
        << "    childs = {\n"
        << "        { id = \"gui\", class = \"UISceneNode\", scene = \"" << w.script << "_xml\",\n"
        << "          childs = {\n";
    if (w.closeButton) {
        out << "            { id = \"btnClose\", class = \"UIButton\", position = { " << w.width - 52
            << ", 12 }, customClientRect = { 0, 0, 40, 40 },\n"
            << "              childs = {\n"
            << "                  { id = \"btnCloseFace\", class = \"UISprite\", imagename = \"widget_sprites\", "
               "tablename = \"CloseButton\" },\n"
            << "              } },\n";
    }
    const int count = static_cast<int>(w.buttons.size());
    const int row = count * BUTTON_WIDTH + (count > 0 ? (count - 1) * BUTTON_GAP : 0);
    int bx = (w.width - row) / 2;
    for (const Button& button : w.buttons) {
        out << buttonTable(button, bx, w.height - BUTTON_HEIGHT - 36, "            ");
        bx += BUTTON_WIDTH + BUTTON_GAP;
    }
    // Shown, every piece fades in with the window.
    std::vector<std::string> pieces = {w.table, "gui"};
    if (w.closeButton) {
        pieces.push_back("btnClose");
        pieces.push_back("btnCloseFace");
    }
    for (const Button& button : w.buttons)
        pieces.push_back(button.id);
    out << "          } },\n"
        << "    },\n"
        << "    states = {\n"
        << "        { id = \"onIdle\", propertyChanges = {\n";
    for (const std::string& piece : pieces)
        out << "            { target = \"" << piece << "\", property = \"transparency\", duration = 0.25, value = 1 },\n";
    out << "        } },\n"
        << "    },\n"
        << "    initialState = \"onIdle\",\n"
        << "}\n";
    return out.str();
}

// The window's scene: the parchment frame, the title ribbon and its
// localised title about a centred origin, so that the window grows from its
// middle; "init" puts it small and clear, "show" and "hide" play it in and
// out over eight frames, "onIdle" and "onHide" are left to the window.
std::string scene(const Window& w)
{
    const float cx = float(w.width) / 2.0f;
    const float cy = float(w.height) / 2.0f;
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        << "<!-- " << w.comment << " Written by tools/ui_gen from its window list. -->\n"
        << "<Scene>\n"
        << "  <Object name=\"window\">\n"
        << "    <Parameters X=\"" << cx << "\" Y=\"" << cy
        << "\" Z=\"0\" angle=\"0\" scaleX=\"1\" scaleY=\"1\" R=\"1\" G=\"1\" B=\"1\" A=\"1\" PivotPointX=\"0\" "
           "PivotPointY=\"0\" Enable=\"1\"/>\n"
        << "    <frames loop=\"0\">\n";
    for (const auto& [frame, scale, alpha] : {std::tuple{0, "0.9", "0"}, std::tuple{8, "1", "1"}}) {
        out << "      <frame StartFrame=\"" << frame << "\"><Attributes X=\"" << cx << "\" Y=\"" << cy
            << "\" Z=\"0\" angle=\"0\" scaleX=\"" << scale << "\" scaleY=\"" << scale
            << "\" R=\"1\" G=\"1\" B=\"1\" A=\"" << alpha << "\" PivotPointX=\"0\" PivotPointY=\"0\"/></frame>\n";
    }
    out << "    </frames>\n"
        << "    <Childs>\n"
        << "      <Object type=\"Sprite\" name=\"frame\" filename=\"widget_sprites\" tablename=\"Panel\">\n"
        << "        <Parameters X=\"" << -cx << "\" Y=\"" << -cy << "\" Z=\"2\" angle=\"0\" scaleX=\""
        << float(w.width) / 420.0f << "\" scaleY=\"" << float(w.height) / 280.0f
        << "\" R=\"1\" G=\"1\" B=\"1\" A=\"1\" PivotPointX=\"0\" PivotPointY=\"0\" Enable=\"1\"/>\n"
        << "      </Object>\n"
        << "      <Object type=\"Sprite\" name=\"ribbon\" filename=\"widget_sprites\" tablename=\"TitleRibbon\">\n"
        << "        <Parameters X=\"-150\" Y=\"" << -cy - 20.0f
        << "\" Z=\"1\" angle=\"0\" scaleX=\"1\" scaleY=\"1\" R=\"1\" G=\"1\" B=\"1\" A=\"1\" PivotPointX=\"0\" "
           "PivotPointY=\"0\" Enable=\"1\"/>\n"
        << "      </Object>\n"
        << "      <Object type=\"Text\" name=\"#title\" filename=\"font2_fnt\">\n"
        << "        <Parameters X=\"-130\" Y=\"" << -cy - 16.0f
        << "\" Z=\"0\" angle=\"0\" scaleX=\"1\" scaleY=\"1\" R=\"1\" G=\"1\" B=\"1\" A=\"1\" PivotPointX=\"0\" "
           "PivotPointY=\"0\" Enable=\"1\" Text=\""
        << w.titleKey
        << "\" LocaleEnable=\"1\" TextAreaX=\"260\" TextAreaY=\"48\" MaxChar=\"-1\" AutoScale=\"1\" PixelPrec=\"1\" "
           "UsePreset=\"1\" Preset=\"title\"/>\n"
        << "      </Object>\n"
        << "    </Childs>\n"
        << "  </Object>\n"
        << "  <markers>\n";
    const char* markers[][2] = {{"init", "0\" to=\"0"}, {"show", "0\" to=\"8"}, {"hide", "8\" to=\"0"}};
    for (const auto& marker : markers)
        out << "    <marker>\n      <name>" << marker[0] << "</name>\n      <playList>\n        <entry name=\"window\" from=\""
            << marker[1] << "\"/>\n      </playList>\n    </marker>\n";
    out << "    <marker>\n      <name>onIdle</name>\n      <playList/>\n    </marker>\n"
        << "    <marker>\n      <name>onHide</name>\n      <playList/>\n    </marker>\n"
        << "  </markers>\n"
        << "</Scene>\n";
    return out.str();
}

bool writeText(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    if (!file)
        std::fprintf(stderr, "ui_gen: cannot write %s\n", path.c_str());
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ui_gen <media folder>\n");
        return 2;
    }
    const std::string media = argv[1];
    for (const Window& w : windows()) {
        if (!writeText(media + "/ui/" + w.script + ".lua", script(w)) ||
            !writeText(media + "/scenes/" + w.script + ".xml", scene(w)))
            return 1;
    }
    if (!writeText(media + "/ui/map_interface.lua", MapInterface::script()) ||
        !writeText(media + "/scenes/map_interface.xml", MapInterface::scene()))
        return 1;
    return 0;
}
