// The tutorial's hint window, laid out about the point it teaches: the
// window's root sits on that point, so the scene's origin is the point.
// Markers "0", "45", ... "315" turn the arrow to point that way (0 right,
// 90 down) and set the parchment bubble beyond its tail; "center" puts the
// bubble on the origin without an arrow. "#aura" glows at the point while
// the arrow shows. The close button takes a click anywhere on the screen,
// so that the player may close the hint wherever the bubble stands; the
// bubble shows its face.

#include "tutorial_window.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace TutorialWindowUi {
namespace {

constexpr float BUBBLE_HALF_W = 230.0f;
constexpr float BUBBLE_HALF_H = 100.0f;
// From the point to the arrow's tip, and the arrow's length.
constexpr float TIP_GAP = 20.0f;
constexpr float ARROW_LENGTH = 92.0f;
constexpr float TAIL_MARGIN = 8.0f;
constexpr int DIRECTIONS = 8;
constexpr int CENTRE_FRAME = DIRECTIONS;

std::string number(float value)
{
    std::ostringstream out;
    out << std::round(value * 100.0f) / 100.0f;
    return out.str();
}

// Larger Z lies further back.
std::string values(float x, float y, float scale, float alpha, float z = 0.0f)
{
    return "X=\"" + number(x) + "\" Y=\"" + number(y) + "\" Z=\"" + number(z) + "\" angle=\"0\" scaleX=\"" + number(scale) +
           "\" scaleY=\"" + number(scale) + "\" R=\"1\" G=\"1\" B=\"1\" A=\"" + number(alpha) +
           "\" PivotPointX=\"0\" PivotPointY=\"0\"";
}

struct Key {
    int frame;
    float x, y, scale, alpha;
};

std::string frames(const std::vector<Key>& keys, bool loop = false)
{
    std::string out = std::string("        <frames loop=\"") + (loop ? "1" : "0") + "\">\n";
    for (const Key& k : keys)
        out += "          <frame StartFrame=\"" + std::to_string(k.frame) + "\"><Attributes " +
               values(k.x, k.y, k.scale, k.alpha) + "/></frame>\n";
    return out + "        </frames>\n";
}

std::string spriteNode(const std::string& name, const std::string& table, float x, float y, float z,
                       const std::string& keyed = "", const std::string& children = "")
{
    return "      <Object type=\"Sprite\" name=\"" + name + "\" filename=\"tutorial_sprites\" tablename=\"" + table +
           "\">\n        <Parameters " + values(x, y, 1, 1, z) + " Enable=\"1\"/>\n" + keyed + children +
           "      </Object>\n";
}

std::string group(const std::string& name, float x, float y, const std::string& keyed, const std::string& children)
{
    return "      <Object name=\"" + name + "\">\n        <Parameters " + values(x, y, 1, 1) + " Enable=\"1\"/>\n" +
           keyed + "        <Childs>\n" + children + "        </Childs>\n      </Object>\n";
}

float radians(int direction)
{
    return float(direction) * 45.0f * float(M_PI) / 180.0f;
}

// A bubble beside its point (arrow level, pointing left or right) stands
// a fifth smaller, so that it stays on a 4:3 screen beside a board cell.
float bubbleScale(int i)
{
    return i % (DIRECTIONS / 2) == 0 ? 0.8f : 1.0f;
}

// The bubble's centre for an arrow pointing along direction `i`: beyond the
// arrow's tail, its nearest edge a margin from the tail.
void bubbleCentre(int i, float& x, float& y)
{
    const float dx = std::cos(radians(i)), dy = std::sin(radians(i));
    const float exitX = std::fabs(dx) > 1e-3f ? bubbleScale(i) * BUBBLE_HALF_W / std::fabs(dx) : 1e9f;
    const float exitY = std::fabs(dy) > 1e-3f ? bubbleScale(i) * BUBBLE_HALF_H / std::fabs(dy) : 1e9f;
    const float t = TIP_GAP + ARROW_LENGTH + TAIL_MARGIN + std::min(exitX, exitY);
    x = -t * dx;
    y = -t * dy;
}

struct Marker {
    std::string name;
    std::vector<std::string> entries;
};

std::string entry(const std::string& node, int from, int to, bool looped = false)
{
    return "        <entry name=\"" + node + "\" from=\"" + std::to_string(from) + "\" to=\"" + std::to_string(to) +
           "\"" + (looped ? " looped=\"1\"" : "") + "/>\n";
}

}  // namespace

