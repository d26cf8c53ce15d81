#pragma once
// The engine parts a board needs without a window, a graphics device or a
// sound card, brought up over a content root the way the engine start-up
// does: the log, the file system with its package map, the configuration,
// sound (on whatever OpenAL device the environment picks), the object
// factory with the particle system, the texture and sprite managers and the
// XML cache, so that particle effects load, emit and finish headless.
// Everything goes in the reverse order; the content root is restored.

#include <memory>
#include <string>

namespace VQ {
class ConfigManager;
class FileSystem;
class LogSystem;
class ObjectFactory;
class ParticleSystem;
class SoundManager;
class Sprite;
template <typename T>
class SpriteManager;
class TextureManager;
class XmlCachedFilesManager;
}  // namespace VQ

class HeadlessEngine {
public:
    // "VQ.log" goes to the working folder.
    explicit HeadlessEngine(const std::string& contentRoot);
    ~HeadlessEngine();
    HeadlessEngine(const HeadlessEngine&) = delete;
    HeadlessEngine& operator=(const HeadlessEngine&) = delete;

private:
    std::string mOldContentRoot;
    std::unique_ptr<VQ::LogSystem> mLog;
    std::unique_ptr<VQ::FileSystem> mFileSystem;
    std::unique_ptr<VQ::ConfigManager> mConfig;
    std::unique_ptr<VQ::SoundManager> mSound;
    std::unique_ptr<VQ::ObjectFactory> mFactory;
    std::unique_ptr<VQ::ParticleSystem> mParticles;
    std::unique_ptr<VQ::TextureManager> mTextures;
    std::unique_ptr<VQ::SpriteManager<VQ::Sprite>> mSprites;
    std::unique_ptr<VQ::XmlCachedFilesManager> mXmlCache;
};
