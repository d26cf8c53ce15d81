#pragma once
// A small writer of scene files for the content tools: nodes with every key
// written (an absent key reads 0), key frames, children and markers.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace SceneWriter {

struct Frame {
    int frame = 0;
    float x = 0, y = 0, sx = 1, sy = 1, a = 1, angle = 0;
};

struct Entry {
    // From the marker's owner, "/" first; without the slash, a node's name
    // searched from the owner (the owner itself included).
    std::string path;
    int from = 0;
    int to = 0;
    bool looped = false;
    bool recursive = false;
};

struct MarkerDef {
    std::string name;
    std::vector<Entry> entries;
};

struct Node {
    std::string type;  // "", "Sprite", "Text", "MovieCamera"
    std::string name;
    std::string file;
    std::string table;
    float x = 0, y = 0, z = 0, sx = 1, sy = 1, a = 1;
    float r = 1, g = 1, b = 1;
    bool enable = true;
    int blend = 0;
    std::string extra;  // further Parameters attributes, written as given
    bool loop = false;
    std::vector<Frame> frames;
    std::vector<Node> kids;
    std::vector<MarkerDef> markers;
};

inline std::string num(float v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
}

inline std::string escape(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

inline void writeMarkers(std::ostringstream& out, const std::vector<MarkerDef>& markers, const std::string& pad)
{
    if (markers.empty())
        return;
    out << pad << "<markers>\n";
    for (const MarkerDef& m : markers) {
        out << pad << "  <marker>\n" << pad << "    <name>" << escape(m.name) << "</name>\n";
        if (m.entries.empty()) {
            out << pad << "    <playList/>\n";
        } else {
            out << pad << "    <playList>\n";
            for (const Entry& e : m.entries)
                out << pad << "      <entry " << (e.path[0] == '/' ? "path" : "name") << "=\"" << escape(e.path)
                    << "\" from=\"" << e.from << "\" to=\"" << e.to
                    << "\"" << (e.looped ? " looped=\"1\"" : "") << (e.recursive ? " recursive=\"1\"" : "") << "/>\n";
            out << pad << "    </playList>\n";
        }
        out << pad << "  </marker>\n";
    }
    out << pad << "</markers>\n";
}

inline void writeNode(std::ostringstream& out, const Node& n, const std::string& pad)
{
    out << pad << "<Object";
    if (!n.type.empty())
        out << " type=\"" << n.type << "\"";
    out << " name=\"" << escape(n.name) << "\"";
    if (!n.file.empty())
        out << " filename=\"" << n.file << "\"";
    if (!n.table.empty())
        out << " tablename=\"" << n.table << "\"";
    out << ">\n";
    const std::string colour = " R=\"" + num(n.r) + "\" G=\"" + num(n.g) + "\" B=\"" + num(n.b) + "\"";
    out << pad << "  <Parameters X=\"" << num(n.x) << "\" Y=\"" << num(n.y) << "\" Z=\"" << num(n.z)
        << "\" angle=\"0\" scaleX=\"" << num(n.sx) << "\" scaleY=\"" << num(n.sy) << "\"" << colour << " A=\""
        << num(n.a) << "\" PivotPointX=\"0\" PivotPointY=\"0\" Enable=\"" << (n.enable ? 1 : 0) << "\"";
    if (n.blend)
        out << " BlendMode=\"" << n.blend << "\"";
    if (n.type == "MovieCamera")
        out << " parallaxCoef=\"0\"";
    if (!n.extra.empty())
        out << " " << n.extra;
    out << "/>\n";
    if (!n.frames.empty()) {
        out << pad << "  <frames loop=\"" << (n.loop ? 1 : 0) << "\">\n";
        for (const Frame& f : n.frames)
            out << pad << "    <frame StartFrame=\"" << f.frame << "\"><Attributes X=\"" << num(f.x) << "\" Y=\""
                << num(f.y) << "\" Z=\"" << num(n.z) << "\" angle=\"" << num(f.angle) << "\" scaleX=\"" << num(f.sx)
                << "\" scaleY=\"" << num(f.sy) << "\"" << colour << " A=\"" << num(f.a)
                << "\" PivotPointX=\"0\" PivotPointY=\"0\"" << (n.blend ? " BlendMode=\"" + std::to_string(n.blend) + "\"" : "")
                << "/></frame>\n";
        out << pad << "  </frames>\n";
    }
    if (!n.kids.empty()) {
        out << pad << "  <Childs>\n";
        for (const Node& k : n.kids)
            writeNode(out, k, pad + "    ");
        out << pad << "  </Childs>\n";
    }
    writeMarkers(out, n.markers, pad + "  ");
    out << pad << "</Object>\n";
}

// A document: the root's nodes and the root's own markers.
inline std::string document(const std::string& comment, const std::vector<Node>& nodes,
                            const std::vector<MarkerDef>& rootMarkers)
{
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- " << comment << " -->\n<Scene>\n";
    for (const Node& n : nodes)
        writeNode(out, n, "  ");
    writeMarkers(out, rootMarkers, "  ");
    out << "</Scene>\n";
    return out.str();
}

inline bool writeText(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    if (!file)
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return static_cast<bool>(file);
}

// Helpers for the usual pieces.
inline Node sprite(const std::string& name, const std::string& table, float x, float y, float z = 0)
{
    Node n;
    n.type = "Sprite";
    n.name = name;
    n.file = "map_sprites";
    n.table = table;
    n.x = x;
    n.y = y;
    n.z = z;
    return n;
}

inline Node group(const std::string& name, float x, float y, float z = 0)
{
    Node n;
    n.name = name;
    n.x = x;
    n.y = y;
    n.z = z;
    return n;
}

// A centred single line of text in an area of w x h with its top left at
// (x, y).
inline Node text(const std::string& name, const std::string& value, float x, float y, float w, float h,
                 const std::string& preset, float z = 0)
{
    Node n;
    n.type = "Text";
    n.name = name;
    n.file = "font2_fnt";
    n.x = x;
    n.y = y;
    n.z = z;
    n.extra = "Text=\"" + escape(value) + "\" LocaleEnable=\"0\" TextAreaX=\"" + num(w) + "\" TextAreaY=\"" + num(h) +
              "\" HAlign=\"1\" VAlign=\"1\" MaxChar=\"-1\" AutoScale=\"1\" PixelPrec=\"1\" UsePreset=\"1\" Preset=\"" +
              preset + "\"";
    return n;
}

// Two key frames of a node: as it is, and alpha/scale changed.
inline void fadeFrames(Node& n, int to, float fromA, float toA, float fromS = 1, float toS = 1)
{
    n.frames = {{0, n.x, n.y, n.sx * fromS, n.sy * fromS, fromA, 0}, {to, n.x, n.y, n.sx * toS, n.sy * toS, toA, 0}};
}

}  // namespace SceneWriter
