#pragma once
// Scene files with every node kind: the sprite engine of the scene file
// tests plus what texts, particle effects and sounds need (the object
// factory and particle system, the font and text managers, the sound
// manager on the silent device, on game time).

#include <memory>

#include "animationeditor/scene_node.h"
#include "object_factory.h"
#include "particle_system.h"
#include "scene_file_fixture.h"
#include "sound_system/sound_manager.h"
#include "support/sound_fixtures.h"
#include "ui/text_manager.h"
#include "ui/ui_font_manager.h"

namespace SceneTest {

class SceneKindsTest : public SceneFileTest {
protected:
    void TearDown() override
    {
        mScene.reset();
        mSounds.reset();
        mTexts.reset();
        mFonts.reset();
        mParticles.reset();
        mFactory.reset();
        SceneFileTest::TearDown();
    }
    // After the engine has started.
    void startKinds()
    {
        if (!mXmlCache)
            mXmlCache = std::make_unique<VQ::XmlCachedFilesManager>();
        mFactory = std::make_unique<VQ::ObjectFactory>();
        mParticles = std::make_unique<VQ::ParticleSystem>();
        mFonts = std::make_unique<VQ::UIFontManager>();
        mTexts = std::make_unique<VQ::TextManager>();
        mTexts->reload();
        TestSupport::useSilentAudioDevice();
        mSounds = std::make_unique<VQ::SoundManager>();
        mSounds->useGameClock();
    }

    std::unique_ptr<VQ::ObjectFactory> mFactory;
    std::unique_ptr<VQ::ParticleSystem> mParticles;
    std::unique_ptr<VQ::UIFontManager> mFonts;
    std::unique_ptr<VQ::TextManager> mTexts;
    std::unique_ptr<VQ::SoundManager> mSounds;
    // Deleted before the managers.
    std::unique_ptr<AE::ISceneNode> mScene;
};

}  // namespace SceneTest
