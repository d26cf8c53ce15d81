#pragma once
// The sprite engine on the recording device with the XML sprite cache, for
// tests that load scene files and sprite nodes; scenes and descriptions are
// added beside the sample content.

#include <memory>
#include <string>

#include "animationeditor/scene_node.h"
#include "support/sprite_fixture.h"
#include "xml_cached_files_manager.h"

namespace SceneTest {

class SceneFileTest : public TestSupport::SpriteTest {
protected:
    void SetUp() override
    {
        TestSupport::SpriteTest::SetUp();
        mOldEffectsLevel = AE::effectsLevel;
        AE::effectsLevel = 1;
    }
    void TearDown() override
    {
        mXmlCache.reset();
        TestSupport::SpriteTest::TearDown();
        AE::effectsLevel = mOldEffectsLevel;
    }
    void start()
    {
        startEngine();
        mXmlCache = std::make_unique<VQ::XmlCachedFilesManager>();
    }
    // A scene document under the name `name` (call before start).
    void addScene(const std::string& name, const std::string& body)
    {
        addXml(name, "<?xml version=\"1.0\"?>\n<Scene>" + body + "</Scene>\n");
    }
    // A scene document of tests/fixtures/scenes/ under the name `name`.
    void addSceneFixture(const std::string& name, const std::string& file)
    {
        addXml(name, TestSupport::readFile(TestSupport::fixturePath("scenes/" + file)));
    }
    std::unique_ptr<AE::ISceneNode> load(const std::string& name)
    {
        return std::unique_ptr<AE::ISceneNode>(AE::loadScene(name));
    }

    std::unique_ptr<VQ::XmlCachedFilesManager> mXmlCache;
    int mOldEffectsLevel = 0;
};

}  // namespace SceneTest
