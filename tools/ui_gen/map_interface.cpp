#include "map_interface.h"

#include <sstream>
#include <string>
#include <vector>

#include "scene_writer.h"

namespace {

using namespace SceneWriter;

// Where the top panel stands on the workspace.
// A panel of 640 units, centred.
constexpr float PANEL_X = 543;
constexpr float PANEL_Y = 6;

struct HitArea {
    std::string id;
    float x, y, w, h;  // panel units
    std::string command;
};

const std::vector<HitArea>& hitAreas()
{
    static const std::vector<HitArea> areas = {
        {"btnMenu", 558, 16, 72, 72, "showMenu"},
        {"btnMail", -84, 16, 72, 72, "showMail"},
        {"btnBuyStars", 238, 30, 44, 44, "showBuyStarsWindow"},
        {"btnAction", 20, 20, 180, 62, "buyHolidayPurchase"},
    };
    return areas;
}

// A counter; the map writes the silver and the stars, the others are
// filled by whoever owns them and stay empty until then.
Node counter(const std::string& name, float x, float w, bool onParchment)
{
    const bool mapWrites = name == "#stars" || name == "#silver";
    Node n = text(name, mapWrites ? "0" : "", x, 30, w, 40, "counter", 1);
    if (onParchment) {
        n.r = 0.26f;
        n.g = 0.15f;
        n.b = 0.08f;
    } else {
        n.r = 1.0f;
        n.g = 0.86f;
        n.b = 0.5f;
    }
    return n;
}

// A short pulse of an icon: brighter and back.
MarkerDef pulse(const std::string& name, const std::string& path)
{
    return {name, {{path, 0, 12}}};
}

// The marker rings the award chime as well (half a second of it, longer
// than the chime itself).
MarkerDef withChime(MarkerDef marker)
{
    marker.entries.push_back({"/top_panel/awardChime", 0, 12});
    return marker;
}

Node icon(const std::string& name, const std::string& table, float x, float y)
{
    Node n = sprite(name, table, x, y, 1);
    n.frames = {{0, x, y, 1, 1, 1, 0}, {6, x - 6, y - 6, 1.2f, 1.2f, 1, 0}, {12, x, y, 1, 1, 1, 0}};
    return n;
}

}  // namespace

namespace MapInterface {

std::string script()
{
    std::ostringstream out;
    out << "-- The level map's interface: the top panel with the player's stars and\n"
           "-- silver, the menu and mail buttons and the star shop's button, over\n"
           "-- the map. The scene \"map_interface_xml\" draws it all; the buttons here are\n"
           "-- the areas that take the clicks.\n"
           "-- Written by tools/ui_gen.\n\n"
        << "MapInterface = {\n"
        << "    id = \"gui\", class = \"UISceneNode\", scene = \"map_interface_xml\", position = { 0, 0 },\n"
        << "    childs = {\n";
    for (const HitArea& a : hitAreas())
        out << "        { id = \"" << a.id << "\", class = \"UIButton\", position = { " << num(PANEL_X + a.x) << ", "
            << num(PANEL_Y + a.y) << " }, customClientRect = { 0, 0, " << num(a.w) << ", " << num(a.h) << " } },\n";
    out << "    },\n    initialState = \"onIdle\",\n    events = {\n";
    for (const HitArea& a : hitAreas())
        out << "        { element = \"" << a.id << "\", slot = \"clicked\", command = \"" << a.command << "\" },\n";
    out << "    },\n    states = {\n        { id = \"onIdle\", propertyChanges = {\n"
        << "            { target = \"gui\", property = \"transparency\", duration = 0, value = 1 },\n";
    for (const HitArea& a : hitAreas())
        out << "            { target = \"" << a.id << "\", property = \"transparency\", duration = 0, value = 1 },\n";
    out << "        } },\n    },\n}\n";
    return out.str();
}

std::string scene()
{
    Node panel = group("top_panel", PANEL_X, PANEL_Y, 0);
    panel.kids.push_back(sprite("panelBack", "TopPanel", 0, 0, 2));
    panel.kids.push_back(icon("#starIcon", "StarIcon", 70, 24));
    panel.kids.push_back(counter("#stars", 126, 104, true));
    panel.kids.push_back(sprite("plusStars", "PlusButton", 238, 30, 1));
    panel.kids.push_back(icon("#silverIcon", "SilverIcon", 310, 24));
    panel.kids.push_back(counter("#silver", 366, 104, true));
    panel.kids.push_back(sprite("menuButton", "MenuButton", 558, 16, 1));
    // The hearts, their timer and the gold are looked up by the map but
    // nothing writes them there, and the silver and gold pages of the
    // currency shop hold no products: the panel shows neither fields nor
    // "+" that would stay empty or open nothing. The nodes stay, switched
    // off.
    for (Node n : {counter("#heartText", 0, 50, true), counter("#timeText", 0, 66, true),
                   counter("#gold", 0, 60, false)}) {
        n.enable = false;
        panel.kids.push_back(n);
    }
    // The mail scroll stays folded away until there are requests.
    Node mail = sprite("mail", "MailScroll", -84, 16, 1);
    mail.frames = {{0, -84 + 36, 16 + 36, 0, 0, 0, 0}, {8, -84, 16, 1, 1, 1, 0}};
    mail.sx = mail.sy = 0;
    mail.a = 0;
    panel.kids.push_back(mail);
    // The time-limited offer: never shown while no offer runs; texts only,
    // so that its hidden area takes no clicks.
    Node action = group("#action_panel", 60, 20, 0);
    action.enable = false;
    action.kids.push_back(text("#action_title", "", 0, 0, 180, 30, "counter", 0));
    action.kids.push_back(text("#action_time", "", 0, 30, 180, 30, "counter", 0));
    panel.kids.push_back(action);
    // The chime of an award landing on its counter.
    Node chime;
    chime.type = "Sound";
    chime.name = "awardChime";
    chime.file = "award_chime_sound";
    chime.extra = "Volume=\"0.8\" Playing=\"1\" SoundGroup=\"0\" priority=\"30\"";
    panel.kids.push_back(chime);

    const std::vector<MarkerDef> markers = {
        withChime(pulse("getStar", "/top_panel/#starIcon")), withChime(pulse("getSilver", "/top_panel/#silverIcon")),
        {"scroll_open", {{"/top_panel/mail", 0, 8}}},
        {"onIdle", {}}, {"onHide", {}}};
    return document("The level map's top panel. Written by tools/ui_gen.", {panel}, markers);
}

}  // namespace MapInterface
