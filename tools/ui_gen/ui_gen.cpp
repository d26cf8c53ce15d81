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

struct Window;

// What a window holds besides its frame, title and bottom buttons: scene
// objects under the window node and widgets under "gui", placed from the
// window's top-left corner.
struct Content {
    int width = 0;
    int height = 0;
    std::string scene;    // XML objects
    std::string widgets;  // Lua tables
    std::vector<std::string> fading;  // widget ids that fade in with the window
    std::string markers;  // XML markers beside the window's own
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
    // The window's own pieces; none when null.
    void (*content)(Content&) = nullptr;
};

// --- Pieces of window content ---

std::string number(float value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

// The attributes every node writes, at scene position (x, y).
std::string attributes(float x, float y, float z, float sx, float sy, float alpha, const char* rgb = "1 1 1")
{
    float r = 1, g = 1, b = 1;
    std::sscanf(rgb, "%f %f %f", &r, &g, &b);
    return "X=\"" + number(x) + "\" Y=\"" + number(y) + "\" Z=\"" + number(z) + "\" angle=\"0\" scaleX=\"" +
           number(sx) + "\" scaleY=\"" + number(sy) + "\" R=\"" + number(r) + "\" G=\"" + number(g) + "\" B=\"" +
           number(b) + "\" A=\"" + number(alpha) + "\" PivotPointX=\"0\" PivotPointY=\"0\"";
}

// A text at the window point (x, y), its area w x h; a key of the string
// tables when `localized`.
// Ink on the parchment.
const char* const INK = "0.23 0.13 0.05";

std::string textObject(const Content& c, const std::string& name, const std::string& text, bool localized, int x,
                       int y, int w, int h, const std::string& preset, const char* rgb = INK, float z = 0.0f)
{
    return "      <Object type=\"Text\" name=\"" + name + "\" filename=\"main_font_fnt\">\n        <Parameters " +
           attributes(x - c.width / 2.0f, y - c.height / 2.0f, z, 1, 1, 1, rgb) + " Enable=\"1\" Text=\"" + text +
           "\" LocaleEnable=\"" + (localized ? "1" : "0") + "\" TextAreaX=\"" + std::to_string(w) +
           "\" TextAreaY=\"" + std::to_string(h) +
           "\" MaxChar=\"-1\" AutoScale=\"1\" PixelPrec=\"1\" UsePreset=\"1\" Preset=\"" + preset +
           "\"/>\n      </Object>\n";
}

void text(Content& c, const std::string& name, const std::string& key, int x, int y, int w, int h,
          const std::string& preset = "text", const char* rgb = INK)
{
    c.scene += textObject(c, name, key, true, x, y, w, h, preset, rgb);
}

std::string spriteObject(const Content& c, const std::string& name, const std::string& image,
                         const std::string& table, float x, float y, float sx, float sy, float z, float alpha = 1.0f)
{
    return "      <Object type=\"Sprite\" name=\"" + name + "\" filename=\"" + image + "\" tablename=\"" + table +
           "\">\n        <Parameters " + attributes(x - c.width / 2.0f, y - c.height / 2.0f, z, sx, sy, alpha) +
           " Enable=\"1\"/>\n      </Object>\n";
}

void sprite(Content& c, const std::string& name, const std::string& image, const std::string& table, float x,
            float y, float scale = 1.0f, float z = 1.0f)
{
    c.scene += spriteObject(c, name, image, table, x, y, scale, scale, z);
}

// A labelled volume slider: the label at (x, y), the 220-pixel track after
// it. The bar's two key frames (0 and 24) give the track one second; the
// thumb and the fill are keyed over it and seeked by the marker "#thumbs".
// A clear strip over the track takes the presses.
void slider(Content& c, const std::string& bar, const std::string& labelKey, int x, int y)
{
    text(c, bar + "Label", labelKey, x, y + 6, 170, 36);
    const float bx = x + 190 - c.width / 2.0f;
    const float by = y + 18 - c.height / 2.0f;
    auto keyed = [](const std::string& values0, const std::string& values24) {
        return "        <frames loop=\"0\">\n          <frame StartFrame=\"0\"><Attributes " + values0 +
               "/></frame>\n          <frame StartFrame=\"24\"><Attributes " + values24 +
               "/></frame>\n        </frames>\n";
    };
    const std::string at = attributes(bx, by, 0, 1, 1, 1);
    auto piece = [](const std::string& name, const std::string& table, const std::string& values,
                    const std::string& frames) {
        return "          <Object type=\"Sprite\" name=\"" + name + "\" filename=\"widget_sprites\" tablename=\"" +
               table + "\">\n            <Parameters " + values + " Enable=\"1\"/>\n" + frames +
               "          </Object>\n";
    };
    auto local = [](float x, float y, float z, float sx, float sy, float a, float px = 0, float py = 0) {
        return "X=\"" + number(x) + "\" Y=\"" + number(y) + "\" Z=\"" + number(z) + "\" angle=\"0\" scaleX=\"" +
               number(sx) + "\" scaleY=\"" + number(sy) + "\" R=\"1\" G=\"1\" B=\"1\" A=\"" + number(a) +
               "\" PivotPointX=\"" + number(px) + "\" PivotPointY=\"" + number(py) + "\"";
    };
    c.scene += "      <Object name=\"" + bar + "\">\n        <Parameters " + at + " Enable=\"1\"/>\n" +
               keyed(at, at) + "        <Childs>\n" +
               piece("#thumb", "SliderThumb", local(-16, -16, 1, 1, 1, 1, 16, 16),
                     keyed(local(-16, -16, 1, 1, 1, 1, 16, 16), local(204, -16, 1, 1, 1, 1, 16, 16))) +
               piece("fill", "SliderFill", local(0, -7, 2, 0, 1, 1),
                     keyed(local(0, -7, 2, 0, 1, 1), local(0, -7, 2, 1, 1, 1))) +
               piece(bar.substr(1) + "Track", "SliderTrack", local(0, -7, 3, 1, 1, 1), "") +
               piece("hit", "SliderTrack", local(-16, -21, 4, 252.0f / 220.0f, 3, 0), "") +
               "        </Childs>\n        <markers>\n          <marker>\n            <name>#thumbs</name>\n"
               "            <playList>\n              <entry name=\"#thumb\" from=\"0\" to=\"24\"/>\n"
               "              <entry name=\"fill\" from=\"0\" to=\"24\"/>\n            </playList>\n"
               "          </marker>\n        </markers>\n      </Object>\n";
}

// A labelled check box widget at (x, y); the tick is its indicator.
void checkBox(Content& c, const std::string& id, const std::string& labelKey, int x, int y)
{
    text(c, id + "Label", labelKey, x + 44, y - 2, 300, 36);
    c.widgets += "            { id = \"" + id + "\", class = \"UICheckBox\", position = { " + std::to_string(x) + ", " +
                 std::to_string(y) + " }, thumb = \"" + id + "Tick\",\n              childs = {\n"
                 "                  { id = \"" + id + "Face\", class = \"UISprite\", imagename = \"widget_sprites\", "
                 "tablename = \"CheckBox\" },\n"
                 "                  { id = \"" + id + "Tick\", class = \"UISprite\", imagename = \"widget_sprites\", "
                 "tablename = \"CheckTick\" },\n              } },\n";
    c.fading.push_back(id);
    c.fading.push_back(id + "Face");
    c.fading.push_back(id + "Tick");
}

// A button drawn by the scene alone, for code that watches the node itself
// (a press held on it): the button face and its text at (x, y).
void sceneButton(Content& c, const std::string& name, const std::string& key, int x, int y,
                 std::string textName = "")
{
    if (textName.empty())
        textName = name + "Text";
    const float sx = x - c.width / 2.0f;
    const float sy = y - c.height / 2.0f;
    c.scene += "      <Object name=\"" + name + "\">\n        <Parameters " + attributes(sx, sy, 0, 1, 1, 1) +
               " Enable=\"1\"/>\n        <Childs>\n"
               "          <Object type=\"Sprite\" name=\"" + name + "Face\" filename=\"widget_sprites\" "
               "tablename=\"ButtonIdle\">\n            <Parameters " + attributes(0, 0, 1, 1, 1, 1) +
               " Enable=\"1\"/>\n          </Object>\n"
               "          <Object type=\"Text\" name=\"" + textName + "\" filename=\"main_font_fnt\">\n"
               "            <Parameters " + attributes(0, 0, 0, 1, 1, 1, "0.23 0.13 0.05") + " Enable=\"1\" Text=\"" + key +
               "\" LocaleEnable=\"1\" TextAreaX=\"160\" TextAreaY=\"48\" MaxChar=\"-1\" AutoScale=\"1\" "
               "PixelPrec=\"1\" UsePreset=\"1\" Preset=\"button\"/>\n"
               "          </Object>\n        </Childs>\n      </Object>\n";
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

Content contentOf(const Window& w)
{
    Content c{w.width, w.height, "", "", {}};
    if (w.content)
        w.content(c);
    return c;
}

std::string script(const Window& w)
{
    const Content content = contentOf(w);
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
    out << content.widgets;
    // Shown, every piece fades in with the window.
    std::vector<std::string> pieces = {w.table, "gui"};
    if (w.closeButton) {
        pieces.push_back("btnClose");
        pieces.push_back("btnCloseFace");
    }
    for (const Button& button : w.buttons)
        pieces.push_back(button.id);
    pieces.insert(pieces.end(), content.fading.begin(), content.fading.end());
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
    const Content content = contentOf(w);
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
        << "      <Object type=\"Sprite\" name=\"frame\" filename=\"dialogs_sprites\" tablename=\"ParchmentPanel\">\n"
        << "        <Parameters X=\"" << -cx << "\" Y=\"" << -cy << "\" Z=\"10\" angle=\"0\" scaleX=\""
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
        << content.scene
        << "    </Childs>\n"
        << "  </Object>\n"
        << "  <markers>\n";
    const char* markers[][2] = {{"init", "0\" to=\"0"}, {"show", "0\" to=\"8"}, {"hide", "8\" to=\"0"}};
    for (const auto& marker : markers)
        out << "    <marker>\n      <name>" << marker[0] << "</name>\n      <playList>\n        <entry name=\"window\" from=\""
            << marker[1] << "\"/>\n      </playList>\n    </marker>\n";
    out << "    <marker>\n      <name>onIdle</name>\n      <playList/>\n    </marker>\n"
        << "    <marker>\n      <name>onHide</name>\n      <playList/>\n    </marker>\n"
        << content.markers << "  </markers>\n"
        << "</Scene>\n";
    return out.str();
}


// A widget button at the window point (x, y).
void widgetButton(Content& c, const std::string& id, const std::string& key, int x, int y)
{
    c.widgets += buttonTable({id, key}, x, y, "            ");
    c.fading.push_back(id);
}

// The two volume sliders of the menus, from the window point (x, y).
void volumeSliders(Content& c, int x, int y)
{
    slider(c, "#musicBar", "OPTIONS_MUSIC", x, y);
    slider(c, "#soundBar", "OPTIONS_SOUND", x, y + 60);
}

void exitQuestion(Content& c)
{
    text(c, "#question", "EXIT_QUESTION_TEXT", 50, 90, c.width - 100, 110);
}

void confirmExitLevel(Content& c)
{
    text(c, "#question", "CONFIRM_EXIT_LEVEL_TEXT", 50, 90, c.width - 100, 110);
}

void options(Content& c)
{
    volumeSliders(c, 70, 76);
    checkBox(c, "checkFullScreen", "OPTIONS_FULLSCREEN", 78, 212);
    checkBox(c, "checkGameCursor", "OPTIONS_GAME_CURSOR", 78, 260);
    // The social login button; the window keeps it off in this build.
    sceneButton(c, "facebook_btn", "FACEBOOK_BTN_TEXT_CONNECT", c.width - 220, 216, "#facebook_btn_text");
}

void resetQuestion(Content& c)
{
    text(c, "#question", "RESET_QUESTION_TEXT", 50, 84, c.width - 100, 110);
    const int row = 2 * BUTTON_WIDTH + BUTTON_GAP;
    const int x = (c.width - row) / 2;
    const int y = c.height - BUTTON_HEIGHT - 36;
    sceneButton(c, "btnAccept", "RESET_QUESTION_HOLD", x, y);
    c.scene += textObject(c, "#timer", "3", false, x, y - 56, BUTTON_WIDTH, 48, "counter", "0.75 0.35 0.05");
    widgetButton(c, "btnReject", "BUTTON_NO", x + BUTTON_WIDTH + BUTTON_GAP, y);
}

void menu(Content& c)
{
    volumeSliders(c, 90, 100);
}

void help(Content& c)
{
    const char* rows[][3] = {{"HELP_SWAP", "gem_R", "gem_B"},
                             {"HELP_SPECIAL", "bomb_G", "wave_hor_Y"},
                             {"HELP_GOALS", "star_R", ""}};
    int y = 84;
    for (const auto& row : rows) {
        sprite(c, std::string(row[0]) + "_a", "chips_sprites", row[1], 56, y, 0.8f);
        if (row[2][0])
            sprite(c, std::string(row[0]) + "_b", "chips_sprites", row[2], 116, y, 0.8f);
        text(c, std::string("#") + row[0], row[0], 200, y - 6, c.width - 250, 84);
        y += 120;
    }
}

void authors(Content& c)
{
    text(c, "#credits", "AUTHORS_TEXT", 60, 84, c.width - 120, c.height - 200);
}

void everydayBonus(Content& c)
{
    text(c, "#intro", "EVERYDAY_BONUS_TEXT", 50, 76, c.width - 100, 50);
    for (int d = 1; d <= 5; ++d) {
        const int x = 40 + (d - 1) * 136;
        const std::string day = "#day_" + std::to_string(d);
        const float sx = x - c.width / 2.0f;
        const float sy = 140 - c.height / 2.0f;
        Content inner{128, 150, "", "", {}};
        // Inside the day the points are the day's own, from its corner.
        auto at = [&](int px, int py) { return std::pair<int, int>{px + 64, py + 75}; };
        std::string children;
        children += spriteObject(inner, day + "_card", "widget_sprites", "ContentRow", at(0, 0).first,
                                 at(0, 0).second, 128.0f / 220.0f, 150.0f / 32.0f, 3);
        children += textObject(inner, day + "_title", "EVERYDAY_BONUS_DAY_" + std::to_string(d), true, at(0, 6).first,
                               at(0, 6).second, 128, 30, "button");
        children += spriteObject(inner, day + "_silver", "dialogs_sprites", "SilverCoin", at(12, 44).first,
                                 at(12, 44).second, 0.5f, 0.5f, 1);
        children += textObject(inner, "#amount_s", "0", false, at(52, 44).first, at(52, 44).second, 70, 40, "counter",
                               "0.35 0.35 0.42");
        // Only the fifth day gives gold as well (the store's table).
        if (d == 5)
            children += spriteObject(inner, day + "_gold", "dialogs_sprites", "GoldCoin", at(12, 92).first,
                                     at(12, 92).second, 0.5f, 0.5f, 1);
        children += textObject(inner, "#amount_g", "", false, at(52, 92).first, at(52, 92).second, 70, 40, "counter",
                               "0.7 0.45 0.05");
        c.scene += "      <Object name=\"" + day + "\">\n        <Parameters " + attributes(sx, sy, 0, 1, 1, 1) +
                   " Enable=\"1\"/>\n        <Childs>\n" + children + "        </Childs>\n      </Object>\n";
    }
}

void blockerMessage(Content& c)
{
    text(c, "#message", "BLOCKER_TEXT", 50, 90, c.width - 100, 110);
}

// The friends' side and bottom panels of a level window (below).
void friendPanels(Content& c, bool ownMarkers);

// The level's number, its goals (icon and text, filled by the game) or its
// score target in place of them.
void playLevel(Content& c)
{
    c.scene += textObject(c, "#levelNum", "", false, 50, 70, c.width - 100, 50, "button", "0.45 0.22 0.05");
    c.scene += textObject(c, "#score_target_text", "", false, 50, 150, c.width - 100, 60, "text");
    for (int i = 1; i <= 2; ++i) {
        Content inner{c.width - 100, 70, "", "", {}};
        const int y = 130 + (i - 1) * 80;
        std::string children;
        children += spriteObject(inner, "#icon", "targets_sprites", "s_walls_ui_p_psd", 40, 35, 0.7f, 0.7f, 1);
        children += textObject(inner, "#text", "", false, 115, 35, inner.width - 125, 50, "text");
        c.scene += "      <Object name=\"#target" + std::to_string(i) + "\">\n        <Parameters " +
                   attributes(50 + inner.width / 2.0f - c.width / 2.0f, y + 35 - c.height / 2.0f, 0, 1, 1, 1) +
                   " Enable=\"0\"/>\n        <Childs>\n" + children + "        </Childs>\n      </Object>\n";
    }
    friendPanels(c, true);
}

// --- The level result windows ---

// A marker playing each (node, from, to) of `entries`; none plays nothing.
void marker(Content& c, const std::string& name, const std::vector<std::tuple<std::string, int, int>>& entries)
{
    c.markers += "    <marker>\n      <name>" + name + "</name>\n      <playList>\n";
    for (const auto& [node, from, to] : entries)
        c.markers += "        <entry name=\"" + node + "\" from=\"" + std::to_string(from) + "\" to=\"" +
                     std::to_string(to) + "\"/>\n";
    c.markers += "      </playList>\n    </marker>\n";
}

// A sprite keyed from (a0, s0), held until frame `delay`, to (a1, s1) at
// frame `end`, scaled about its middle (`half` pixels in); shown as at
// frame 0 until played.
void keyedSprite(Content& c, const std::string& name, const std::string& image, const std::string& table, float x,
                 float y, float half, float s0, float a0, float s1, float a1, int end, float z, int delay = 0)
{
    auto at = [&](float s, float a) {
        return "X=\"" + number(x - c.width / 2.0f) + "\" Y=\"" + number(y - c.height / 2.0f) + "\" Z=\"" +
               number(z) + "\" angle=\"0\" scaleX=\"" + number(s) + "\" scaleY=\"" + number(s) +
               "\" R=\"1\" G=\"1\" B=\"1\" A=\"" + number(a) + "\" PivotPointX=\"" + number(half) +
               "\" PivotPointY=\"" + number(half) + "\"";
    };
    c.scene += "      <Object type=\"Sprite\" name=\"" + name + "\" filename=\"" + image + "\" tablename=\"" + table +
               "\">\n        <Parameters " + at(s0, a0) + " Enable=\"1\"/>\n        <frames loop=\"0\">\n" +
               "          <frame StartFrame=\"0\"><Attributes " + at(s0, a0) + "/></frame>\n" +
               (delay > 0 ? "          <frame StartFrame=\"" + std::to_string(delay) + "\"><Attributes " +
                                at(s0, a0) + "/></frame>\n"
                          : std::string()) +
               "          <frame StartFrame=\"" + std::to_string(end) + "\"><Attributes " + at(s1, a1) +
               "/></frame>\n        </frames>\n      </Object>\n";
}

// The level's title, a row of three star slots ("stars0" plays the row in
// dim; "stars<n>" lights the first n one after the other) and the empty
// friend panels' markers.
void resultHeader(Content& c, bool lit)
{
    constexpr int STAR_DELAY = 8;
    c.scene += textObject(c, "#levelNum", "", false, 60, 40, c.width - 120, 44, "counter", INK);
    const float scale = 1.6f;
    const float size = 48 * scale;
    std::vector<std::tuple<std::string, int, int>> row;
    for (int i = 0; i < 3; ++i) {
        const float x = c.width / 2.0f + (i - 1) * 110.0f - size / 2.0f;
        const float y = (i == 1 ? 98.0f : 114.0f);
        keyedSprite(c, "slot" + std::to_string(i + 1), "map_sprites", "StarDim", x, y, 24, 1.2f * scale, 0, scale, 1,
                    8, 2);
        row.emplace_back("slot" + std::to_string(i + 1), 0, 8);
        if (lit)
            keyedSprite(c, "star" + std::to_string(i + 1), "map_sprites", "Star", x, y, 24, 2.2f * scale, 0, scale,
                        1, STAR_DELAY * i + 10, 1, STAR_DELAY * i);
    }
    marker(c, "stars0", row);
    if (lit) {
        for (int n = 1; n <= 3; ++n) {
            std::vector<std::tuple<std::string, int, int>> stars = row;
            // Each star waits for the one before it: its first key is
            // held for a while.
            for (int i = 0; i < n; ++i)
                stars.emplace_back("star" + std::to_string(i + 1), 0, STAR_DELAY * i + 10);
            marker(c, "stars" + std::to_string(n), stars);
        }
    }
    marker(c, "leftPanel", {});
    marker(c, "bottomPanel", {});
}

void winLevel(Content& c)
{
    resultHeader(c, true);
    text(c, "#scoreLabel", "WIN_SCORE", 90, 204, 220, 44);
    c.scene += textObject(c, "#score", "0", false, 320, 204, 220, 44, "counter", "0.55 0.3 0.05");
    sprite(c, "coin", "dialogs_sprites", "SilverCoin", 220, 250, 0.6f);
    c.scene += textObject(c, "#money", "0", false, 320, 254, 220, 44, "counter", "0.35 0.35 0.42");
    // Six bursts about the coin, played in turn as the coins count up.
    const int count = 6;
    for (int i = 0; i < count; ++i) {
        const float dx = (i % 3) * 16.0f - 16.0f;
        const float dy = (i / 3) * 20.0f - 10.0f;
        keyedSprite(c, "silverBurst" + std::to_string(i), "fx_sprites", "Sparkle", 212 + dx, 242 + dy, 32, 0.5f, 1,
                    1.4f, 0, 8, 0);
        marker(c, "silverEffect[" + std::to_string(i) + "]", {{"silverBurst" + std::to_string(i), 0, 8}});
    }
    marker(c, "#effectCount:" + std::to_string(count), {});
    friendPanels(c, false);
}

void failLevel(Content& c)
{
    resultHeader(c, false);
    c.scene += textObject(c, "#score", "", false, 60, 214, c.width - 120, 48, "counter", "0.55 0.3 0.05");
    friendPanels(c, false);
}

const std::vector<Window>& windows()
{
    static const std::vector<Window> list = {
        {"options_window", "OptionsWindow", "The options window, opened from the main menu.", "OPTIONS_TITLE", 600,
         420, true, {{"btnReset", "OPTIONS_RESET"}, {"btnAccept", "BUTTON_OK"}}, options},
        {"reset_question_window", "ResetQuestionWindow",
         "The question before the progress is reset; its accept button is held.", "RESET_QUESTION_TITLE", 520, 320,
         false, {}, resetQuestion},
        {"buy_valuta_window", "BuyValutaWindow", "The currency shop.", "WINDOW_SHOPPING_CURRENCY_TITLE", 640, 480,
         true, {}},
        {"exit_question_window", "ExitQuestionWindow", "The question before the game ends.", "EXIT_QUESTION_TITLE",
         520, 300, false, {{"btnAccept", "BUTTON_YES"}, {"btnReject", "BUTTON_NO"}}, exitQuestion},
        {"ingame_menu", "InGameMenu", "The in-level menu.", "INGAME_MENU_TITLE", 600, 360, true,
         {{"btnHelp", "MENU_HELP"}, {"btnMap", "INGAME_MENU_MAP"}, {"btnAccept", "BUTTON_OK"}}, menu},
        {"confirm_exit_level_window", "ConfirmExitLevelWindow", "The question before a level is left.",
         "CONFIRM_EXIT_LEVEL_TITLE", 520, 300, false, {{"btnAccept", "BUTTON_YES"}, {"btnReject", "BUTTON_NO"}},
         confirmExitLevel},
        {"map_menu", "MapMenu", "The map's menu.", "MAP_MENU_TITLE", 600, 360, true,
         {{"btnHelp", "MENU_HELP"}, {"btnMainMenu", "MAP_MENU_MAIN_MENU"}, {"btnAccept", "BUTTON_OK"}}, menu},
        {"help_window", "HelpWindow", "The help page: swapping, special chips and goals.", "HELP_TITLE", 720, 500,
         true, {}, help},
        {"authors_window", "AuthorsWindow", "The credits.", "AUTHORS_TITLE", 600, 420, true, {}, authors},
        {"everyday_bonus_window", "EverydayBonusWindow", "The everyday gifts of five days.", "EVERYDAY_BONUS_TITLE",
         760, 400, false, {{"btnOk", "BUTTON_OK"}}, everydayBonus},
        {"blocker_message_window", "BlockerMessageWindow", "The message on a closed way of the map.", "BLOCKER_TITLE",
         560, 320, true, {{"btnBuyStars", "BLOCKER_BUY_STARS"}}, blockerMessage},
        {"win_level_window", "WinLevelWindow", "The won level's window.", "WIN_TITLE", 640, 400, true,
         {{"btnNext", "WIN_NEXT"}}, winLevel},
        {"fail_level_window", "FailLevelWindow", "The lost level's window.", "FAIL_TITLE", 640, 400, true,
         {{"btnReplay", "FAIL_REPLAY"}}, failLevel},
        {"play_level_window", "PlayLevelWindow", "The level start window.", "PLAY_LEVEL_TITLE", 600, 380, true,
         {{"btnPlay", "PLAY_LEVEL_PLAY"}}, playLevel},
        {"buy_heart_window", "BuyHeartWindow", "The heart shop, opened from the map.", "BUY_HEART_TITLE", 560, 400,
         true, {}},
        {"holiday_purchase_window", "HolidayPurchaseWindow", "The time-limited offer of the map's top panel.",
         "HOLIDAY_PURCHASE_TITLE", 600, 440, true, {}},
        {"help_random_friends_wnd", "HelpRandomFriendsWnd", "The offer to help friends, shown on the map.",
         "HELP_FRIENDS_TITLE", 600, 440, true, {}},
    };
    return list;
}

bool writeText(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    if (!file)
        std::fprintf(stderr, "ui_gen: cannot write %s\n", path.c_str());
    return static_cast<bool>(file);
}

// --- The social windows and rows ---

// A group node at the window point (x, y) holding `children`; `extra` is
// anything after the children (markers).
std::string groupObject(const Content& c, const std::string& name, float x, float y, float z,
                        const std::string& children, bool enabled = true, const std::string& extra = "")
{
    return "      <Object name=\"" + name + "\">\n        <Parameters " +
           attributes(x - c.width / 2.0f, y - c.height / 2.0f, z, 1, 1, 1) + " Enable=\"" + (enabled ? "1" : "0") +
           "\"/>\n        <Childs>\n" + children + "        </Childs>\n" + extra + "      </Object>\n";
}

// Markers inside an object, each playing nothing: the states a list row's
// button passes through.
std::string emptyMarkers(const std::vector<std::string>& names)
{
    std::string out = "        <markers>\n";
    for (const std::string& name : names)
        out += "          <marker>\n            <name>" + name + "</name>\n            <playList/>\n          </marker>\n";
    return out + "        </markers>\n";
}

std::string rowButtonMarkers()
{
    std::vector<std::string> names;
    for (const char* from : {"regular", "select", "pressed"}) {
        names.emplace_back(from);
        for (const char* to : {"regular", "select", "pressed"})
            if (std::string(from) != to)
                names.push_back(std::string(from) + ">" + to);
    }
    return emptyMarkers(names);
}

// A scene list's node: the visible window "#mask" (w x h; a group is 64
// units at scale 1) and the moving "#list", with the states the list's
// widget may name.
std::string listNode(const Content& c, const std::string& name, int x, int y, int w, int h, int indent)
{
    const Content inner{0, 0, "", "", {}};
    std::string children = "      <Object name=\"#mask\">\n        <Parameters " +
                           attributes(0, 0, 0, w / 64.0f, h / 64.0f, 1) +
                           " Enable=\"1\"/>\n      </Object>\n"
                           "      <Object name=\"#list\">\n        <Parameters " +
                           attributes(0, 0, 0, 1, 1, 1) + " Enable=\"1\"/>\n" +
                           emptyMarkers({"#indent:" + std::to_string(indent)}) + "      </Object>\n";
    (void)inner;
    return groupObject(c, name, x, y, 2, children, true, emptyMarkers({"onIdle", "onHide"}));
}

std::string listWidget(const std::string& id, const std::string& node, int x, int y, int w, int h, bool vertical)
{
    return "            { id = \"" + id + "\", class = \"UISceneList\", scene = \"@parent/window/" + node +
           "\", orient = \"" + (vertical ? "ver" : "hor") + "\", position = { " + std::to_string(x) + ", " +
           std::to_string(y) + " }, customClientRect = { 0, 0, " + std::to_string(w) + ", " + std::to_string(h) +
           " } },\n";
}

// The select-all mark beside the first bottom button: a box and its tick
// "#thumb", off until the window finds every row marked.
void selectAllMark(Content& c)
{
    const int row = 2 * BUTTON_WIDTH + BUTTON_GAP;
    const int x = (c.width - row) / 2 - 44;
    const int y = c.height - BUTTON_HEIGHT - 36 + 8;
    sprite(c, "thumbBox", "widget_sprites", "CheckBox", x, y, 1.0f, 2);
    std::string tick = spriteObject(Content{0, 0, "", "", {}}, "thumbTick", "widget_sprites", "CheckTick", 0, 0, 1,
                                    1, 1);
    tick.replace(tick.find("Enable=\"1\""), 10, "Enable=\"0\"");
    c.scene += groupObject(c, "#thumb", x, y, 1, tick, false);
}

// The letter-paper body of the two request windows: the intro, the list of
// rows and the select-all mark.
void letterList(Content& c, const std::string& introKey)
{
    // A faint ruled sheet behind the rows, as on writing paper.
    c.scene += spriteObject(c, "sheet", "social_sprites", "LetterSheet", 30, 100, (c.width - 60) / 256.0f,
                            (c.height - 220) / 256.0f, 5);
    text(c, "#intro", introKey, 40, 58, c.width - 80, 40);
    const int w = c.width - 80;
    const int h = c.height - 240;
    c.scene += listNode(c, "requestsList", 40, 112, w, h, 6);
    c.widgets += listWidget("requests_list", "requestsList", 40, 112, w, h, true);
    c.fading.push_back("requests_list");
    selectAllMark(c);
}

void requestsWindow(Content& c)
{
    letterList(c, "REQUESTS_TEXT");
}

void helpFriendsWindow(Content& c)
{
    letterList(c, "HELP_FRIENDS_TEXT");
}

// A text of a mode of the message window, centred under its picture.
std::string modeText(const std::string& name, const std::string& key, int y)
{
    const Content inner{0, 0, "", "", {}};
    return textObject(inner, name, key, true, -220, y, 440, 60, "button");
}

// One mode of the message window: a group about the window's middle.
std::string modeGroup(const Content& c, const std::string& name, const std::string& children)
{
    return groupObject(c, name, c.width / 2.0f, 120, 0, children, false);
}

// A lantern swinging on its hook while the friends are being reached.
std::string swingingLantern()
{
    auto at = [](float degrees, float alpha) {
        return "X=\"-32\" Y=\"-70\" Z=\"1\" angle=\"" + number(degrees) +
               "\" scaleX=\"1\" scaleY=\"1\" R=\"1\" G=\"1\" B=\"1\" A=\"" + number(alpha) +
               "\" PivotPointX=\"32\" PivotPointY=\"0\"";
    };
    return "      <Object type=\"Sprite\" name=\"lantern\" filename=\"social_sprites\" tablename=\"Lantern\">\n"
           "        <Parameters " + at(-12, 1) + " Enable=\"1\"/>\n        <frames loop=\"1\">\n"
           "          <frame StartFrame=\"0\"><Attributes " + at(-12, 1) + "/></frame>\n"
           "          <frame StartFrame=\"14\"><Attributes " + at(12, 1) + "/></frame>\n"
           "          <frame StartFrame=\"28\"><Attributes " + at(-12, 1) + "/></frame>\n"
           "        </frames>\n      </Object>\n";
}

void messageWindow(Content& c)
{
    const Content inner{0, 0, "", "", {}};
    c.scene += modeGroup(c, "wait_mode", swingingLantern() + modeText("#waitText", "SOCIAL_CONNECTING", 40));
    std::string faces;
    for (int i = 0; i < 3; ++i) {
        const float x = -136.0f + i * 100.0f;
        faces += spriteObject(inner, "face" + std::to_string(i), "social_sprites", "Portrait", x, -60, 1, 1, 2);
        faces += spriteObject(inner, "ring" + std::to_string(i), "social_sprites", "PhotoFrame", x - 4, -64, 1, 1,
                              1);
    }
    c.scene += modeGroup(c, "success_mode", faces + modeText("#successText", "SOCIAL_SUCCESS", 40));
    c.scene += modeGroup(c, "failed_mode", modeText("#failedText", "SOCIAL_FAILED", -10));
    c.scene += modeGroup(c, "close_connection_question", modeText("#questionText", "SOCIAL_LOGOUT_QUESTION", -40));
    c.scene += modeGroup(c, "connection_closed", modeText("#closedText", "SOCIAL_CLOSED", -10));
    const int x = (c.width - BUTTON_WIDTH) / 2;
    const int y = c.height - BUTTON_HEIGHT - 36;
    c.widgets += "            { id = \"btn_close\", class = \"UIWidget\", position = { " + std::to_string(x) + ", " +
                 std::to_string(y) + " },\n              childs = {\n" +
                 buttonTable({"btnClose", "BUTTON_OK"}, 0, 0, "                  ") + "              } },\n";
    c.fading.insert(c.fading.end(), {"btn_close", "btnClose"});
    widgetButton(c, "btnLogout", "SOCIAL_LOGOUT", x, y - BUTTON_HEIGHT - 16);
}

void friendPassedWindow(Content& c)
{
    text(c, "#passedText", "FRIEND_PASSED_TEXT", 40, 56, c.width - 80, 44);
    const Content inner{0, 0, "", "", {}};
    const char* sides[][3] = {{"#user_photo", "#user_score", "FRIEND_PASSED_YOU"},
                              {"#leader_photo", "#leader_score", "FRIEND_PASSED_FRIEND"}};
    for (int i = 0; i < 2; ++i) {
        const int x = i == 0 ? 110 : c.width - 230;
        const std::string side = i == 0 ? "user" : "leader";
        c.scene += spriteObject(c, sides[i][0], "social_sprites", "PhotoBlank", x + 12, 122, 1.5f, 1.5f, 2);
        c.scene += spriteObject(c, side + "Frame", "social_sprites", "PhotoFrame", x + 6, 116, 1.5f, 1.5f, 1);
        text(c, side + "Label", sides[i][2], x - 20, 238, 160, 36, "button");
        c.scene += textObject(c, sides[i][1], "0", false, x - 20, 270, 160, 44, "counter", "0.55 0.3 0.05");
    }
    sprite(c, "passArrow", "social_sprites", "PassArrow", c.width / 2.0f - 32, 140, 1.0f, 2);
}

// --- The rows ---

// A list row's scene: its objects from the row's top-left corner, its size
// marker and any markers of its own.
std::string rowScene(const std::string& comment, const std::string& objects, int w, int h,
                     const std::string& markers = "")
{
    // A list draws its rows a ninth larger than the window around them:
    // the row is drawn at nine tenths to sit in the window's measure.
    const std::string row = "  <Object name=\"row\">\n    <Parameters " + attributes(0, 0, 0, 0.9f, 0.9f, 1) +
                            " Enable=\"1\"/>\n    <Childs>\n" + objects + "    </Childs>\n  </Object>\n";
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- " + comment +
           " Written by tools/ui_gen. -->\n<Scene>\n" + row + "  <markers>\n    <marker>\n      <name>#size:" +
           std::to_string(w) + "/" + std::to_string(h) + "</name>\n      <playList/>\n    </marker>\n" + markers +
           "  </markers>\n</Scene>\n";
}

// A portrait in its brass ring; the photo node is "#photo".
std::string rowPortrait(int x, int y, float scale)
{
    const Content inner{0, 0, "", "", {}};
    return spriteObject(inner, "#photo", "social_sprites", "PhotoBlank", x + 4 * scale, y + 4 * scale, scale, scale,
                        3) +
           spriteObject(inner, "photoFrame", "social_sprites", "PhotoFrame", x, y, scale, scale, 2);
}

// A tick on its own node, "#check".
std::string rowCheck(const std::string& name, int x, int y, bool withBox)
{
    const Content inner{0, 0, "", "", {}};
    std::string out;
    if (withBox)
        out += spriteObject(inner, name.substr(1) + "Box", "widget_sprites", "CheckBox", x, y, 1, 1, 3);
    out += "      <Object name=\"" + name + "\">\n        <Parameters " + attributes(x, y, 1, 1, 1, 1) +
           " Enable=\"1\"/>\n        <Childs>\n" +
           spriteObject(inner, name.substr(1) + "Tick", "widget_sprites", "CheckTick", 0, 0, 1, 1, 1) +
           "        </Childs>\n      </Object>\n";
    return out;
}

// Every element of a list row passes through the button states with its
// row: the object gets their markers.
std::string withRowMarkers(const std::string& object)
{
    const std::string close = "      </Object>\n";
    const size_t end = object.rfind(close);
    return object.substr(0, end) + rowButtonMarkers() + close;
}

std::string requestItem()
{
    const Content inner{0, 0, "", "", {}};
    const int w = 500, h = 88;
    std::string objects;
    objects += "      <Object type=\"Sprite\" name=\"#btn:row\" filename=\"widget_sprites\" tablename=\"ContentRow\">\n"
               "        <Parameters " + attributes(0, 0, 6, w / 220.0f, (h - 6) / 32.0f, 1) + " Enable=\"1\"/>\n" +
               rowButtonMarkers() + "      </Object>\n";
    objects += rowPortrait(10, 5, 1.0f);
    objects += withRowMarkers(textObject(inner, "#text:title", "", true, 92, 8, 290, 32, "text", "0.5 0.24 0.04"));
    objects += withRowMarkers(textObject(inner, "#text:text", "", false, 92, 40, 290, 36, "text"));
    objects += withRowMarkers(spriteObject(inner, "#icon:icon", "social_sprites", "Gift", 384, 12, 1, 1, 3));
    objects += rowCheck("#check", 452, 26, true);
    return rowScene("A friend's request or a friend to ask: photo, title, text, gift and mark; the whole row is "
                    "its button.",
                    objects, w, h);
}

// A friend's card: the side panel's is a wide strip, the bottom panel's a
// standing card. The leader's card wears a gold crown.
std::string userItem(bool side)
{
    const Content inner{0, 0, "", "", {}};
    const int w = side ? 150 : 110, h = side ? 74 : 120;
    std::string objects;
    objects += "      <Object type=\"Sprite\" name=\"#btn:card\" filename=\"widget_sprites\" tablename=\"ContentRow\">\n"
               "        <Parameters " + attributes(0, 0, 6, (w - 4) / 220.0f, (h - 4) / 32.0f, 1) +
               " Enable=\"1\"/>\n" + rowButtonMarkers() + "      </Object>\n";
    const int px = side ? 6 : 23, py = side ? 5 : 6;
    objects += rowPortrait(px, py, 0.9f);
    objects += "      <Object type=\"Sprite\" name=\"crown\" filename=\"social_sprites\" tablename=\"Crown\">\n"
               "        <Parameters " + attributes(px + 18, py - 14, 1, 0.6f, 0.6f, 0) +
               " Enable=\"1\"/>\n        <frames loop=\"0\">\n"
               "          <frame StartFrame=\"0\"><Attributes " + attributes(px + 18, py - 14, 1, 0.6f, 0.6f, 0) +
               "/></frame>\n          <frame StartFrame=\"8\"><Attributes " +
               attributes(px + 18, py - 14, 1, 0.6f, 0.6f, 1) + "/></frame>\n        </frames>\n      </Object>\n";
    const int tx = side ? 72 : 4, ty = side ? 4 : 68;
    objects += withRowMarkers(textObject(inner, "#text:name", "", false, tx, ty, side ? 74 : 102, 26, "text"));
    objects += withRowMarkers(
        textObject(inner, "#text:score", "0", false, tx, ty + 24, side ? 50 : 70, 26, "text", "0.55 0.3 0.05"));
    const int hx = side ? 124 : 80, hy = side ? 40 : 88;
    objects += "      <Object name=\"#heart\">\n        <Parameters " + attributes(hx, hy, 1, 1, 1, 1) +
               " Enable=\"1\"/>\n        <Childs>\n" +
               spriteObject(inner, "heartIcon", "map_sprites", "HeartIcon", 0, 0, 0.45f, 0.45f, 1) +
               "        </Childs>\n      </Object>\n";
    objects += rowCheck("#check", hx - 4, hy - 4, false);
    const std::string markers =
        "    <marker>\n      <name>leader</name>\n      <playList>\n        <entry name=\"crown\" from=\"0\" "
        "to=\"8\"/>\n      </playList>\n    </marker>\n"
        "    <marker>\n      <name>not_leader</name>\n      <playList>\n        <entry name=\"crown\" from=\"0\" "
        "to=\"0\"/>\n      </playList>\n    </marker>\n";
    return rowScene(side ? "A friend's card in a level window's side panel."
                         : "A friend's card in a level window's bottom panel.",
                    objects, w, h, markers);
}

// The login lantern in the screen's top right corner: hidden, glowing
// while it waits, bright on success, dim and red on failure.
std::string loadingLantern()
{
    auto at = [](float alpha, const char* rgb) {
        float r = 1, g = 1, b = 1;
        std::sscanf(rgb, "%f %f %f", &r, &g, &b);
        return "X=\"" + number(WORKSPACE_WIDTH - 96.0f) + "\" Y=\"24\" Z=\"0\" angle=\"0\" scaleX=\"0.8\" "
               "scaleY=\"0.8\" R=\"" + number(r) + "\" G=\"" + number(g) + "\" B=\"" + number(b) + "\" A=\"" +
               number(alpha) + "\" PivotPointX=\"0\" PivotPointY=\"0\"";
    };
    std::string frames;
    const std::tuple<int, float, const char*> keys[] = {{0, 0, "1 1 1"},     {10, 1, "1 1 1"}, {20, 0.55f, "1 1 1"},
                                                        {30, 1, "1 1 1"},    {40, 1, "1 1 1"}, {60, 0, "1 1 1"},
                                                        {70, 1, "1 0.5 0.45"}, {80, 0.7f, "1 0.5 0.45"}};
    for (const auto& [frame, alpha, rgb] : keys)
        frames += "          <frame StartFrame=\"" + std::to_string(frame) + "\"><Attributes " + at(alpha, rgb) +
                  "/></frame>\n";
    auto entry = [](const char* name, int from, int to) {
        return "    <marker>\n      <name>" + std::string(name) + "</name>\n      <playList>\n        <entry "
               "name=\"fbLantern\" from=\"" + std::to_string(from) + "\" to=\"" + std::to_string(to) +
               "\"/>\n      </playList>\n    </marker>\n";
    };
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- The friends' login lantern of the screen's corner. "
           "Written by tools/ui_gen. -->\n<Scene>\n"
           "  <Object type=\"Sprite\" name=\"fbLantern\" filename=\"social_sprites\" tablename=\"Lantern\">\n"
           "    <Parameters " + at(0, "1 1 1") + " Enable=\"1\"/>\n    <frames loop=\"0\">\n" + frames +
           "    </frames>\n  </Object>\n  <markers>\n" + entry("hide", 0, 0) + entry("wait", 10, 20) +
           entry("suc", 30, 60) + entry("failed", 70, 80) + "  </markers>\n</Scene>\n";
}

// The friends' panels of a level window: a board on its left and one
// below, each with its title, its list of cards and, while logged out, the
// friends' emblem in place of the cards. `ownMarkers` for a window that
// does not yet name the panels' markers.
void friendPanels(Content& c, bool ownMarkers)
{
    const Content inner{0, 0, "", "", {}};
    const int sideW = 180, sideH = c.height - 20;
    const int sideX = -sideW - 14, sideY = 10;
    std::string side = spriteObject(inner, "leftBoard", "dialogs_sprites", "ParchmentPanel", 0, 0, sideW / 420.0f,
                                    sideH / 280.0f, 8);
    side += textObject(inner, "#left_list_title", "FRIENDS_LIST_TITLE", true, 10, 12, sideW - 20, 36, "button");
    c.scene += groupObject(c, "leftPanel", sideX, sideY, 12, side);
    c.scene += listNode(c, "leftListFriends_node", sideX + 14, sideY + 52, 150, sideH - 70, 4);
    c.widgets += listWidget("leftListFriends", "leftListFriends_node", sideX + 14, sideY + 52, 150, sideH - 70, true);
    c.fading.push_back("leftListFriends");

    const int bottomW = c.width - 40, bottomH = 150;
    const int bottomX = 20, bottomY = c.height + 12;
    std::string bottom = spriteObject(inner, "bottomBoard", "dialogs_sprites", "ParchmentPanel", 0, 0,
                                      bottomW / 420.0f, bottomH / 280.0f, 8);
    bottom += textObject(inner, "#bottom_list_title", "FRIENDS_LIST_TITLE", true, 20, 6, 200, 30, "button");
    c.scene += groupObject(c, "bottomPanel", bottomX, bottomY, 12, bottom);
    c.scene += listNode(c, "bottomListFriends_node", bottomX + 14, bottomY + 28, bottomW - 28, 120, 6);
    c.widgets += listWidget("bottomListFriends", "bottomListFriends_node", bottomX + 14, bottomY + 28, bottomW - 28,
                            120, false);
    c.fading.push_back("bottomListFriends");

    auto emblem = [&](const std::string& id, int x, int y, int w) {
        c.widgets += "            { id = \"" + id + "\", class = \"UIWidget\", position = { " + std::to_string(x) +
                     ", " + std::to_string(y) + " },\n              childs = {\n"
                     "                  { id = \"" + id + "Emblem\", class = \"UISprite\", position = { " +
                     std::to_string((w - 128) / 2) + ", 0 }, imagename = \"social_sprites\", tablename = "
                     "\"FriendsEmblem\" },\n              } },\n";
        c.fading.insert(c.fading.end(), {id, id + "Emblem"});
    };
    emblem("facebook_btn_left", sideX + 10, sideY + 60, sideW - 20);
    emblem("facebook_btn_bottom", bottomX + bottomW / 2 - 200, bottomY + 36, 400);
    if (ownMarkers) {
        marker(c, "leftPanel", {{"leftPanel", 0, 0}});
        marker(c, "bottomPanel", {{"bottomPanel", 0, 0}});
    }
}

const std::vector<Window>& socialWindows()
{
    static const std::vector<Window> list = {
        {"facebook_message_wnd", "FacebookMessageWnd", "The friends' login message window.", "SOCIAL_TITLE", 520,
         320, false, {}, messageWindow},
        {"requests_wnd", "RequestsWnd", "The friends' requests, opened by the map's mail button.",
         "FACEBOOK_REQUESTS_TITLE", 600, 500, true,
         {{"btnSelectAll", "REQUESTS_SELECT_ALL"}, {"btnOk", "REQUESTS_ACCEPT"}}, requestsWindow},
        {"help_random_friends_wnd", "HelpRandomFriendsWnd", "The offer to ask friends for moves, shown on the map.",
         "HELP_FRIENDS_TITLE", 600, 500, true,
         {{"btnSelectAll", "REQUESTS_SELECT_ALL"}, {"btnOk", "HELP_FRIENDS_SEND"}}, helpFriendsWindow},
        {"friend_passed_wnd", "FriendPassedWnd", "A friend's score passed on a level.", "FRIEND_PASSED_TITLE", 600,
         420, true, {{"btnSend", "FRIEND_PASSED_SEND"}}, friendPassedWindow},
    };
    return list;
}

// The social windows (written after the window list, so that theirs win),
// the rows and the login lantern.
bool writeSocialContent(const std::string& media)
{
    for (const Window& w : socialWindows())
        if (!writeText(media + "/ui/" + w.script + ".lua", script(w)) ||
            !writeText(media + "/scenes/" + w.script + ".xml", scene(w)))
            return false;
    return writeText(media + "/scenes/request_item.xml", requestItem()) &&
           writeText(media + "/scenes/user_item_left.xml", userItem(true)) &&
           writeText(media + "/scenes/user_item_bottom.xml", userItem(false)) &&
           writeText(media + "/scenes/loading_fb.xml", loadingLantern());
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
    if (!writeSocialContent(media))
        return 1;
    return 0;
}
