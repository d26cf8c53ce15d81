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

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "map_interface.h"
#include "tutorial_window.h"

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
    Content c{w.width, w.height, "", "", {}, ""};
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
    // A modal window dims whatever lies behind it, over any screen shape.
    constexpr float SHADE_W = 6000, SHADE_H = 3000;
    out << "    </frames>\n"
        << "    <Childs>\n"
        << "      <Object type=\"Sprite\" name=\"shade\" filename=\"widget_sprites\" tablename=\"Shade\">\n"
        << "        <Parameters " << attributes(-SHADE_W / 2, -SHADE_H / 2, 30, SHADE_W / 16, SHADE_H / 16, 0.55f, "1 1 1")
        << " Enable=\"1\"/>\n"
        << "      </Object>\n"
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
        Content inner{128, 150, "", "", {}, ""};
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
void friendPanels(Content& c, bool ownMarkers, bool sideRight = false);

// The level's number, its goals (icon and text, filled by the game) or its
// score target in place of them, the stars already earned, the boosters'
// slots and the silver panel.
void playLevelStars(Content& c);
void playLevelSlots(Content& c);
void playLevelSilver(Content& c);
std::string keyedCaption(const Content& c);
void marker(Content& c, const std::string& name, const std::vector<std::tuple<std::string, int, int>>& entries);

// The start window's upper block (number, stars, goals) stands lower while
// no booster slot is shown, so that the window stays balanced; "bonuses0"
// plays its frame 0, the other rows frame 1.
constexpr int UPPER_DROP = 70;

// The goals' band: a card across the window under the stars.
constexpr int GOALS_TOP = 160;
constexpr int GOALS_HEIGHT = 140;

