// The scene file readers of texts, particle effects, cameras and sounds:
// their keys, defaults, irregular spellings and key frames.

#include <gtest/gtest.h>

#include "animationeditor/movie_camera.h"
#include "animationeditor/particle_scene_node.h"
#include "animationeditor/scene_file_reader.h"
#include "animationeditor/sound_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "engine/particle_fixture.h"
#include "scene_kinds_fixture.h"
#include "sound_system/sound_manager.h"

using AE::ISceneNode;
using VQ::Color;
using VQ::Vector2f;

namespace {

class SceneKindReaderTest : public SceneTest::SceneKindsTest {
protected:
    void SetUp() override
    {
        SceneKindsTest::SetUp();
        addXml("t_sparks_fx", ParticleFixture::effectXml({ParticleFixture::EmitterSpec()}));
    }
    void startAll()
    {
        start();
        startKinds();
    }
    // What a reader makes of one "Object" element, before the loader's first
    // update evaluates its key frames.
    template <typename Node>
    std::unique_ptr<Node> readObject(AE::SceneObjectReader reader, const std::string& object)
    {
        pugi::xml_document document;
        EXPECT_TRUE(document.load_string(object.c_str()));
        std::unique_ptr<ISceneNode> node(reader(document.first_child()));
        auto* typed = dynamic_cast<Node*>(node.get());
        EXPECT_NE(typed, nullptr);
        if (typed)
            node.release();
        return std::unique_ptr<Node>(typed);
    }
};

}  // namespace

TEST_F(SceneKindReaderTest, ObjectsWithoutParametersTakeTheirKindsDefaults)
{
    addScene("t_bare_xml", "<Object type='Text' name='t' filename='main_font_fnt'/>"
                           "<Object type='ParticleFX' name='p' filename='t_sparks_fx'/>"
                           "<Object type='MovieCamera' name='c'/>"
                           "<Object type='Sound' name='s' filename='bomb_sound'/>");
    startAll();
    mScene = load("t_bare_xml");
    ASSERT_TRUE(mScene);
    ASSERT_EQ(mScene->children.size(), 4u);
    const int kinds[] = {AE::SCENE_NODE_TEXT, AE::SCENE_NODE_PARTICLE, AE::SCENE_NODE_CAMERA, AE::SCENE_NODE_SOUND};
    for (size_t i = 0; i < 4; ++i) {
        const ISceneNode* node = mScene->children[i];
        EXPECT_EQ(node->kind(), kinds[i]) << i;
        EXPECT_FALSE(node->enabled) << i;
        EXPECT_EQ(Vector2f(node->posX, node->posY), Vector2f(0, 0)) << i;
    }
    auto* text = static_cast<AE::TextSceneNode*>(mScene->children[0]);
    EXPECT_EQ(text->scaleX, 0.0f);
    EXPECT_EQ(text->color, Color(0u));
    EXPECT_EQ(text->maxChar, 0);
    EXPECT_NE(text->getFont(), nullptr);
    auto* particles = static_cast<AE::ParticleSceneNode*>(mScene->children[1]);
    EXPECT_EQ(particles->scaleX, 1.0f);
    EXPECT_EQ(particles->color, Color(0xFFFFFFFFu));
    EXPECT_EQ(particles->emitCoef, 0.0f);
    EXPECT_NE(particles->getEffect(), nullptr);
    auto* camera = static_cast<AE::MovieCamera*>(mScene->children[2]);
    EXPECT_EQ(camera->scaleX, 0.0f);
    EXPECT_EQ(camera->parallaxCoef, 0.0f);
    EXPECT_FALSE(camera->parallaxEnabled);
    auto* sound = static_cast<AE::SoundSceneNode*>(mScene->children[3]);
    EXPECT_EQ(sound->color, Color(0u));
    EXPECT_EQ(sound->volume, 0.0f);
    EXPECT_NE(sound->resourceId, 0);
    EXPECT_TRUE(sound->parallaxEnabled);
}

