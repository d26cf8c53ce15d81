// Writes the level map's scenes from the campaign catalogue: one map per
// episode (scenes/<mapScene>.xml), its painted valley in tiles, the lamps
// along the road, one placeholder "#<level file>" per level spread along
// the road, a gate placeholder "#blocker:<k>" before each part that needs
// stars (and at the end, into the next episode), the episode signposts,
// "#episodeEnd", the camera with its bounds and a few banners in the wind;
// and the pieces the map places on it: the level medallion, the
// lantern-bearer, the gate and the two flying awards.
//
//     map_gen <media folder>
//
// Reads scripts/main_mode.lua; run it again when levels are appended.

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include <cstdio>
#include <string>
#include <vector>

#include "map_path.h"
#include "scene_writer.h"

namespace {

using namespace SceneWriter;

struct Part {
    std::vector<std::string> levels;
    std::string openMarker;
};

struct Episode {
    std::string mapScene;
    std::vector<Part> parts;
};

std::string field(lua_State* L, const char* key)
{
    lua_getfield(L, -1, key);
    std::string value = lua_isstring(L, -1) ? lua_tostring(L, -1) : "";
    lua_pop(L, 1);
    return value;
}

bool readCatalogue(const std::string& path, std::vector<Episode>& episodes)
{
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    if (luaL_dofile(L, path.c_str()) != 0) {
        std::fprintf(stderr, "map_gen: %s\n", lua_tostring(L, -1));
        lua_close(L);
        return false;
    }
    lua_getglobal(L, "episodes");
    for (int e = 1; lua_istable(L, -1); ++e) {
        lua_rawgeti(L, -1, e);
        if (!lua_istable(L, -1)) {
            lua_pop(L, 1);
            break;
        }
        Episode episode;
        episode.mapScene = field(L, "mapScene");
        lua_getfield(L, -1, "parts");
        for (int p = 1; lua_istable(L, -1); ++p) {
            lua_rawgeti(L, -1, p);
            if (!lua_istable(L, -1)) {
                lua_pop(L, 1);
                break;
            }
            Part part;
            part.openMarker = field(L, "openMarker");
            lua_getfield(L, -1, "levels");
            for (int l = 1; lua_istable(L, -1); ++l) {
                lua_rawgeti(L, -1, l);
                if (!lua_istable(L, -1)) {
                    lua_pop(L, 1);
                    break;
                }
                part.levels.push_back(field(L, "file"));
                lua_pop(L, 1);
            }
            lua_pop(L, 2);
            episode.parts.push_back(part);
        }
        lua_pop(L, 2);
        episodes.push_back(episode);
    }
    lua_close(L);
    return true;
}

std::string stem(const std::string& resource)
{
    const size_t cut = resource.rfind("_xml");
    return cut == std::string::npos ? resource : resource.substr(0, cut);
}

// A lamp by the road: its flame fades in over 12 frames when a marker lights it.
Node lamp(int index, MapPath::Point at)
{
    Node post = group("lamp_" + std::to_string(index), at.x, at.y, 8);
    post.kids.push_back(sprite("post", "LampPost", -20, -80, 8));
    Node flame = sprite("flame_" + std::to_string(index), "LampFlame", -48, -110, 7);
    flame.blend = 2;
    fadeFrames(flame, 12, 0, 1);
    post.kids.push_back(flame);
    return post;
}

// The signpost to another episode, with the episode button's markers; its
// board hangs right and down from the node's place.
Node signpost(const std::string& name, bool up, MapPath::Point at)
{
    Node sign = group(name, at.x, at.y, 6);
    Node board = sprite("board", up ? "SignUp" : "SignDown", 0, 0, 6);
    board.frames = {{0, 0, 0, 1, 1, 0.9f, 0}, {6, 0, -4, 1, 1, 1, 0}, {12, 0, 4, 1, 1, 1, 0}};
    sign.kids.push_back(board);
    Node glowNode = sprite("shine", "SelectGlow", -32, -40, 7);
    glowNode.blend = 2;
    glowNode.frames = {{0, -32, -40, 1, 1, 0, 0}, {6, -32, -40, 1, 1, 0.7f, 0}, {12, -32, -40, 1, 1, 0.4f, 0}};
    sign.kids.push_back(glowNode);
    auto entries = [](int from, int to) {
        return std::vector<Entry>{{"/board", from, to}, {"/shine", from, to}};
    };
    sign.markers = {{"regular", entries(0, 0)},           {"regular>selected", entries(0, 6)},
                    {"selected>regular", entries(6, 0)},  {"selected>pressed", entries(6, 12)},
                    {"pressed>regular", entries(12, 0)},  {"pressed>selected", entries(12, 6)}};
    return sign;
}

bool writeMap(const std::string& media, const std::vector<Episode>& episodes, size_t index)
{
    const Episode& episode = episodes[index];
    const MapPath::Valley v = MapPath::valley(static_cast<int>(index));
    const bool last = index + 1 == episodes.size();
    std::vector<Node> nodes;

    // The camera first: bounds are the valley's extent in both orientations.
    Node camera;
    camera.type = "MovieCamera";
    camera.name = "#camera";
    camera.enable = true;
    const std::string hor = "0:" + std::to_string(v.width), ver = "0:" + std::to_string(v.height);
    camera.markers = {{"#h:bound-hor:" + hor, {}}, {"#h:bound-ver:" + ver, {}}, {"#v:bound-hor:" + hor, {}},
                      {"#v:bound-ver:" + ver, {}}, {"#over:80", {}}};
    nodes.push_back(camera);

    Node valley = group("valley", 0, 0, 100);
    const std::string tilePrefix = "map_ep" + std::to_string(index + 1) + "_r";
    for (int row = 0; row * MapPath::TILE_STEP < v.height; ++row)
        for (int col = 0; col * MapPath::TILE_STEP < v.width; ++col) {
            Node tile;
            tile.type = "Sprite";
            tile.name = "tile_r" + std::to_string(row) + "c" + std::to_string(col);
            tile.file = tilePrefix + std::to_string(row) + "c" + std::to_string(col) + "_image";
            tile.table = "default";
            tile.x = float(col * MapPath::TILE_STEP - MapPath::BLEED);
            tile.y = float(row * MapPath::TILE_STEP - MapPath::BLEED);
            tile.z = 100;
            const std::string low = std::to_string(MapPath::BLEED);
            const std::string high = std::to_string(MapPath::TILE_SIZE - MapPath::BLEED);
            tile.extra = "clipEnabled=\"1\" clipRectL=\"" + low + "\" clipRectT=\"" + low + "\" clipRectR=\"" + high +
                         "\" clipRectB=\"" + high + "\"";
            valley.kids.push_back(tile);
        }
    nodes.push_back(valley);

    // The places along the road: a gate before every part but the first
    // (and before the first when this episode is not the first), the
    // levels, and a gate into the next episode at the end.
    struct Slot {
        std::string name;
        int part;
        bool gate;
    };
    std::vector<Slot> slots;
    for (size_t p = 0; p < episode.parts.size(); ++p) {
        if (p > 0 || index > 0)
            slots.push_back({"#blocker:" + std::to_string(p), int(p), true});
        for (const std::string& file : episode.parts[p].levels)
            slots.push_back({"#" + file, int(p), false});
    }
    if (!last)
        slots.push_back({"#blocker:" + std::to_string(episode.parts.size()), int(episode.parts.size()), true});
    const std::vector<MapPath::Point> places = MapPath::placesAlong(v, int(slots.size()) + 1, 0.03f, 0.95f);

    // Lamps halfway between neighbouring places, lit part by part.
    Node lamps = group("lamps", 0, 0, 8);
    std::vector<std::vector<std::string>> lampsOfPart(episode.parts.size() + 1);
    for (size_t i = 0; i + 1 < places.size(); ++i) {
        const MapPath::Point mid{(places[i].x + places[i + 1].x) / 2 + 52, (places[i].y + places[i + 1].y) / 2};
        lamps.kids.push_back(lamp(int(i), mid));
        lampsOfPart[size_t(slots[i].part)].push_back("/lamps/lamp_" + std::to_string(i) + "/flame_" + std::to_string(i));
    }
    nodes.push_back(lamps);

    for (size_t i = 0; i < slots.size(); ++i)
        nodes.push_back(group(slots[i].name, places[i].x, places[i].y, slots[i].gate ? 3 : 4));
    nodes.push_back(group("#episodeEnd", places.back().x, places.back().y - 40, 2));

    // Banners in the wind by the start and the end of the road.
    const MapPath::Point banners[] = {{places.front().x - 260, places.front().y - 140},
                                      {places.back().x + 180, places.back().y + 40},
                                      {float(v.width) * 0.72f, float(v.height) * 0.5f}};
    for (int b = 0; b < 3; ++b) {
        Node banner;
        banner.type = "Sprite";
        banner.name = "#mesh:banner_" + std::to_string(b);
        banner.file = "banner_sprites";
        banner.table = "Banner";
        banner.x = banners[b].x;
        banner.y = banners[b].y;
        banner.z = 9;
        banner.sx = banner.sy = 0.6f;
        banner.markers = {{"#segments:16x2", {}}, {"#transformer:Wind", {}}, {"#speed:1.4", {}},
                          {"#phase:" + std::to_string(b), {}}};
        nodes.push_back(banner);
    }

    const MapPath::Point top = places.back(), bottom = places.front();
    // The last episode keeps its signpost too: the way on is not open yet.
    nodes.push_back(signpost("@nextEpisode", true, {top.x - 300, top.y + 150}));
    if (index > 0)
        nodes.push_back(signpost("@prevEpisode", false, {bottom.x + 160, bottom.y - 150}));

    // "init" lights the first part's lamps one after another; each part's
    // open marker lights the road into the next part.
    auto lightUp = [](const std::vector<std::string>& flames) {
        std::vector<Entry> entries;
        for (const std::string& flame : flames)
            entries.push_back({flame, 0, 12});
        return entries;
    };
    std::vector<MarkerDef> markers = {{"init", lightUp(lampsOfPart[0])}};
    for (size_t p = 0; p < episode.parts.size(); ++p)
        if (!episode.parts[p].openMarker.empty())
            markers.push_back({episode.parts[p].openMarker, lightUp(lampsOfPart[p + 1])});
    const std::string name = stem(episode.mapScene);
    return writeText(media + "/scenes/" + name + ".xml",
                     document("Episode " + std::to_string(index + 1) +
                                  "'s map. Written by tools/map_gen from the campaign catalogue.",
                              nodes, markers));
}

// The level medallion: rim and three faces (locked, open, won), the number,
// up to three stars, the glow of the figure's level and the friends' slots.
bool writeLevelScene(const std::string& media)
{
    // The medallion grows a little under the pointer: the growing part is
    // the child "body", so that the clone keeps the place the map gives it.
    Node level = group("level", 0, 0, 4);
    Node body = group("body", 0, 0, 4);
    body.frames = {{0, 0, 0, 1, 1, 1, 0}, {6, 0, 0, 1.12f, 1.12f, 1, 0}};
    Node glowNode = sprite("glow", "SelectGlow", -96, -96, 5);
    glowNode.blend = 2;
    glowNode.frames = {{0, -96, -96, 1, 1, 0, 0}, {12, -96, -96, 1, 1, 1, 0}, {36, -96, -96, 1, 1, 0.55f, 0}};
    body.kids.push_back(glowNode);
    body.kids.push_back(sprite("rim", "LevelRim", -64, -64, 4));
    for (const char* face : {"faceLocked", "faceOpen", "faceWon"}) {
        Node n = sprite(face, std::string("Level") + (face + 4), -64, -64, 3.5f);
        fadeFrames(n, 6, 0, 1);
        body.kids.push_back(n);
    }
    Node number = text("text", "1", -50, -22, 100, 40, "counter", 3);
    number.r = 0.24f;
    number.g = 0.14f;
    number.b = 0.08f;
    body.kids.push_back(number);
    const float starX[] = {-70, -24, 22}, starY[] = {-86, -100, -86};
    for (int s = 0; s < 3; ++s) {
        Node dim = sprite("slot" + std::to_string(s + 1), "StarDim", starX[s], starY[s], 3.2f);
        fadeFrames(dim, 6, 0, 1);
        body.kids.push_back(dim);
        Node lit = sprite("star" + std::to_string(s + 1), "Star", starX[s], starY[s], 3);
        fadeFrames(lit, 8 + 4 * s, 0, 1);
        body.kids.push_back(lit);
    }
    level.kids.push_back(body);
    // The figure stands at the medallion's lower right, below its stars.
    level.kids.push_back(group("#user", 80, 96, 2));
    level.kids.push_back(group("#center", 0, 0, 2));
    Node roller = group("#roller", 48, -60, 2);
    roller.enable = false;
    roller.kids.push_back(sprite("rollerFace", "Portrait", -20, -20, 2));
    fadeFrames(roller, 6, 0.8f, 1, 1, 1);
    level.kids.push_back(roller);
    for (int k = 0; k < 3; ++k) {
        Node slot = group(k == 0 ? "#portret" : "#portret" + std::to_string(k), -90.0f + 40 * k, 60, 2);
        slot.enable = false;
        slot.kids.push_back(sprite("#trigger", "Portrait", 0, 0, 2));
        level.kids.push_back(slot);
    }
    auto faces = [](int from, int to, const std::string& face) { return Entry{"/body/" + face, from, to}; };
    std::vector<MarkerDef>& m = level.markers;
    m.push_back({"init", {{"/#center", 0, 0}}});
    m.push_back({"select", {{"/body/glow", 0, 36}}});
    m.push_back({"unselect", {{"/body/glow", -1, 0}}});
    for (int s = 0; s <= 3; ++s) {
        MarkerDef star{"star" + std::to_string(s), {faces(0, 6, "faceWon"), faces(-1, 0, "faceLocked"), faces(-1, 0, "faceOpen")}};
        for (int k = 1; k <= 3; ++k)
            star.entries.push_back(k <= s ? Entry{"/body/star" + std::to_string(k), 0, 8 + 4 * (k - 1)}
                                          : Entry{"/body/slot" + std::to_string(k), 0, 6});
        m.push_back(star);
    }
    m.push_back({"disable", {faces(0, 6, "faceLocked")}});
    m.push_back({"show", {faces(0, 6, "faceOpen"), faces(-1, 0, "faceLocked")}});
    m.push_back({"onSelect", {{"/body", -1, 6}}});
    m.push_back({"onRegular", {{"/body", -1, 0}}});
    m.push_back({"expand", {{"/#roller", 0, 6}}});
    return writeText(media + "/scenes/level_scene.xml",
                     document("A level's medallion on the map. Written by tools/map_gen.", {level}, {}));
}

bool writePlayerScene(const std::string& media)
{
    Node figure = group("figure", 0, 0, -2);
    figure.frames = {{0, 0, 0, 1, 1, 1, 0}, {6, 0, -10, 1, 1, 1, 0}, {12, 0, 0, 1, 1, 1, 0},
                     {18, 0, -10, 1, 1, 1, 0}, {24, 0, 0, 1, 1, 1, 0}, {30, 0, -10, 1, 1, 1, 0},
                     {36, 0, 0, 1, 1, 1, 0}};
    figure.kids.push_back(sprite("body", "Player", -44, -124, -2));
    Node light = sprite("lanternLight", "LampFlame", -12, -102, -3);
    light.blend = 2;
    light.loop = true;
    light.frames = {{0, -12, -102, 1, 1, 0.7f, 0}, {9, -12, -102, 1, 1, 1, 0}, {17, -12, -102, 1, 1, 0.6f, 0},
                    {24, -12, -102, 1, 1, 0.7f, 0}};
    figure.kids.push_back(light);
    Node portrait = sprite("portret", "Portrait", -32, -200, -2);
    portrait.a = 0;
    figure.kids.push_back(portrait);
    const std::vector<MarkerDef> markers = {{"init", {{"/figure/lanternLight", 0, 24, true}}},
                                            {"move", {{"/figure", 0, 36}}}};
    return writeText(media + "/scenes/player_scene.xml",
                     document("The lantern-bearer who walks the map. Written by tools/map_gen.", {figure}, markers));
}

bool writeBlockerScene(const std::string& media)
{
    Node gate = sprite("gate", "Gate", -96, -150, 3);
    gate.frames = {{0, -96, -150, 1, 1, 1, 0}, {18, -96, -110, 1, 1, 0, 0}};
    Node price = text("#stars", "0", -16, -132, 60, 36, "counter", 2.5f);
    price.r = 0.24f;
    price.g = 0.14f;
    price.b = 0.08f;
    price.frames = {{0, -16, -132, 1, 1, 1, 0}, {18, -16, -92, 1, 1, 0, 0}};
    Node shine = sprite("shine", "SelectGlow", -96, -160, 2.6f);
    shine.blend = 2;
    shine.loop = true;
    shine.frames = {{0, -96, -160, 1, 1, 0.25f, 0}, {24, -96, -160, 1, 1, 0.5f, 0}, {48, -96, -160, 1, 1, 0.25f, 0}};
    // The creak of the gate swinging open; longer than the opening, so that
    // the sound is never cut.
    Node creak;
    creak.type = "Sound";
    creak.name = "creak";
    creak.file = "gate_creak_sound";
    creak.extra = "Volume=\"1\" Playing=\"1\" SoundGroup=\"0\" priority=\"30\"";
    const std::vector<MarkerDef> markers = {
        {"init", {{"/shine", 0, 48, true}}},
        {"open", {{"/gate", 0, 18}, {"/#stars", 0, 18}, {"/shine", -1, 0}, {"/creak", 0, 24}}}};
    return writeText(media + "/scenes/blocker_scene.xml",
                     document("The gate before a part that needs stars. Written by tools/map_gen.",
                              {gate, price, shine, creak}, markers));
}

bool writeAward(const std::string& media, const std::string& file, const std::string& table)
{
    Node award = sprite("award", table, -24, -24, -6);
    award.frames = {{0, -24, -24, 1, 1, 0.3f, 0}, {6, -24, -24, 1, 1, 1, 0}};
    Node trail = sprite("trail", "SelectGlow", -96, -96, -5);
    trail.blend = 2;
    trail.sx = trail.sy = 1;
    trail.frames = {{0, -96, -96, 1, 1, 0, 0}, {6, -96, -96, 1, 1, 0.6f, 0}};
    const std::vector<MarkerDef> markers = {{"init", {{"/award", 0, 6}, {"/trail", 0, 6}}}};
    return writeText(media + "/scenes/" + file + ".xml",
                     document("An award flying to the top panel. Written by tools/map_gen.", {award, trail}, markers));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: map_gen <media folder>\n");
        return 2;
    }
    const std::string media = argv[1];
    std::vector<Episode> episodes;
    if (!readCatalogue(media + "/scripts/main_mode.lua", episodes) || episodes.empty()) {
        std::fprintf(stderr, "map_gen: the catalogue has no episodes\n");
        return 1;
    }
    for (size_t i = 0; i < episodes.size(); ++i)
        if (!writeMap(media, episodes, i))
            return 1;
    const bool ok = writeLevelScene(media) && writePlayerScene(media) && writeBlockerScene(media) &&
                    writeAward(media, "award_star", "Star") && writeAward(media, "award_silver", "Coin");
    return ok ? 0 : 1;
}
