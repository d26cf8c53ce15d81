// Writes the UI script of every window of the game from one list, on one
// pattern: a root placed at the workspace centre, its child "gui" holding
// the parchment frame, the title ribbon with its localised title, the close
// button and the window's named buttons, all from the widget atlas.
//
//     ui_gen <media folder>
//
// Writes ui/<script>.lua for each window; the output is the same on every
// run. Later windows join the list.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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
        << "        { id = \"gui\", class = \"UIWidget\", size = { " << w.width << ", " << w.height << " },\n"
        << "          childs = {\n"
        << "            { id = \"frame\", class = \"UISprite\", imagename = \"widget_sprites\", tablename = \"Panel\", "
           "size = { "
        << w.width << ", " << w.height << " } },\n"
        << "            { id = \"ribbon\", class = \"UISprite\", imagename = \"widget_sprites\", tablename = "
           "\"TitleRibbon\", position = { "
        << (w.width - 300) / 2 << ", -20 } },\n"
        << "            { id = \"#title\", class = \"UILabel\", text = \"#" << w.titleKey
        << "\", fontPreset = \"font_presets_lua:title\", position = { " << (w.width - 300) / 2 + 20
        << ", -16 }, size = { 260, 48 } },\n";
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
    std::vector<std::string> pieces = {w.table, "gui", "frame", "ribbon", "#title"};
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

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ui_gen <media folder>\n");
        return 2;
    }
    const std::string media = argv[1];
    for (const Window& w : windows()) {
        const std::string path = media + "/ui/" + w.script + ".lua";
        std::ofstream file(path, std::ios::binary);
        file << script(w);
        if (!file) {
            std::fprintf(stderr, "ui_gen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