TEST_F(SceneKindReaderTest, TextKeysPresetsAndFrames)
{
    addScene("t_text_xml",
             "<Object type='Text' name='t' filename='main_font_fnt'><Parameters X='10' Y='20' Enable='1' "
             "scaleX='1' scaleY='1' R='1' G='1' B='1' A='1' Text='APP_WINDOW_TITLE' LocaleEnable='1' "
             "TextAreaX='300' TextAreaY='40' ClipRect2='5' HAlign='2' VAlign='1' XCoeff='0.5' MaxChar='-1' "
             "AutoScale='1' Stencil='1' Preset='no_such' UsePreset='1'/>"
             "<frames loop='1'><frame StartFrame='0'><Attributes X='1' scaleX='1' scaleY='1' TextAreaX='100' "
             "HAlign='1' MaxChar='3'/></frame><frame StartFrame='12'><Attributes X='2' shear00='1' "
             "shear11='2' TextAreaX='200'/></frame></frames></Object>"
             "<Object type='Text' name='p' filename='main_font_fnt'><Parameters Text='Caf&#xE9;' "
             "Preset='label' UsePreset='1'/></Object>");
    startAll();
    mScene = load("t_text_xml");
    ASSERT_TRUE(mScene);
    auto* text = dynamic_cast<AE::TextSceneNode*>(mScene->findNode("t"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->displayText, u"Lanterra");
    EXPECT_TRUE(text->localized);
    EXPECT_TRUE(text->autoScale);
    EXPECT_TRUE(text->stencil);
    EXPECT_EQ(text->maxChar, 3);  // the frame at time 0
    EXPECT_FALSE(text->usePreset);
    EXPECT_TRUE(text->loop);
    EXPECT_EQ(text->keyFrameNumbers(), (std::vector<uint32_t>{0, 12}));
    auto& a = *text->animation;
    EXPECT_EQ(a.vector2KeyAt("textArea", 1).value, Vector2f(200, 0));
    EXPECT_EQ(a.keyAt<int>("halign", 0).value, 1);
    EXPECT_EQ(a.floatKeyAt("shear11", 1).value, 2.0f);
    // A frame without shear keys has the identity.
    EXPECT_EQ(a.floatKeyAt("shear00", 0).value, 1.0f);
    EXPECT_EQ(a.floatKeyAt("shear11", 0).value, 1.0f);

    auto* label = dynamic_cast<AE::TextSceneNode*>(mScene->findNode("p"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->rawText, u"Caf\u00E9");
    EXPECT_TRUE(label->usePreset);
    EXPECT_EQ(label->halign, 1u);
    EXPECT_EQ(label->color, Color::fromBytes(250, 245, 225, 255));
}

TEST_F(SceneKindReaderTest, ParticleColourEmissionAndFrames)
{
    startAll();
    auto half = readObject<AE::ParticleSceneNode>(
        AE::readParticleObject,
        "<Object type='ParticleFX' name='half' filename='t_sparks_fx'><Parameters X='5' Enable='1' "
        "emitCoef='0.5' color='128' scaleX='3' angle='40' PivotPointX='9'/>"
        "<frames><frame StartFrame='4'><Attributes X='7' emitCoef='2' play='0' PivotPointX='1'/></frame>"
        "</frames></Object>");
    ASSERT_TRUE(half);
    EXPECT_EQ(half->color, Color::fromBytes(128, 128, 128, 128));
    EXPECT_EQ(half->worldColor, half->color);
    EXPECT_EQ(half->emitCoef, 0.5f);
    EXPECT_EQ(half->posX, 5.0f);
    // No angle, scale or pivot from "Parameters".
    EXPECT_EQ(half->scaleX, 1.0f);
    EXPECT_EQ(half->rotation, 0.0f);
    EXPECT_EQ(half->pivotPoint, Vector2f(0, 0));
    EXPECT_EQ(half->animation->floatKeyAt("emitCoef", 0).value, 2.0f);
    EXPECT_EQ(half->animation->floatKeyAt("posX", 0).value, 7.0f);
    EXPECT_EQ(half->animation->keyAt<int>("play", 0).value, 0);
    EXPECT_EQ(half->animation->vector2KeyAt("pivotPoint", 0).value, Vector2f(1, 0));

    auto white = readObject<AE::ParticleSceneNode>(
        AE::readParticleObject, "<Object type='ParticleFX' filename='t_sparks_fx'><Parameters color='255'/></Object>");
    EXPECT_EQ(white->color, Color(0xFFFFFFFFu));
    auto none = readObject<AE::ParticleSceneNode>(AE::readParticleObject,
                                                  "<Object type='ParticleFX' filename='no_such_fx'/>");
    EXPECT_EQ(none->getEffect(), nullptr);
    EXPECT_EQ(none->fileName, "no_such_fx");
}

TEST_F(SceneKindReaderTest, CameraSpellingsFramesAndActivationFrames)
{
    addScene("t_cam_xml",
             "<Object type='MovieCamera' name='c1'><Parameters X='4' scaleX='1' scaleY='1' PivotPointX='3' "
             "PivotPointY='8' parallaxCoef='1' parallaxEnable='1' Enable='1'/>"
             "<frames><frame StartFrame='0'><Attributes X='0' scaleX='1' scaleY='1' PivotPointX='3'/></frame>"
             "<frame StartFrame='48'><Attributes X='100' scaleX='2' scaleY='2' angle='5'/></frame></frames>"
             "<Activationframes><Attribute startFrame='48'/><Attribute startFrame='0'/>"
             "<Attribute startFrame='7'/></Activationframes></Object>"
             "<Object type='MovieCamera' name='c2'><Parameters PivotPoint.y='6' parallaxEnable='1' "
             "ParallaxEnabled='0'/></Object>");
    startAll();
    mScene = load("t_cam_xml");
    ASSERT_TRUE(mScene);
    auto* c1 = dynamic_cast<AE::MovieCamera*>(mScene->findNode("c1"));
    ASSERT_NE(c1, nullptr);
    // "PivotPointY" is not a camera's key.
    EXPECT_EQ(c1->pivotPoint, Vector2f(3, 0));
    EXPECT_TRUE(c1->parallaxEnabled);
    EXPECT_EQ(c1->parallaxCoef, 1.0f);
    EXPECT_EQ(c1->activationFrames, (std::vector<int32_t>{0, 48}));
    EXPECT_EQ(c1->animation->floatKeyAt("posX", 1).value, 100.0f);
    EXPECT_EQ(c1->animation->floatKeyAt("rotation", 1).value, 5.0f);
    auto* c2 = dynamic_cast<AE::MovieCamera*>(mScene->findNode("c2"));
    ASSERT_NE(c2, nullptr);
    EXPECT_EQ(c2->pivotPoint, Vector2f(0, 6));
    EXPECT_FALSE(c2->parallaxEnabled);
    // Playing, the camera views the scene from its keys.
    mScene->play(true);
    c2->stop(false);
    ISceneNode::update(mScene.get(), 1.0f);
    EXPECT_EQ(mScene->activeCamera, c1);
    EXPECT_EQ(c1->getView().position, Vector2f(-50, 0));
}

TEST_F(SceneKindReaderTest, SoundKeysSpellingsAndFrameColours)
{
    startAll();
    auto sound = readObject<AE::SoundSceneNode>(
        AE::readSoundObject,
        "<Object type='Sound' name='s' filename='dialog_show_sound'><Parameters X='3' Y='4' Angle='30' "
        "angle='99' PivotPointX='1' PivotPoint.y='2' PivotPointY='7' R='1' G='1' B='1' A='0.5' Enable='1' "
        "Volume='0.75' Playing='1' SoundGroup='2' fading='1' priority='9'/>"
        "<frames><frame StartFrame='0'><Attributes playSound='0' Volume='1' R='1' G='0' B='0' A='1'/></frame>"
        "<frame StartFrame='10'><Attributes playSound='1' Volume='0.5' R='0' G='0' B='1' A='0.2'/></frame>"
        "</frames></Object>");
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->name, "s");
    EXPECT_EQ(Vector2f(sound->posX, sound->posY), Vector2f(3, 4));
    EXPECT_EQ(sound->rotation, 30.0f);
    EXPECT_EQ(sound->pivotPoint, Vector2f(1, 2));
    EXPECT_EQ(sound->play, 1);
    EXPECT_EQ(sound->volume, 0.75f);
    EXPECT_EQ(sound->group, 2);
    EXPECT_EQ(sound->priority, 9);
    EXPECT_TRUE(sound->fading);
    ASSERT_NE(sound->resourceId, 0);
    EXPECT_EQ(mSounds->resource(sound->resourceId)->priority, 9u);
    EXPECT_EQ(mSounds->resource(sound->resourceId)->refCount, 1);
    // The colour is that of "Parameters"; the frames' colours are in the keys.
    EXPECT_EQ(sound->color, Color(1.0f, 1.0f, 1.0f, 0.5f));
    EXPECT_EQ(sound->worldColor, sound->color);
    auto& a = *sound->animation;
    EXPECT_EQ(a.keyAt<Color>("color", 0).value, Color(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(a.keyAt<Color>("color", 1).value, Color(0.0f, 0.0f, 1.0f, 0.2f));
    EXPECT_EQ(a.keyAt<int>("play", 1).value, 1);
    EXPECT_EQ(a.floatKeyAt("volume", 1).value, 0.5f);
    EXPECT_EQ(a.floatKeyAt("scaleX", 1).value, 1.0f);
}
