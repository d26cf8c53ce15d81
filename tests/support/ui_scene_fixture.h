#pragma once
// The interface fixture with the sprite descriptions' XML cache, for the
// widgets that host animation scenes, and small writers of scene documents
// (every key written, as the loader wants).

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>

#include "animationeditor/scene_node.h"
#include "support/ui_fixture.h"
#include "xml_cached_files_manager.h"

namespace TestSupport {

namespace SceneXml {

inline std::string num(float v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(v));
    return text;
}

inline std::string values(float x, float y, float alpha, float scaleX = 1.0f, float scaleY = 1.0f)
{
    return "X=\"" + num(x) + "\" Y=\"" + num(y) + "\" Z=\"0\" angle=\"0\" scaleX=\"" + num(scaleX) + "\" scaleY=\"" +
           num(scaleY) + "\" R=\"1\" G=\"1\" B=\"1\" A=\"" + num(alpha) + "\" PivotPointX=\"0\" PivotPointY=\"0\"";
}

struct Key {
    int frame;
    float x, y, alpha = 1.0f;
};

inline std::string frames(std::initializer_list<Key> keys)
{
    std::string out = "<frames loop=\"0\">";
    for (const Key& k : keys)
        out += "<frame StartFrame=\"" + std::to_string(k.frame) + "\"><Attributes " + values(k.x, k.y, k.alpha) +
               "/></frame>";
    return out + "</frames>";
}

inline std::string children(const std::string& objects)
{
    return "<Childs>" + objects + "</Childs>";
}

// `body`: frames, children and markers of the node.
inline std::string group(const std::string& name, float x, float y, const std::string& body = "", float scaleX = 1.0f,
                         float scaleY = 1.0f)
{
    return "<Object name=\"" + name + "\"><Parameters " + values(x, y, 1, scaleX, scaleY) + " Enable=\"1\"/>" + body +
           "</Object>";
}

inline std::string sprite(const std::string& name, const std::string& file, const std::string& table, float x, float y,
                          const std::string& body = "", float scale = 1.0f)
{
    return "<Object type=\"Sprite\" name=\"" + name + "\" filename=\"" + file + "\" tablename=\"" + table +
           "\"><Parameters " + values(x, y, 1, scale, scale) + " Enable=\"1\"/>" + body + "</Object>";
}

struct Entry {
    std::string node;
    int from, to;
};

inline std::string marker(const std::string& name, std::initializer_list<Entry> entries = {})
{
    std::string out = "<marker><name>" + name + "</name><playList>";
    for (const Entry& e : entries)
        out += "<entry name=\"" + e.node + "\" from=\"" + std::to_string(e.from) + "\" to=\"" + std::to_string(e.to) +
               "\"/>";
    return out + "</playList></marker>";
}

inline std::string text(const std::string& name, float x, float y, const std::string& body = "")
{
    return "<Object type=\"Text\" name=\"" + name + "\" filename=\"font2_fnt\"><Parameters " + values(x, y, 1) +
           " Enable=\"1\" Text=\"-\" MaxChar=\"-1\" TextAreaX=\"100\" TextAreaY=\"20\"/>" + body + "</Object>";
}

inline std::string markers(const std::string& list)
{
    return "<markers>" + list + "</markers>";
}

}  // namespace SceneXml

class UISceneTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        mOldEffectsLevel = AE::effectsLevel;
        AE::effectsLevel = 1;
    }
    void TearDown() override
    {
        stopUI();
        mXmlCache.reset();
        UITest::TearDown();
        AE::effectsLevel = mOldEffectsLevel;
    }
    void startSceneUI()
    {
        startUI();
        mXmlCache = std::make_unique<VQ::XmlCachedFilesManager>();
    }
    // A scene document under the name `name` (call before starting).
    void addScene(const std::string& name, const std::string& body)
    {
        addXml(name, "<?xml version=\"1.0\"?>\n<Scene>" + body + "</Scene>\n");
    }

    std::unique_ptr<VQ::XmlCachedFilesManager> mXmlCache;
    int mOldEffectsLevel = 0;
};

}  // namespace TestSupport
