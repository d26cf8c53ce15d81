// A sprite node's sheet frames, read from the "Animation" block of its
// sprite description: from the XML twin when it holds the table, else from
// the Lua description.

#include <lua.hpp>

#include "animationeditor/sprite_scene_node.h"
#include "lua_script_2.h"
#include "xml_cached_files_manager.h"
#include "xml_data_reader.h"

namespace AE {

namespace {

// Appends the selected entries of `rects` to the node. An empty list or a
// first entry past the list changes nothing; a last entry past the list
// stops at the list's end.
void takeEntries(const std::vector<VQ::Rect>& rects, const FrameAnimationParams& params, SpriteSceneNode& node)
{
    const int64_t count = int64_t(rects.size());
    if (count == 0 || params.firstEntry < 0 || params.firstEntry >= count)
        return;
    int64_t last = params.lastEntry == 0 ? count - 1 : params.lastEntry;
    if (last > count - 1)
        last = count - 1;
    // A step below 1 would never leave the first entry.
    const int64_t step = params.entryStep < 1 ? 1 : params.entryStep;
    node.srcRect = rects[size_t(params.firstEntry)];
    for (int64_t i = params.firstEntry; i <= last; i += step)
        node.appendSheetFrame(rects[size_t(i)], int32_t(i));
}

}  // namespace

void readFrameAnimationXml(const std::string& table, const FrameAnimationParams& params, SpriteSceneNode& node,
                           VQ::XmlDataReader& reader)
{
    const pugi::xml_node start = reader.currentNode();
    if (!reader.enterNode(table) || !reader.enterNode("Animation") || !reader.enterNode("Frames")) {
        reader.setCurrentNode(start);
        return;
    }
    std::vector<VQ::Rect> rects;
    for (VQ::XmlArrayIterator it(reader); it != reader.arrayEnd(); it.next()) {
        float duration = 0.0f;
        reader.readFloat("duration", duration);
        VQ::Rect rect;
        reader.readRect("SrcRect0", rect);
        rects.push_back(rect);
    }
    takeEntries(rects, params, node);
    reader.setCurrentNode(start);
}

void readFrameAnimationLua(const std::string& table, const FrameAnimationParams& params, SpriteSceneNode& node,
                           VQ::LuaScript2& script)
{
    int opened = 0;
    for (const char* level : {table.c_str(), "Animation", "Frames"}) {
        if (!script.openTable(level))
            break;
        ++opened;
    }
    if (opened == 3) {
        std::vector<VQ::Rect> rects;
        VQ::forEachTableEntry(
            script,
            [&] {
                float duration = 0.0f;
                script.getFloat("duration", duration, 0.0f);
                float r[4];
                script.getRect("SrcRect0", r);
                rects.push_back(VQ::Rect(r[0], r[1], r[2], r[3]));
            },
            // An entry that is no table has no rectangle either.
            [&] { rects.push_back(VQ::Rect()); });
        takeEntries(rects, params, node);
    }
    while (opened-- > 0)
        script.closeTable();
}

void loadFrameAnimation(const FrameAnimationParams& params, SpriteSceneNode& node, const std::string& table)
{
    if (effectsLevel > 0) {
        VQ::XmlCachedFilesManager* cache = VQ::XmlCachedFilesManager::instance();
        VQ::XmlDataReader* reader = cache->getReader(currentLanguage(), node.fileName);
        const bool described = bool(reader->currentNode().child(table.c_str()));
        if (described)
            readFrameAnimationXml(table, params, node, *reader);
        cache->releaseReader(reader);
        if (described)
            return;
    }
    VQ::LuaScript2 script;
    script.load(node.fileName, "default");
    readFrameAnimationLua(table, params, node, script);
}

}  // namespace AE