void playLevel(Content& c)
{
    const size_t upperStart = c.scene.size();
    c.scene += textObject(c, "#levelNum", "", false, 50, 36, c.width - 100, 50, "counter", "0.45 0.22 0.05");
    c.scene += spriteObject(c, "goalsCard", "widget_sprites", "ContentRow", 56, GOALS_TOP, (c.width - 112) / 220.0f,
                            GOALS_HEIGHT / 32.0f, 4, 0.5f);
    // The score target stands alone in the goals' band: centred in it.
    std::string scoreTarget =
        textObject(c, "#score_target_text", "", false, 70, GOALS_TOP + 34, c.width - 140, 76, "counter");
    scoreTarget.replace(scoreTarget.find(" UsePreset="), 0, " HAlign=\"1\" VAlign=\"1\"");
    c.scene += scoreTarget;
    // One goal stands in the middle of the goals' band; two share it.
    std::vector<std::tuple<std::string, int, int>> one;
    std::vector<std::tuple<std::string, int, int>> two;
    for (int i = 1; i <= 2; ++i) {
        Content inner{c.width - 200, 70, "", "", {}, ""};
        const std::string name = "#target" + std::to_string(i);
        std::string children;
        children += spriteObject(inner, "#icon", "targets_sprites", "s_walls_ui_p_psd", 36, 35, 0.75f, 0.75f, 1);
        children += textObject(inner, "#text", "", false, 100, 35, inner.width - 110, 56, "counter");
        auto at = [&](int y) {
            return attributes(100 + inner.width / 2.0f - c.width / 2.0f, y + 35 - c.height / 2.0f, 0, 1, 1, 1);
        };
        const int single = GOALS_TOP + (GOALS_HEIGHT - 70) / 2;
        const int paired = GOALS_TOP + 2 + (i - 1) * 70;
        c.scene += "      <Object name=\"" + name + "\">\n        <Parameters " + at(paired) +
                   " Enable=\"0\"/>\n        <frames loop=\"0\">\n          <frame StartFrame=\"0\"><Attributes " +
                   at(single) + "/></frame>\n          <frame StartFrame=\"1\"><Attributes " + at(paired) +
                   "/></frame>\n        </frames>\n        <Childs>\n" + children +
                   "        </Childs>\n      </Object>\n";
        if (i == 1)
            one.emplace_back(name, 0, 0);
        two.emplace_back(name, 1, 1);
    }
    marker(c, "goals1", one);
    marker(c, "goals2", two);
    // Beside the level number: this level runs against the clock.
    sprite(c, "#time_limit_icon", "ui_sprites", "TimeLimitIcon", c.width / 2 + 96, 30, 0.7f);
    playLevelStars(c);
    const std::string upper = c.scene.substr(upperStart);
    c.scene.resize(upperStart);
    auto at = [&](int drop) { return attributes(0, float(drop), 0, 1, 1, 1); };
    c.scene += "      <Object name=\"upper\">\n        <Parameters " + at(0) +
               " Enable=\"1\"/>\n        <frames loop=\"0\">\n          <frame StartFrame=\"0\"><Attributes " +
               at(UPPER_DROP) + "/></frame>\n          <frame StartFrame=\"1\"><Attributes " + at(0) +
               "/></frame>\n        </frames>\n        <Childs>\n" + upper + "        </Childs>\n      </Object>\n";
    playLevelSlots(c);
    playLevelSilver(c);
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
        // The lit star: the dialogs' gold star (80 texels, its glow in
        // them) over the slot, landing from large.
        if (lit)
            keyedSprite(c, "star" + std::to_string(i + 1), "dialogs_sprites", "StarIcon", x - 40 * scale * 0.6f + 24,
                        y - 40 * scale * 0.6f + 24, 40, 2.0f * scale * 0.6f, 0, scale * 0.6f * 1.25f, 1,
                        STAR_DELAY * i + 10, 1, STAR_DELAY * i);
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

// The festive touches of a win: a warm glow behind the star row, amber
// sparkles about it, and a lantern at each side.
void festoon(Content& c)
{
    c.scene += "      <Object type=\"Sprite\" name=\"starGlow\" filename=\"fx_sprites\" tablename=\"Glow\">\n"
               "        <Parameters " +
               attributes(c.width / 2.0f - 210 - c.width / 2.0f, 30 - c.height / 2.0f, 4, 420.0f / 64.0f,
                          170.0f / 64.0f, 0.55f, "1 0.72 0.28") +
               " Enable=\"1\"/>\n      </Object>\n";
    const float sparkles[][3] = {{150, 80, 0.7f}, {205, 150, 0.45f}, {440, 70, 0.6f}, {492, 146, 0.5f},
                                 {300, 52, 0.4f}, {372, 160, 0.35f}};
    for (size_t i = 0; i < std::size(sparkles); ++i)
        sprite(c, "sparkle" + std::to_string(i), "fx_sprites", "Sparkle", sparkles[i][0], sparkles[i][1],
               sparkles[i][2], 1.5f);
    sprite(c, "lanternLeft", "menu_sprites", "Lantern", 36, 150, 0.34f, 0.5f);
    sprite(c, "lanternRight", "menu_sprites", "Lantern", c.width - 80, 150, 0.34f, 0.5f);
}

// A row of the results: a card across the window with its label or icon at
// the left and its figure at the right.
void resultRow(Content& c, const std::string& name, int y)
{
    c.scene += spriteObject(c, name + "Card", "widget_sprites", "ContentRow", 150, y, 340.0f / 220.0f, 52.0f / 32.0f,
                            3);
}

void winLevel(Content& c)
{
    festoon(c);
    resultHeader(c, true);
    resultRow(c, "scoreRow", 196);
    text(c, "#scoreLabel", "WIN_SCORE", 172, 208, 140, 40);
    c.scene += textObject(c, "#score", "0", false, 300, 200, 170, 44, "counter", "0.55 0.3 0.05");
    resultRow(c, "moneyRow", 256);
    sprite(c, "coin", "dialogs_sprites", "SilverCoin", 184, 262, 0.5f);
    c.scene += textObject(c, "#money", "0", false, 300, 260, 170, 44, "counter", "0.35 0.35 0.42");
    // Six bursts about the coin, played in turn as the coins count up.
    const int count = 6;
    for (int i = 0; i < count; ++i) {
        const float dx = (i % 3) * 16.0f - 16.0f;
        const float dy = (i / 3) * 20.0f - 10.0f;
        keyedSprite(c, "silverBurst" + std::to_string(i), "fx_sprites", "Sparkle", 188 + dx, 254 + dy, 32, 0.5f, 1,
                    1.4f, 0, 8, 0);
        // Each burst rings its own coin, so quick steps overlap as coins do.
        const std::string clink = "clink" + std::to_string(i);
        c.scene += "      <Object type=\"Sound\" name=\"" + clink +
                   "\" filename=\"coin_clink_sound\">\n        <Parameters X=\"0\" Y=\"0\" Z=\"0\" Angle=\"0\" R=\"1\" "
                   "G=\"1\" B=\"1\" A=\"1\" PivotPointX=\"0\" PivotPointY=\"0\" Enable=\"1\" Volume=\"0.8\" "
                   "Playing=\"0\" SoundGroup=\"0\" priority=\"30\"/>\n        <frames loop=\"0\">\n";
        for (const auto& [frame, on] : {std::pair{0, 1}, std::pair{8, 0}})
            c.scene += "          <frame StartFrame=\"" + std::to_string(frame) +
                       "\"><Attributes X=\"0\" Y=\"0\" Z=\"0\" angle=\"0\" scaleX=\"1\" scaleY=\"1\" R=\"1\" G=\"1\" "
                       "B=\"1\" A=\"1\" PivotPointX=\"0\" PivotPointY=\"0\" Volume=\"0.8\" playSound=\"" +
                       std::to_string(on) + "\"/></frame>\n";
        c.scene += "        </frames>\n      </Object>\n";
        marker(c, "silverEffect[" + std::to_string(i) + "]",
               {{"silverBurst" + std::to_string(i), 0, 8}, {clink, 0, 8}});
    }
    marker(c, "#effectCount:" + std::to_string(count), {});
    friendPanels(c, false, true);
}

void failLevel(Content& c)
{
    resultHeader(c, false);
    // The lanterns of the win, gone out: dusk-blue and half clear.
    for (const auto& [name, x] : {std::pair{"lanternLeft", 36}, std::pair{"lanternRight", c.width - 80}})
        c.scene += "      <Object type=\"Sprite\" name=\"" + std::string(name) +
                   "\" filename=\"menu_sprites\" tablename=\"Lantern\">\n        <Parameters " +
                   attributes(x - c.width / 2.0f, 150 - c.height / 2.0f, 0.5f, 0.34f, 0.34f, 0.6f, "0.5 0.5 0.75") +
                   " Enable=\"1\"/>\n      </Object>\n";
    resultRow(c, "scoreRow", 206);
    c.scene += textObject(c, "#score", "", false, 60, 210, c.width - 120, 48, "counter", "0.55 0.3 0.05");
    friendPanels(c, false, true);
}

// --- The out-of-moves offer ---

// One goal's panel: its icon (replaced by the game with the goal's own), a
// tick when the goal is met, a dim cross while it is not, and "7/10".
std::string goalPanel(const Content& c, const std::string& name, int x, int y, int w)
{
    Content inner{w, 72, "", "", {}, ""};
    std::string children;
    children += spriteObject(inner, "card", "widget_sprites", "ContentRow", 0, 0, float(w) / 220.0f, 72.0f / 32.0f, 3);
    children += spriteObject(inner, "icon", "targets_sprites", "s_walls_ui_p_psd", 12, 8, 0.7f, 0.7f, 1);
    children += textObject(inner, "text", "", false, 90, 14, w - 160, 44, "counter");
    children += spriteObject(inner, "check", "widget_sprites", "CheckTick", w - 60, 14, 1.0f, 1.0f, 1);
    children += spriteObject(inner, "uncheck", "widget_sprites", "CheckBox", w - 60, 14, 1.0f, 1.0f, 1);
    return "      <Object name=\"" + name + "\">\n        <Parameters " +
           attributes(x + w / 2.0f - c.width / 2.0f, y + 36 - c.height / 2.0f, 0, 1, 1, 1) +
           " Enable=\"0\"/>\n        <Childs>\n" + children + "        </Childs>\n      </Object>\n";
}

// The level's number, the goals with their progress (or the score target in
// their place), the player's gold and silver, and the price of going on.
void nomovesLevel(Content& c)
{
    c.scene += textObject(c, "#levelNum", "", false, 60, 40, c.width - 120, 44, "counter", INK);
    c.scene += textObject(c, "#score_target_text", "", false, 60, 110, c.width - 120, 60, "text");
    c.scene += goalPanel(c, "target1", 70, 96, c.width - 140);
    c.scene += goalPanel(c, "target2", 70, 180, c.width - 140);
    // "goals1" and "goals2" bring in the panels in use.
    for (int n = 1; n <= 2; ++n) {
        std::vector<std::tuple<std::string, int, int>> panels;
        for (int i = 1; i <= n; ++i)
            panels.emplace_back("target" + std::to_string(i), 0, 8);
        marker(c, "goals" + std::to_string(n), panels);
    }
    // The purse: gold then silver, on the left of the offer row.
    const int row = 272;
    sprite(c, "goldCoin", "dialogs_sprites", "GoldCoin", 70, row, 0.5f);
    c.scene += textObject(c, "#gold", "0", false, 110, row + 2, 110, 40, "counter", "0.7 0.45 0.05");
    sprite(c, "silverCoin", "dialogs_sprites", "SilverCoin", 230, row, 0.5f);
    c.scene += textObject(c, "#silver", "0", false, 270, row + 2, 110, 40, "counter", "0.35 0.35 0.42");
    // The offer: what is bought and what it costs.
    sprite(c, "#limit_icon", "ui_sprites", "s_plus_5_icon_ui_p_psd", c.width - 240, row - 6, 0.8f);
    sprite(c, "priceCoin", "dialogs_sprites", "SilverCoin", c.width - 170, row, 0.5f);
    c.scene += textObject(c, "#price", "250", false, c.width - 130, row + 2, 90, 40, "counter", "0.35 0.35 0.42");
}

// The shops' contents (with the shops, below).
void valutaShop(Content& c);
void heartShop(Content& c);
void holidayOffer(Content& c);

const std::vector<Window>& windows()
{
    static const std::vector<Window> list = {
        {"options_window", "OptionsWindow", "The options window, opened from the main menu.", "OPTIONS_TITLE", 600,
         420, true, {{"btnReset", "OPTIONS_RESET"}, {"btnAccept", "BUTTON_OK"}}, options},
        {"reset_question_window", "ResetQuestionWindow",
         "The question before the progress is reset; its accept button is held.", "RESET_QUESTION_TITLE", 520, 320,
         false, {}, resetQuestion},
        {"buy_valuta_window", "BuyValutaWindow", "The currency shop.", "WINDOW_SHOPPING_CURRENCY_TITLE", 520, 600,
         true, {}, valutaShop},
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
        {"win_level_window", "WinLevelWindow", "The won level's window.", "WIN_TITLE", 640, 440, true,
         {{"btnNext", "WIN_NEXT"}}, winLevel},
        {"fail_level_window", "FailLevelWindow", "The lost level's window.", "FAIL_TITLE", 640, 400, true,
         {{"btnReplay", "FAIL_REPLAY"}}, failLevel},
        {"play_level_window", "PlayLevelWindow", "The level start window.", "PLAY_LEVEL_TITLE", 640, 560, true,
         {{"btnPlay", "PLAY_LEVEL_PLAY"}}, playLevel},
        {"buy_heart_window", "BuyHeartWindow", "The heart shop, opened from the map.", "BUY_HEART_TITLE", 560, 420,
         true, {}, heartShop},
        {"holiday_purchase_window", "HolidayPurchaseWindow", "The time-limited offer of the map's top panel.",
         "HOLIDAY_PURCHASE_TITLE", 600, 440, true, {{"btnBuy", "SHOP_BUY"}}, holidayOffer},
        {"nomoves_level_window", "NomovesLevelWindow", "The offer of more moves or time when a level runs out.",
         "NOMOVES_TITLE", 640, 420, false, {{"btnEndLevel", "NOMOVES_END_LEVEL"}, {"btnContinue", "NOMOVES_CONTINUE"}},
         nomovesLevel},
    };
    return list;
}


// --- The level start window's stars, booster slots and silver panel ---

// Three star slots under the level number: "stars0" dims them, "stars<n>"
// lights the first n one after the other.
void playLevelStars(Content& c)
{
    constexpr int STEP = 6;
    std::vector<std::tuple<std::string, int, int>> row;
    for (int i = 0; i < 3; ++i) {
        constexpr float SCALE = 1.5f;
        const float x = c.width / 2.0f + (i - 1) * 96.0f - 24.0f;
        const float y = i == 1 ? 84.0f : 98.0f;
        keyedSprite(c, "starSlot" + std::to_string(i + 1), "map_sprites", "StarDim", x, y, 24, SCALE, 0, SCALE, 1, 6,
                    2);
        row.emplace_back("starSlot" + std::to_string(i + 1), 0, 6);
        keyedSprite(c, "starLit" + std::to_string(i + 1), "map_sprites", "Star", x, y, 24, 1.8f * SCALE, 0, SCALE, 1,
                    STEP * i + 8, 1, STEP * i);
    }
    marker(c, "stars0", row);
    for (int n = 1; n <= 3; ++n) {
        std::vector<std::tuple<std::string, int, int>> stars = row;
        for (int i = 0; i < n; ++i)
            stars.emplace_back("starLit" + std::to_string(i + 1), 0, STEP * i + 8);
        marker(c, "stars" + std::to_string(n), stars);
    }
}

// A booster slot: a brass-rimmed socket, the booster's face "regular" and
// the gold ring of an armed booster, which "buy" brings in and "sell" takes
// away. Its key frames 1 to 3 place it in a row of that many slots,
// "bonuses<n>" puts every slot there.
std::string boosterSlot(const Content& c, int index, int rowY)
{
    constexpr float SIZE = 96.0f;
    auto rowX = [&](int n) {
        const int count = std::max(n, 1);
        return c.width / 2.0f + (float(index) - float(count - 1) / 2.0f) * 136.0f - SIZE / 2.0f;
    };
    auto at = [&](int n) { return attributes(rowX(n) - c.width / 2.0f, rowY - c.height / 2.0f, 0, 1, 1, 1); };
    auto local = [](float x, float y, float z, float s, float a, float pivot) {
        return "X=\"" + number(x) + "\" Y=\"" + number(y) + "\" Z=\"" + number(z) + "\" angle=\"0\" scaleX=\"" +
               number(s) + "\" scaleY=\"" + number(s) + "\" R=\"1\" G=\"1\" B=\"1\" A=\"" + number(a) +
               "\" PivotPointX=\"" + number(pivot) + "\" PivotPointY=\"" + number(pivot) + "\"";
    };
    const float scale = SIZE / 80.0f;
    std::string out = "      <Object name=\"#bonus" + std::to_string(index) + "\">\n        <Parameters " + at(3) +
                      " Enable=\"0\"/>\n        <frames loop=\"0\">\n";
    for (int n = 0; n <= 3; ++n)
        out += "          <frame StartFrame=\"" + std::to_string(n) + "\"><Attributes " + at(n) + "/></frame>\n";
    out += "        </frames>\n        <Childs>\n";
    out += "          <Object type=\"Sprite\" name=\"socket\" filename=\"ui_sprites\" tablename=\"BoosterSocket\">\n"
           "            <Parameters " + local(0, 0, 3, scale, 1, 0) + " Enable=\"1\"/>\n          </Object>\n";
    out += "          <Object type=\"Sprite\" name=\"regular\" filename=\"ui_sprites\" "
           "tablename=\"s_bonus_plus_step_ui_p_psd\">\n            <Parameters " +
           local(8, 8, 2, (SIZE - 16.0f) / 80.0f, 1, 0) + " Enable=\"1\"/>\n          </Object>\n";
    out += "          <Object type=\"Sprite\" name=\"armed\" filename=\"ui_sprites\" tablename=\"BoosterArmed\">\n"
           "            <Parameters " + local(0, 0, 1, scale, 0, 0) + " Enable=\"1\"/>\n"
           "            <frames loop=\"0\">\n"
           "              <frame StartFrame=\"0\"><Attributes " + local(0, 0, 1, scale, 0, 0) + "/></frame>\n"
           "              <frame StartFrame=\"8\"><Attributes " + local(0, 0, 1, scale, 1, 0) + "/></frame>\n"
           "            </frames>\n          </Object>\n";
    out += "        </Childs>\n        <markers>\n"
           "          <marker>\n            <name>buy</name>\n            <playList>\n"
           "              <entry name=\"armed\" from=\"0\" to=\"8\"/>\n            </playList>\n          </marker>\n"
           "          <marker>\n            <name>sell</name>\n            <playList>\n"
           "              <entry name=\"armed\" from=\"8\" to=\"0\"/>\n            </playList>\n          </marker>\n"
           "        </markers>\n      </Object>\n";
    return out;
}

// The boosters' row above the play button: a caption, the three slots and
// a clear button over each slot (the window keeps the buttons on their
// slots as the row is laid out).
void playLevelSlots(Content& c)
{
    constexpr int ROW_Y = 340;
    c.scene += keyedCaption(c);
    for (int i = 0; i < 3; ++i) {
        c.scene += boosterSlot(c, i, ROW_Y);
        c.widgets += "            { id = \"btnBonusBuy" + std::to_string(i + 1) +
                     "\", class = \"UIButton\", position = { " + std::to_string(c.width / 2 - 48 + (i - 1) * 136) +
                     ", " + std::to_string(ROW_Y) + " }, customClientRect = { 0, 0, 96, 96 } },\n";
    }
    for (int n = 0; n <= 3; ++n) {
        std::vector<std::tuple<std::string, int, int>> entries;
        for (int i = 0; i < 3; ++i)
            entries.emplace_back("#bonus" + std::to_string(i), n, n);
        entries.emplace_back("boostersCaption", n == 0 ? 0 : 1, n == 0 ? 0 : 1);
        entries.emplace_back("upper", n == 0 ? 0 : 1, n == 0 ? 0 : 1);
        marker(c, "bonuses" + std::to_string(n), entries);
    }
}

// The caption over the slots, clear until a slot is shown.
std::string keyedCaption(const Content& c)
{
    auto at = [&](float a) { return attributes(60 - c.width / 2.0f, 302 - c.height / 2.0f, 0, 1, 1, a, INK); };
    return "      <Object type=\"Text\" name=\"boostersCaption\" filename=\"main_font_fnt\">\n        <Parameters " +
           at(0) + " Enable=\"1\" Text=\"PLAY_LEVEL_BOOSTERS\" LocaleEnable=\"1\" TextAreaX=\"" +
           std::to_string(c.width - 120) +
           "\" TextAreaY=\"36\" HAlign=\"1\" VAlign=\"1\" MaxChar=\"-1\" AutoScale=\"1\" PixelPrec=\"1\" UsePreset=\"1\" "
           "Preset=\"text\"/>\n"
           "        <frames loop=\"0\">\n          <frame StartFrame=\"0\"><Attributes " + at(0) +
           "/></frame>\n          <frame StartFrame=\"1\"><Attributes " + at(1) +
           "/></frame>\n        </frames>\n      </Object>\n";
}

// The player's silver on a wooden plate over the window's upper right
// corner, faded in by "show_valuta_panel" and out by "hide_valuta_panel".
void playLevelSilver(Content& c)
{
    auto at = [&](float a) { return attributes(c.width - 230 - c.width / 2.0f, -64 - c.height / 2.0f, 0, 1, 1, a); };
    Content inner{0, 0, "", "", {}, ""};
    std::string children;
    children += spriteObject(inner, "valutaPlate", "ui_sprites", "LimitPanel", 0, 0, 1.1f, 0.5f, 3);
    children += spriteObject(inner, "valutaCoin", "ui_sprites", "s_bonus_valuta_silver_ui_p_psd", 14, 6, 0.6f, 0.6f, 1);
    children += textObject(inner, "#silver", "0", false, 70, 12, 140, 40, "counter", "0.95 0.93 0.88");
    c.scene += "      <Object name=\"valutaPanel\">\n        <Parameters " + at(0) +
               " Enable=\"1\"/>\n        <frames loop=\"0\">\n          <frame StartFrame=\"0\"><Attributes " + at(0) +
               "/></frame>\n          <frame StartFrame=\"8\"><Attributes " + at(1) +
               "/></frame>\n        </frames>\n        <Childs>\n" + children + "        </Childs>\n      </Object>\n";
    marker(c, "show_valuta_panel", {{"valutaPanel", 0, 8}});
    marker(c, "hide_valuta_panel", {{"valutaPanel", 8, 0}});
}


// --- The booster bubble ---

// The bubble of a booster over a slot of the start window. Its scene's
// origin is the workspace's: the window moves "root_group" to the slot's
// top middle, and the bubble stands above that point, turned by "left",
// "center" or "right" towards the middle of the start window. The buttons
// follow the empty faces "btnBuyFace" and "btnCloseFace".
constexpr int BUBBLE_WIDTH = 360;
constexpr int BUBBLE_HEIGHT = 260;

std::string infoBubbleScript()
{
    const Button buy{"btnBuy", "INFO_BONUS_BUY"};
    std::ostringstream out;
    out << "-- The booster bubble of the level start window.\n-- Written by tools/ui_gen.\n\n"
        << "InfoPassiveBonusWindow = {\n"
        << "    id = \"InfoPassiveBonusWindow\", class = \"UIWidget\", position = { 0, 0 },\n"
        << "    childs = {\n"
        << "        { id = \"gui\", class = \"UISceneNode\", scene = \"info_passive_bonus_window_xml\",\n"
        << "          childs = {\n"
        << "            { id = \"btnClose\", class = \"UIButton\", position = { 0, 0 }, customClientRect = { 0, 0, 40, 40 },\n"
        << "              childs = {\n"
        << "                  { id = \"btnCloseFace\", class = \"UISprite\", imagename = \"widget_sprites\", "
           "tablename = \"CloseButton\" },\n"
        << "              } },\n"
        << buttonTable(buy, 0, 0, "            ") << "          } },\n"
        << "    },\n    states = {\n        { id = \"onIdle\", propertyChanges = {\n";
    for (const char* piece : {"InfoPassiveBonusWindow", "gui", "btnClose", "btnCloseFace", "btnBuy"})
        out << "            { target = \"" << piece << "\", property = \"transparency\", duration = 0.2, value = 1 },\n";
    out << "        } },\n    },\n    initialState = \"onIdle\",\n}\n";
    return out.str();
}

std::string infoBubbleScene()
{
    Content c{BUBBLE_WIDTH, BUBBLE_HEIGHT, "", "", {}, ""};
    // The bubble's pieces from its top left corner.
    auto placed = [&](float x, float y) { return std::pair<float, float>{x + c.width / 2.0f, y + c.height / 2.0f}; };
    std::string pieces;
    const auto frame = placed(0, 0);
    pieces += spriteObject(c, "frame", "dialogs_sprites", "ParchmentPanel", frame.first - c.width / 2.0f,
                           frame.second - c.height / 2.0f, BUBBLE_WIDTH / 420.0f, BUBBLE_HEIGHT / 280.0f, 10);
    pieces += spriteObject(c, "#icon", "ui_sprites", "s_bonus_plus_step_pass_window_bonus_aktiv_psd", 22, 22, 1.1f,
                           1.1f, 2);
    pieces += spriteObject(c, "iconSocket", "ui_sprites", "BoosterSocket", 18, 18, 1.2f, 1.2f, 3);
    pieces += textObject(c, "#title", "", true, 124, 20, 200, 44, "button", "0.45 0.22 0.05");
    pieces += textObject(c, "#desc", "", true, 124, 66, 210, 96, "text");
    pieces += spriteObject(c, "#priceIcon", "ui_sprites", "s_bonus_valuta_silver_ui_p_psd", 28, 186, 0.55f, 0.55f, 2);
    pieces += textObject(c, "#price", "", false, 76, 188, 80, 40, "counter", "0.35 0.35 0.42");
    auto face = [&](const std::string& name, float x, float y) {
        return "      <Object name=\"" + name + "\">\n        <Parameters " +
               attributes(x - c.width / 2.0f, y - c.height / 2.0f, 0, 1, 1, 1) + " Enable=\"1\"/>\n      </Object>\n";
    };
    pieces += face("btnBuyFace", BUBBLE_WIDTH - BUTTON_WIDTH - 28, BUBBLE_HEIGHT - BUTTON_HEIGHT - 22);
    pieces += face("btnCloseFace", BUBBLE_WIDTH - 48, 8);
    // The bubble's top left from the anchor, by placement.
    const float lefts[] = {-70.0f, -BUBBLE_WIDTH / 2.0f, -BUBBLE_WIDTH + 70.0f};
    const float top = -BUBBLE_HEIGHT - 8.0f;
    auto bubbleAt = [&](float x) {
        return "X=\"" + number(x) + "\" Y=\"" + number(top) +
               "\" Z=\"0\" angle=\"0\" scaleX=\"1\" scaleY=\"1\" R=\"1\" G=\"1\" B=\"1\" A=\"1\" PivotPointX=\"0\" "
               "PivotPointY=\"0\"";
    };
    // The pieces above are placed about the bubble's middle; the bubble
    // node holds them from its corner.
    std::string bubble = "          <Object name=\"bubble\">\n            <Parameters " + bubbleAt(lefts[1]) +
                         " Enable=\"1\"/>\n            <frames loop=\"0\">\n";
    for (int i = 0; i < 3; ++i)
        bubble += "              <frame StartFrame=\"" + std::to_string(i) + "\"><Attributes " + bubbleAt(lefts[i]) +
                  "/></frame>\n";
    bubble += "            </frames>\n            <Childs>\n            <Object name=\"corner\">\n"
              "              <Parameters " + attributes(BUBBLE_WIDTH / 2.0f, BUBBLE_HEIGHT / 2.0f, 0, 1, 1, 1) +
              " Enable=\"1\"/>\n              <Childs>\n" + pieces +
              "              </Childs>\n            </Object>\n            </Childs>\n          </Object>\n";
    auto window = [](float a) {
        return "X=\"0\" Y=\"0\" Z=\"0\" angle=\"0\" scaleX=\"1\" scaleY=\"1\" R=\"1\" G=\"1\" B=\"1\" A=\"" + number(a) +
               "\" PivotPointX=\"0\" PivotPointY=\"0\"";
    };
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        << "<!-- The booster bubble of the level start window. Written by tools/ui_gen. -->\n"
        << "<Scene>\n  <Object name=\"window\">\n    <Parameters " << window(1) << " Enable=\"1\"/>\n"
        << "    <frames loop=\"0\">\n      <frame StartFrame=\"0\"><Attributes " << window(0)
        << "/></frame>\n      <frame StartFrame=\"6\"><Attributes " << window(1) << "/></frame>\n    </frames>\n"
        << "    <Childs>\n      <Object name=\"root_group\">\n        <Parameters " << window(1)
        << " Enable=\"1\"/>\n        <Childs>\n"
        << bubble << "        </Childs>\n      </Object>\n    </Childs>\n  </Object>\n  <markers>\n";
    const char* markers[][3] = {{"init", "window", "0\" to=\"0"}, {"show", "window", "0\" to=\"6"},
                                {"hide", "window", "6\" to=\"0"}, {"left", "bubble", "0\" to=\"0"},
                                {"center", "bubble", "1\" to=\"1"}, {"right", "bubble", "2\" to=\"2"}};
    for (const auto& marker : markers)
        out << "    <marker>\n      <name>" << marker[0] << "</name>\n      <playList>\n        <entry name=\""
            << marker[1] << "\" from=\"" << marker[2] << "\"/>\n      </playList>\n    </marker>\n";
    out << "    <marker>\n      <name>onIdle</name>\n      <playList/>\n    </marker>\n"
        << "    <marker>\n      <name>onHide</name>\n      <playList/>\n    </marker>\n"
        << "  </markers>\n</Scene>\n";
    return out.str();
}

// --- The shops ---

// The currency shop: a well of rows under the title, the scene list "list"
// borrowing it from the window's scene, and the sale banner (off until a
// sale runs) at the top right.
void valutaShop(Content& c)
{
    const int wx = 50;
    const int wy = 88;
    c.scene += "      <Object name=\"listArea\">\n        <Parameters " +
               attributes(wx - c.width / 2.0f, wy - c.height / 2.0f, 0, 1, 1, 1) +
               " Enable=\"1\"/>\n        <Childs>\n"
               "          <Object type=\"Sprite\" name=\"#mask\" filename=\"scene_list_sprites\" tablename=\"StripMask\">\n"
               "            <Parameters " + attributes(0, 0, 0, 1, 1, 1) + " Enable=\"1\" UseStencil=\"1\"/>\n"
               "            <Childs>\n"
               "              <Object name=\"#list\">\n"
               "                <Parameters " + attributes(0, 0, 0, 1, 1, 1) + " Enable=\"1\"/>\n"
               "                <Childs>\n"
               "                  <Object name=\"#item\">\n"
               "                    <Parameters " + attributes(10, 10, 0, 1, 1, 1) + " Enable=\"1\"/>\n"
               "                  </Object>\n"
               "                </Childs>\n"
               "                <markers>\n"
               "                  <marker>\n                    <name>#indent:10</name>\n                    <playList/>\n"
               "                  </marker>\n"
               "                  <marker>\n                    <name>#outside:60</name>\n                    <playList/>\n"
               "                  </marker>\n"
               "                </markers>\n"
               "              </Object>\n"
               "            </Childs>\n"
               "          </Object>\n"
               "        </Childs>\n"
               // The list plays the marker of each of its states' names.
               "        <markers>\n"
               "          <marker>\n            <name>onIdle</name>\n            <playList/>\n          </marker>\n"
               "          <marker>\n            <name>onHide</name>\n            <playList/>\n          </marker>\n"
               "        </markers>\n      </Object>\n";
    Content inner{};
    c.scene += "      <Object type=\"Sprite\" name=\"#action_strip\" filename=\"widget_sprites\" tablename=\"TitleRibbon\">\n"
               "        <Parameters " +
               attributes(c.width - 170 - c.width / 2.0f, 40 - c.height / 2.0f, 0, 0.5f, 0.9f, 1) +
               " Enable=\"0\"/>\n        <Childs>\n" +
               textObject(inner, "#action_title", "x1", false, 20, 4, 260, 48, "title", "1 1 1") +
               "        </Childs>\n      </Object>\n";
    c.scene += "      <Object name=\"#action_time\">\n        <Parameters " +
               attributes(c.width - 170 - c.width / 2.0f, 86 - c.height / 2.0f, 0, 1, 1, 1) +
               " Enable=\"0\"/>\n        <Childs>\n" +
               textObject(inner, "#action_time_text", "00:00", false, 0, 0, 150, 30, "counter", INK) +
               "        </Childs>\n      </Object>\n";
    c.widgets += "            { id = \"list\", class = \"UISceneList\", scene = \"@parent/window/listArea\", orient = "
                 "\"ver\", scrolling = 3,\n              position = { " +
                 std::to_string(wx) + ", " + std::to_string(wy) + " } },\n";
    c.fading.push_back("list");
}

// The button markers a scene list looks up on every element of an item.
std::string elementMarkers(const std::string& node, const std::string& indent)
{
    const std::tuple<const char*, int, int> faces[] = {
        {"regular", 0, 0},        {"regular>select", 0, 4}, {"regular>pressed", 0, 8},
        {"select", 4, 4},         {"select>regular", 4, 0}, {"select>pressed", 4, 8},
        {"pressed", 8, 8},        {"pressed>regular", 8, 0}, {"pressed>select", 8, 4}};
    std::string out = indent + "<markers>\n";
    for (const auto& [name, from, to] : faces)
        out += indent + "  <marker>\n" + indent + "    <name>" + name + "</name>\n" + indent + "    <playList>\n" +
               indent + "      <entry name=\"" + node + "\" from=\"" + std::to_string(from) + "\" to=\"" +
               std::to_string(to) + "\"/>\n" + indent + "    </playList>\n" + indent + "  </marker>\n";
    return out + indent + "</markers>\n";
}

// A row of the currency shop, 400 x 96: the pack's picture, its amount and
// the buy button "purchaseItem" with the price and the coin it is paid in;
// the struck-out amount and the sale badge show only in a sale.
std::string valutaRowScene()
{
    Content c{};
    // Drawn inside the list's mask only.
    auto stencilled = [](std::string object) {
        const bool isText = object.find("type=\"Text\"") != std::string::npos;
        const std::string from = isText ? " UsePreset=" : " Enable=\"1\"/>";
        const std::string to = isText ? " Stencil=\"1\" UsePreset=" : " Enable=\"1\" UseStencil=\"2\"/>";
        const size_t p = object.find(from);
        if (p != std::string::npos)
            object.replace(p, from.size(), to);
        return object;
    };
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<!-- A row of the currency shop. Written by tools/ui_gen. -->\n<Scene>\n";
    out += stencilled(spriteObject(c, "card", "scene_list_sprites", "ItemCard", 0, 0, 1, 1, 2));
    out += stencilled(spriteObject(c, "#icon", "map_sprites", "s_star_valuta_sale_1", 12, 8, 1, 1, 1));
    out += stencilled(textObject(c, "#amount", "0", false, 100, 24, 110, 48, "counter", "0.55 0.3 0.05"));
    std::string strip = spriteObject(c, "#old_amount_strip", "widget_sprites", "SliderFill", 112, 44, 0.4f, 0.4f, 0);
    strip.replace(strip.find(" Enable=\"1\"/>"), 13, " Enable=\"0\" UseStencil=\"2\"/>");
    out += strip;
    std::string badge = "      <Object name=\"#action\">\n        <Parameters " + attributes(100, 66, 0, 1, 1, 1) +
                        " Enable=\"0\"/>\n        <Childs>\n" +
                        stencilled(textObject(c, "#action_amount", "0", false, 0, 0, 110, 28, "counter",
                                              "0.75 0.35 0.05")) +
                        "        </Childs>\n      </Object>\n";
    out += badge;
    // The button's faces: idle, lit and pressed (a little lower).
    auto key = [](int f, float y) {
        return "          <frame StartFrame=\"" + std::to_string(f) + "\"><Attributes " + attributes(224, y, 1, 1, 1, 1) +
               " frameIndex=\"" + std::to_string(f / 4) + "\"/></frame>\n";
    };
    const std::string frame = key(0, 24) + key(4, 24) + key(8, 26);
    out += "      <Object type=\"Sprite\" name=\"#btn:purchaseItem\" filename=\"scene_list_sprites\" "
           "tablename=\"BuyButton\">\n        <Parameters " +
           attributes(224, 24, 1, 1, 1, 1) + " Enable=\"1\" UseStencil=\"2\"/>\n        <frames loop=\"0\">\n" + frame +
           "        </frames>\n        <Childs>\n" +
           stencilled(spriteObject(c, "#btnIcon", "targets_sprites", "s_Layer_4_panel_valuta_psd", 14, 6, 0.45f,
                                   0.45f, -1)) +
           stencilled(textObject(c, "#price", "0", false, 56, 0, 96, 48, "counter", "0.23 0.13 0.05", -1)) +
           "        </Childs>\n" + elementMarkers("#btn:purchaseItem", "        ") + "      </Object>\n";
    out += "  <markers>\n"
           "    <marker>\n      <name>#size:400/96</name>\n      <playList/>\n    </marker>\n"
           "    <marker>\n      <name>profit</name>\n      <playList/>\n    </marker>\n"
           "    <marker>\n      <name>default</name>\n      <playList/>\n    </marker>\n"
           "  </markers>\n</Scene>\n";
    return out;
}

// The heart shop: a glowing heart, the countdown to the next one, and the
// heart's price in gold above the buy button, which sits in a widget of its
// own; asking friends beside it.
void heartShop(Content& c)
{
    keyedSprite(c, "heartGlow", "fx_sprites", "Glow", 126, 163, 32, 3.0f, 0.8f, 3.0f, 0.8f, 1, 3);
    sprite(c, "heart", "map_sprites", "HeartIcon", 96, 112, 2.2f, 1);
    text(c, "#heartText", "BUY_HEART_TEXT", 250, 84, 270, 90);
    text(c, "#timeTextTitle", "BUY_HEART_TIME_TITLE", 250, 186, 170, 40);
    c.scene += textObject(c, "#timeText", "00:00", false, 420, 186, 100, 40, "counter", "0.55 0.3 0.05");
    const int by = c.height - BUTTON_HEIGHT - 36;
    const int buyX = c.width / 2 - BUTTON_WIDTH - BUTTON_GAP / 2;
    c.scene += "      <Object name=\"btnBuy\">\n        <Parameters " +
               attributes(buyX - c.width / 2.0f, by - 58 - c.height / 2.0f, 0, 1, 1, 1) + " Enable=\"1\"/>\n"
               "        <Childs>\n" +
               spriteObject(Content{}, "heartCoin", "dialogs_sprites", "GoldCoin", 30, 4, 0.5f, 0.5f,
                            1) +
               textObject(Content{}, "#heart_price", "-11", false, 74, 4, 80, 40, "counter",
                          "0.7 0.45 0.05") +
               "        </Childs>\n      </Object>\n";
    c.widgets += "            { id = \"buyGroup\", class = \"UIWidget\", position = { " + std::to_string(buyX) + ", " +
                 std::to_string(by) + " },\n              childs = {\n" +
                 buttonTable({"btnBuy", "BUY_HEART_BUY"}, 0, 0, "                ") + "              } },\n";
    c.fading.push_back("buyGroup");
    c.fading.push_back("btnBuy");
    widgetButton(c, "btnAskFriends", "BUY_HEART_ASK", c.width / 2 + BUTTON_GAP / 2, by);
}

// The festival offer: its picture on the left, up to three items (a coin
// and an amount each) and the price beside its currency.
void holidayOffer(Content& c)
{
    keyedSprite(c, "imageGlow", "fx_sprites", "Glow", 104, 149, 32, 3.4f, 0.8f, 3.4f, 0.8f, 1, 3);
    // Festival sparkles about the picture.
    const int sparkles[][2] = {{30, 70}, {150, 80}, {40, 190}, {160, 200}, {540, 130}};
    for (size_t i = 0; i < std::size(sparkles); ++i)
        keyedSprite(c, "sparkle" + std::to_string(i), "fx_sprites", "Sparkle", float(sparkles[i][0]),
                    float(sparkles[i][1]), 32, 0.7f, 0.9f, 0.7f, 0.9f, 1, 2);
    sprite(c, "#image", "dialogs_sprites", "StarIcon", 70, 110, 1.6f, 1);
    text(c, "#offerText", "HOLIDAY_PURCHASE_TEXT", 230, 70, 330, 60);
    for (int i = 0; i < 3; ++i) {
        Content inner{};
        c.scene += "      <Object name=\"#item" + std::to_string(i) + "\">\n        <Parameters " +
                   attributes(230 + 110 * i - c.width / 2.0f, 150 - c.height / 2.0f, 0, 1, 1, 1) +
                   " Enable=\"1\"/>\n        <Childs>\n" +
                   spriteObject(inner, "#icon", "targets_sprites", "s_Layer_5_panel_valuta_psd", 10, 0, 0.9f, 0.9f,
                                1) +
                   textObject(inner, "#amount", "0", false, 0, 76, 96, 40, "counter", "0.55 0.3 0.05") +
                   "        </Childs>\n      </Object>\n";
    }
    c.scene += textObject(c, "#price", "", false, 230, 290, 160, 44, "counter", "0.55 0.3 0.05");
    c.scene += textObject(c, "#price_valuta", "", false, 400, 290, 150, 44, "text");
}

// A node's keyed position: one key frame per (frame, x, y).
std::string keyedPlaces(const std::vector<std::tuple<int, float, float>>& keys)
{
    std::string out = "        <frames loop=\"0\">\n";
    for (const auto& [frame, x, y] : keys)
        out += "          <frame StartFrame=\"" + std::to_string(frame) + "\"><Attributes " +
               attributes(x, y, 0, 1, 1, 1) + "/></frame>\n";
    return out + "        </frames>\n";
}

// The bonus and moves offer: a speech bubble under "root_group", which the
// game moves to the bonus button the offer is for (or to the middle of the
// screen). The window covers the workspace from its corner, so scene and
// workspace points are the same. The bubble's markers put it beside a
// button ("bonus<slot>h" right of it in landscape, "bonus<slot>v" above it
// in portrait) or about the middle ("center_h", "center_v"). Its buttons are
// widgets the game keeps on the nodes "btnBuy" and "btnClose".
constexpr int OFFER_BUBBLE_WIDTH = 400;
constexpr int OFFER_BUBBLE_HEIGHT = 300;

std::string buyBonusScene()
{
    // Inside the bubble points run from its corner.
    Content c{};
    std::string inner;
    inner += "          <Object type=\"Sprite\" name=\"frame\" filename=\"dialogs_sprites\" tablename=\"ParchmentPanel\">\n"
             "            <Parameters " +
             attributes(0, 0, 10, OFFER_BUBBLE_WIDTH / 420.0f, OFFER_BUBBLE_HEIGHT / 280.0f, 1) + " Enable=\"1\"/>\n          </Object>\n";
    inner += spriteObject(c, "ribbon", "widget_sprites", "TitleRibbon", OFFER_BUBBLE_WIDTH / 2.0f - 150, -20, 1, 1, 1);
    inner += textObject(c, "#title", "BONUS_GEFEST_TITLE", true, OFFER_BUBBLE_WIDTH / 2 - 130, -16, 260, 48, "title",
                        "1 1 1");
    inner += spriteObject(c, "#icon", "ui_sprites", "s_buster_gefest_busters_psd", 26, 54, 1.4f, 1.4f, 1);
    inner += textObject(c, "#desc", "BONUS_GEFEST_DESC", true, 150, 50, 220, 120, "text");
    inner += spriteObject(c, "#priceIcon", "dialogs_sprites", "SilverCoin", 60, 186, 0.55f, 0.55f, 1);
    inner += textObject(c, "#price", "0", false, 110, 188, 110, 44, "counter", "0.55 0.3 0.05");
    // The player's purse, small, along the foot of the bubble.
    inner += spriteObject(c, "purseSilver", "dialogs_sprites", "SilverCoin", 40, 250, 0.35f, 0.35f, 1);
    inner += textObject(c, "#silver", "0", false, 72, 250, 80, 30, "counter", "0.35 0.35 0.42");
    inner += spriteObject(c, "purseGold", "dialogs_sprites", "GoldCoin", 160, 250, 0.35f, 0.35f, 1);
    inner += textObject(c, "#gold", "0", false, 192, 250, 80, 30, "counter", "0.7 0.45 0.05");
    // The tails: left towards a button beside the bubble, down towards
    // one below it; each shown by the bubble's place (frame 1 and 2, 3).
    auto tail = [&](const std::string& name, const std::string& table, float x, float y, bool down) {
        auto key = [&](int frame, bool on) {
            return "              <frame StartFrame=\"" + std::to_string(frame) + "\"><Attributes " +
                   attributes(x, y, 11, 1, 1, on ? 1.0f : 0.0f) + "/></frame>\n";
        };
        return "          <Object type=\"Sprite\" name=\"" + name + "\" filename=\"dialogs_sprites\" tablename=\"" +
               table + "\">\n            <Parameters " + attributes(x, y, 11, 1, 1, 0) +
               " Enable=\"1\"/>\n            <frames loop=\"0\">\n" + key(0, false) + key(1, !down) +
               key(2, !down) + key(3, down) + "            </frames>\n          </Object>\n";
    };
    inner += tail("tailLeft", "BubbleTailLeft", -34, OFFER_BUBBLE_HEIGHT / 2.0f - 32, false);
    inner += tail("tailDown", "BubbleTailDown", OFFER_BUBBLE_WIDTH / 2.0f - 32, OFFER_BUBBLE_HEIGHT - 6, true);
    inner += "          <Object name=\"btnBuy\">\n            <Parameters " + attributes(220, 184, 0, 1, 1, 1) +
             " Enable=\"1\"/>\n          </Object>\n";
    inner += "          <Object name=\"btnClose\">\n            <Parameters " +
             attributes(OFFER_BUBBLE_WIDTH - 46, 6, 0, 1, 1, 1) + " Enable=\"1\"/>\n          </Object>\n";
    const float w = OFFER_BUBBLE_WIDTH;
    const float h = OFFER_BUBBLE_HEIGHT;
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        << "<!-- The bonus and moves offer, a bubble beside the bonus button or in the middle. Written by "
           "tools/ui_gen. -->\n"
        << "<Scene>\n"
        << "  <Object name=\"window\">\n"
        << "    <Parameters " << attributes(0, 0, 0, 1, 1, 1) << " Enable=\"1\"/>\n"
        << "    <frames loop=\"0\">\n"
        << "      <frame StartFrame=\"0\"><Attributes " << attributes(0, 0, 0, 1, 1, 0) << "/></frame>\n"
        << "      <frame StartFrame=\"8\"><Attributes " << attributes(0, 0, 0, 1, 1, 1) << "/></frame>\n"
        << "    </frames>\n"
        << "    <Childs>\n"
        // The middle of the workspace until the game places it.
        << "      <Object name=\"root_group\">\n"
        << "        <Parameters " << attributes(WORKSPACE_WIDTH / 2.0f, WORKSPACE_HEIGHT / 2.0f, 0, 1, 1, 1)
        << " Enable=\"1\"/>\n"
        << "        <Childs>\n"
        << "      <Object name=\"bubble\">\n"
        << "        <Parameters " << attributes(-w / 2, -h / 2, 0, 1, 1, 1) << " Enable=\"1\"/>\n"
        // 0 about the middle; right of a button of the panel's left column
        // (1, past the right column) or of its right column (2); 3 above it.
        << keyedPlaces({{0, -w / 2, -h / 2}, {1, 185, -h / 2}, {2, 90, -h / 2}, {3, -w / 2, -h - 70}})
        << "        <Childs>\n"
        << inner << "        </Childs>\n"
        << "      </Object>\n"
        << "        </Childs>\n"
        << "      </Object>\n"
        << "    </Childs>\n"
        << "  </Object>\n"
        << "  <markers>\n";
    auto play = [&](const std::string& name, const std::string& node, int from, int to) {
        out << "    <marker>\n      <name>" << name << "</name>\n      <playList>\n        <entry name=\"" << node
            << "\" from=\"" << from << "\" to=\"" << to << "\"/>\n      </playList>\n    </marker>\n";
    };
    play("init", "window", 0, 0);
    play("show", "window", 0, 8);
    play("hide", "window", 8, 0);
    out << "    <marker>\n      <name>onIdle</name>\n      <playList/>\n    </marker>\n"
        << "    <marker>\n      <name>onHide</name>\n      <playList/>\n    </marker>\n";
    // The bubble and its tails to one place.
    auto place = [&](const std::string& name, int frame) {
        out << "    <marker>\n      <name>" << name << "</name>\n      <playList>\n";
        for (const char* node : {"bubble", "tailLeft", "tailDown"})
            out << "        <entry name=\"" << node << "\" from=\"" << frame << "\" to=\"" << frame << "\"/>\n";
        out << "      </playList>\n    </marker>\n";
    };
    place("center_h", 0);
    place("center_v", 0);
    // Landscape puts the panel two by two, slots 0 and 2 on the left.
    for (int slot = 0; slot < 4; ++slot) {
        place("bonus" + std::to_string(slot) + "h", slot % 2 == 0 ? 1 : 2);
        place("bonus" + std::to_string(slot) + "v", 3);
    }
    out << "  </markers>\n</Scene>\n";
    return out.str();
}

std::string buyBonusScript()
{
    std::ostringstream out;
    out << "-- The bonus and moves offer: its scene covers the workspace from the corner; the game keeps the\n"
        << "-- buttons on the bubble's nodes.\n-- Written by tools/ui_gen.\n\n"
        << "BuyBonusWindow = {\n"
        << "    id = \"BuyBonusWindow\", class = \"UIWidget\", position = { 0, 0 },\n"
        << "    childs = {\n"
        << "        { id = \"gui\", class = \"UISceneNode\", scene = \"buy_bonus_window_xml\",\n"
        << "          childs = {\n"
        << "            { id = \"btnClose\", class = \"UIButton\", position = { 0, 0 }, customClientRect = { 0, 0, 40, 40 },\n"
        << "              childs = {\n"
        << "                  { id = \"btnCloseFace\", class = \"UISprite\", imagename = \"widget_sprites\", "
           "tablename = \"CloseButton\" },\n"
        << "              } },\n"
        << buttonTable({"btnBuy", "SHOP_BUY"}, 0, 0, "            ")
        << "          } },\n"
        << "    },\n"
        << "    states = {\n"
        << "        { id = \"onIdle\", propertyChanges = {\n";
    for (const char* piece : {"BuyBonusWindow", "gui", "btnClose", "btnCloseFace", "btnBuy"})
        out << "            { target = \"" << piece << "\", property = \"transparency\", duration = 0.25, value = 1 },\n";
    out << "        } },\n"
        << "    },\n"
        << "    initialState = \"onIdle\",\n"
        << "}\n";
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
    const Content inner{0, 0, "", "", {}, ""};
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
    std::string tick = spriteObject(Content{0, 0, "", "", {}, ""}, "thumbTick", "widget_sprites", "CheckTick", 0, 0, 1,
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
    const Content inner{0, 0, "", "", {}, ""};
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
    const Content inner{0, 0, "", "", {}, ""};
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
    const Content inner{0, 0, "", "", {}, ""};
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
    const Content inner{0, 0, "", "", {}, ""};
    return spriteObject(inner, "#photo", "social_sprites", "PhotoBlank", x + 4 * scale, y + 4 * scale, scale, scale,
                        3) +
           spriteObject(inner, "photoFrame", "social_sprites", "PhotoFrame", x, y, scale, scale, 2);
}

// A tick on its own node, "#check".
std::string rowCheck(const std::string& name, int x, int y, bool withBox)
{
    const Content inner{0, 0, "", "", {}, ""};
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
    const Content inner{0, 0, "", "", {}, ""};
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
    const Content inner{0, 0, "", "", {}, ""};
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
// does not yet name the panels' markers; `sideRight` stands the side board
// at the window's right, clear of the level's panels on the left.
void friendPanels(Content& c, bool ownMarkers, bool sideRight)
{
    const Content inner{0, 0, "", "", {}, ""};
    // Tall enough for the five cards of a full ranking.
    const int sideW = 180, sideH = std::min(c.height - 20, 480);
    const int sideX = sideRight ? c.width + 14 : -sideW - 14, sideY = (c.height - sideH) / 2;
    std::string side = spriteObject(inner, "leftBoard", "dialogs_sprites", "ParchmentPanel", 0, 0, sideW / 420.0f,
                                    sideH / 280.0f, 8);
    // The board's wooden rim grows with its height: the title stands clear
    // below it and the cards below the title.
    const int rim = sideH * 22 / 280;
    side += textObject(inner, "#left_list_title", "FRIENDS_LIST_TITLE", true, 10, rim + 8, sideW - 20, 36, "button");
    c.scene += groupObject(c, "leftPanel", sideX, sideY, 12, side);
    const int listY = sideY + rim + 50;
    const int listH = sideH - 2 * rim - 60;
    c.scene += listNode(c, "leftListFriends_node", sideX + 14, listY, 150, listH, 4);
    c.widgets += listWidget("leftListFriends", "leftListFriends_node", sideX + 14, listY, 150, listH, true);
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
    emblem("facebook_btn_left", sideX + 10, sideY + sideH / 2 - 40, sideW - 20);
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
    if (!writeText(media + "/scenes/valuta_purchase_item.xml", valutaRowScene()))
        return 1;
    if (!writeText(media + "/ui/buy_bonus_window.lua", buyBonusScript()) ||
        !writeText(media + "/scenes/buy_bonus_window.xml", buyBonusScene()))
        return 1;
    if (!writeText(media + "/ui/map_interface.lua", MapInterface::script()) ||
        !writeText(media + "/scenes/map_interface.xml", MapInterface::scene()))
        return 1;
    if (!writeText(media + "/ui/info_passive_bonus_window.lua", infoBubbleScript()) ||
        !writeText(media + "/scenes/info_passive_bonus_window.xml", infoBubbleScene()))
        return 1;
    if (!writeText(media + "/ui/tutorial_window.lua", TutorialWindowUi::script()) ||
        !writeText(media + "/scenes/tutorial_window.xml", TutorialWindowUi::scene()))
        return 1;
    if (!writeSocialContent(media))
        return 1;
    return 0;
}