std::string script()
{
    return "-- The tutorial's hint window: the bubble, the arrow and the close button\n"
           "-- over the darkened screen; the game places the root on the point taught.\n"
           "-- Written by tools/ui_gen.\n\n"
           "TutorialWindow = {\n"
           "    id = \"TutorialWindow\", class = \"UIWidget\", position = { 863, 485 },\n"
           "    childs = {\n"
           "        { id = \"gui\", class = \"UISceneNode\", scene = \"tutorial_window_xml\",\n"
           "          childs = {\n"
           "            { id = \"btnClose\", class = \"UIButton\", position = { -1800, -1000 },\n"
           "              customClientRect = { 0, 0, 3600, 2000 } },\n"
           "          } },\n"
           "    },\n"
           "    states = {\n"
           "        { id = \"onIdle\", propertyChanges = {\n"
           "            { target = \"TutorialWindow\", property = \"transparency\", duration = 0.2, value = 1 },\n"
           "            { target = \"gui\", property = \"transparency\", duration = 0.2, value = 1 },\n"
           "            { target = \"btnClose\", property = \"transparency\", duration = 0.2, value = 1 },\n"
           "        } },\n"
           "    },\n"
           "    initialState = \"onIdle\",\n"
           "}\n";
}

std::string scene()
{
    // Direction frames 0 to 7 and the centred frame 8, keyed on every node
    // the direction markers move.
    std::vector<Key> place;
    for (int i = 0; i < DIRECTIONS; ++i) {
        float x = 0.0f, y = 0.0f;
        bubbleCentre(i, x, y);
        place.push_back({i, x, y, bubbleScale(i), 1});
    }
    place.push_back({CENTRE_FRAME, 0, 0, 1, 1});

    std::string arrows;
    for (int i = 0; i < DIRECTIONS; ++i) {
        const float reach = TIP_GAP + 48.0f;
        const float cx = -reach * std::cos(radians(i)) - 64.0f;
        const float cy = -reach * std::sin(radians(i)) - 64.0f;
        std::vector<Key> keys;
        for (int f = 0; f <= CENTRE_FRAME; ++f)
            keys.push_back({f, cx, cy, 1, f == i ? 1.0f : 0.0f});
        arrows += spriteNode("arrow" + std::to_string(i * 45), "Arrow" + std::to_string(i * 45), cx, cy, 1,
                             frames(keys));
    }
    const std::string aura =
        group("#aura", 0, 0,
              frames({{0, 0, 0, 0.85f, 0.55f}, {12, 0, 0, 1.12f, 1.0f}, {24, 0, 0, 0.85f, 0.55f}}),
              spriteNode("auraGlow", "Aura", -80, -80, 3));
    const std::string arrowLayer =
        group("arrowLayer", 0, 0, frames({{0, 0, 0, 1, 0}, {1, 0, 0, 1, 1}}), aura + arrows);

    // Text nodes keep their own layout values; a group above moves them.
    const std::string text = group(
        "textPlace", 0, -62, frames({{0, 0, -62, 1, 1}, {1, 0, -84, 1, 1}}),
        "      <Object type=\"Text\" name=\"#text\" filename=\"main_font_fnt\">\n        <Parameters " +
            values(-200, 0, 1, 1) +
            " Enable=\"1\" Text=\"\" LocaleEnable=\"1\" TextAreaX=\"400\" TextAreaY=\"124\" MaxChar=\"-1\" "
            "AutoScale=\"1\" PixelPrec=\"1\" UsePreset=\"1\" Preset=\"hint\"/>\n      </Object>\n");
    const std::string okFace = group(
        "okFace", -80, 30, frames({{0, -80, 30, 1, 0}, {1, -80, 30, 1, 1}}),
        "      <Object type=\"Sprite\" name=\"okFaceIdle\" filename=\"widget_sprites\" tablename=\"ButtonIdle\">\n"
        "        <Parameters " + values(0, 0, 1, 1, 1) + " Enable=\"1\"/>\n      </Object>\n"
        "      <Object type=\"Text\" name=\"okText\" filename=\"main_font_fnt\">\n        <Parameters " +
            values(0, 0, 1, 1) +
            " Enable=\"1\" Text=\"TUTORIAL_OK\" LocaleEnable=\"1\" TextAreaX=\"160\" TextAreaY=\"48\" "
            "MaxChar=\"-1\" AutoScale=\"1\" PixelPrec=\"1\" UsePreset=\"1\" Preset=\"button\"/>\n"
            "      </Object>\n");
    const std::string bubble =
        group("bubble", 0, 0,
              frames({{0, 0, 0, 0.85f, 0}, {8, 0, 0, 1, 1}}),
              spriteNode("bubbleFace", "Bubble", -BUBBLE_HALF_W, -BUBBLE_HALF_H, 10) + text + okFace);
    const std::string bubblePlace = group("bubblePlace", 0, 0, frames(place), bubble);

    std::vector<Marker> markers;
    markers.push_back({"init", {entry("base", 0, 0)}});
    markers.push_back({"show", {entry("bubble", 0, 8)}});
    markers.push_back({"hide", {entry("bubble", 8, 0)}});
    std::vector<std::string> centre;
    for (int i = 0; i < DIRECTIONS; ++i)
        centre.push_back(entry("arrow" + std::to_string(i * 45), CENTRE_FRAME, CENTRE_FRAME));
    centre.push_back(entry("bubblePlace", CENTRE_FRAME, CENTRE_FRAME));
    markers.push_back({"center", centre});
    for (int d = 0; d < DIRECTIONS; ++d) {
        std::vector<std::string> turn;
        for (int i = 0; i < DIRECTIONS; ++i)
            turn.push_back(entry("arrow" + std::to_string(i * 45), d, d));
        turn.push_back(entry("bubblePlace", d, d));
        markers.push_back({std::to_string(d * 45), turn});
    }
    markers.push_back({"show_arrow", {entry("arrowLayer", 1, 1), entry("#aura", 0, 24, true)}});
    markers.push_back({"hide_arrow", {entry("arrowLayer", 0, 0)}});
    markers.push_back({"show_button", {entry("okFace", 1, 1), entry("textPlace", 1, 1)}});
    markers.push_back({"hide_button", {entry("okFace", 0, 0), entry("textPlace", 0, 0)}});
    // Played by the host as the window is shown and hidden; the window's
    // own markers do the work.
    markers.push_back({"onIdle", {}});
    markers.push_back({"onHide", {}});

    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<!-- The tutorial's hint window about the point it teaches. Written by tools/ui_gen. -->\n"
                      "<Scene>\n" +
                      group("base", 0, 0, frames({{0, 0, 0, 1, 1}}), "") + arrowLayer + bubblePlace +
                      "  <markers>\n";
    for (const Marker& m : markers) {
        out += "    <marker>\n      <name>" + m.name + "</name>\n      <playList>\n";
        for (const std::string& e : m.entries)
            out += e;
        out += "      </playList>\n    </marker>\n";
    }
    return out + "  </markers>\n</Scene>\n";
}

}  // namespace TutorialWindowUi
