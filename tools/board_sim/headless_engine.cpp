#include "headless_engine.h"

#include "config_manager.h"
#include "file_system.h"
#include "log_system.h"
#include "object_factory.h"
#include "particle_system.h"
#include "sound_system/sound_manager.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture_manager.h"
#include "xml_cached_files_manager.h"

HeadlessEngine::HeadlessEngine(const std::string& contentRoot) : mOldContentRoot(VQ::contentRoot())
{
    VQ::contentRoot() = contentRoot.empty() || contentRoot.back() == '/' ? contentRoot : contentRoot + "/";
    mLog = std::make_unique<VQ::LogSystem>();
    mFileSystem = std::make_unique<VQ::FileSystem>();
    mConfig = std::make_unique<VQ::ConfigManager>();
    mConfig->load();
    mFileSystem->loadFilesLocationInfo();
    mSound = std::make_unique<VQ::SoundManager>();
    mFactory = std::make_unique<VQ::ObjectFactory>();
    mParticles = std::make_unique<VQ::ParticleSystem>();
    mTextures = std::make_unique<VQ::TextureManager>();
    mSprites = std::make_unique<VQ::SpriteManager<VQ::Sprite>>();
    mXmlCache = std::make_unique<VQ::XmlCachedFilesManager>();
}

HeadlessEngine::~HeadlessEngine()
{
    // The effects go before the sprites they draw with, and those before
    // their textures.
    mParticles.reset();
    mSprites.reset();
    mTextures.reset();
    mXmlCache->purge();
    mXmlCache.reset();
    mFactory.reset();
    mSound.reset();
    mConfig.reset();
    mFileSystem.reset();
    mLog.reset();
    VQ::contentRoot() = mOldContentRoot;
}
