// The scene viewer: loads one scene over a content root, prints its tree and
// saves its frames, with no window on screen and in fixed frames of 1/60 s,
// so that every run of the same command gives the same output.
//
//     scene_view CONTENT_ROOT SCENE [--dump] [--play | --marker NAME]
//                [--png PREFIX --at T1,T2,...] [--dump-at T] [--meshes]
//
// --meshes replaces the "#mesh:" nodes by meshes as the game's screens do;
// --dump prints the tree after loading (and that replacement); --play plays the root recursively as
// the game does, --marker starts a marker of the root (forced); --png with
// --at saves the frame at each game time T as PREFIX-T.png; --dump-at prints
// the tree at game time T. "VQ.log" goes to the working folder.

#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdarg>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../../tests/support/gl_test_context.h"
#include "animationeditor/mesh_scene_node.h"
#include "animationeditor/movie_camera.h"
#include "animationeditor/particle_scene_node.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/sound_scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "config_manager.h"
#include "fast_sprite.h"
#include "file_system.h"
#include "image_writers.h"
#include "log_system.h"
#include "notification_dispatcher.h"
#include "object_factory.h"
#include "particle_system.h"
#include "platform/graphics_device_gl.h"
#include "render_system.h"
#include "sprite.h"
#include "sound_system/sound_manager.h"
#include "sprite_manager.h"
#include "texture_manager.h"
#include "ui/text_manager.h"
#include "ui/ui_font_manager.h"
#include "xml_cached_files_manager.h"

namespace {

constexpr float FRAME_STEP = 1.0f / 60.0f;

struct Options {
    std::string contentRoot;
    std::string scene;
    bool dump = false;
    bool play = false;
    std::string marker;
    std::string pngPrefix;
    std::vector<std::string> pngTimes;
    std::string dumpAt;
    bool meshes = false;
};

// The viewer's own output; the engine's log, which echoes every line on the
// standard output, is sent to the standard error instead.
FILE* gOutput = stdout;

void out(const std::string& line)
{
    std::fputs(line.c_str(), gOutput);
    std::fputc('\n', gOutput);
    std::fflush(gOutput);
}

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return buffer;
}

const char* kindName(int kind)
{
    switch (kind) {
    case AE::SCENE_NODE_SPRITE:
        return "sprite";
    case AE::SCENE_NODE_PARTICLE:
        return "particle";
    case AE::SCENE_NODE_SOUND:
        return "sound";
    case AE::SCENE_NODE_TEXT:
        return "text";
    case AE::SCENE_NODE_CAMERA:
        return "camera";
    default:
        return "group";
    }
}

// What each kind adds to its line.
std::string kindFields(AE::ISceneNode& node)
{
    switch (node.kind()) {
    case AE::SCENE_NODE_SPRITE: {
        const auto& sprite = static_cast<const AE::SpriteSceneNode&>(node);
        return format(" image %s table %s sheet %zu", sprite.fileName.c_str(), sprite.tableName.c_str(),
                      sprite.sheetFrameCount());
    }
    case AE::SCENE_NODE_TEXT: {
        const auto& text = static_cast<const AE::TextSceneNode&>(node);
        return format(" font %s text \"%s\" shown \"%s\" localized %d preset \"%s\" use %d area (%.2f, %.2f) "
                      "align %u %u max %d autoscale %d",
                      text.getFont() ? text.fileName.c_str() : "-", VQ::wideToAnsi(text.rawText).c_str(),
                      VQ::wideToAnsi(text.displayText).c_str(), text.localized ? 1 : 0, text.presetName.c_str(),
                      text.usePreset ? 1 : 0, text.textArea.x, text.textArea.y, text.halign, text.valign,
                      text.maxChar, text.autoScale ? 1 : 0);
    }
    case AE::SCENE_NODE_CAMERA: {
        const auto& camera = static_cast<const AE::MovieCamera&>(node);
        std::string fields = format(" priority %.2f parallax %.2f activation [", camera.priority, camera.parallaxCoef);
        for (size_t i = 0; i < camera.activationFrames.size(); ++i)
            fields += (i ? " " : "") + std::to_string(camera.activationFrames[i]);
        return fields + "]";
    }
    case AE::SCENE_NODE_PARTICLE: {
        const auto& particles = static_cast<const AE::ParticleSceneNode&>(node);
        return format(" effect %s loaded %d emit %.2f play %d", particles.fileName.c_str(),
                      particles.getEffect() ? 1 : 0, particles.emitCoef, particles.play);
    }
    case AE::SCENE_NODE_SOUND: {
        const auto& sound = static_cast<const AE::SoundSceneNode&>(node);
        return format(" sound %s resource %d group %d play %d volume %.2f fading %d", sound.fileName.c_str(),
                      sound.resourceId, sound.group, sound.play, sound.volume, sound.fading ? 1 : 0);
    }
    default:
        break;
    }
    if (const auto* mesh = dynamic_cast<const AE::MeshSceneNode*>(&node)) {
        const AE::MeshTransformer* transformer = mesh->getTransformer();
        const char* kind = dynamic_cast<const AE::WindMeshTransformer*>(transformer)    ? "Wind"
                           : dynamic_cast<const AE::WaterMeshTransformer*>(transformer) ? "Water"
                                                                                         : "none";
        return format(" mesh %ux%u size (%.2f, %.2f) transformer %s", mesh->segmentsX, mesh->segmentsY, mesh->width,
                      mesh->height, kind);
    }
    return std::string();
}

void dumpNode(AE::ISceneNode& node, int depth)
{
    std::string line(size_t(depth) * 2, ' ');
    line += format("%s \"%s\" enabled %d pos (%.2f, %.2f) z %.2f rot %.2f scale (%.2f, %.2f) color %08X keys [",
                   kindName(node.kind()), node.name.c_str(), node.enabled ? 1 : 0, node.posX, node.posY, node.posZ,
                   node.rotation, node.scaleX, node.scaleY, unsigned(node.color.argb()));
    const std::vector<uint32_t> keys = node.keyFrameNumbers();
    for (size_t i = 0; i < keys.size(); ++i)
        line += (i ? " " : "") + std::to_string(keys[i]);
    line += "]";
    line += kindFields(node);
    out(line);
    for (AE::ISceneNode* child : node.children)
        dumpNode(*child, depth + 1);
}

void dumpTree(AE::ISceneNode& root)
{
    dumpNode(root, 0);
    std::vector<AE::ISceneNode*> nodes;
    root.collectNodes(nodes);
    for (AE::ISceneNode* owner : nodes)
        for (const auto& marker : owner->markers) {
            std::string line = format("marker \"%s\" of %s:", marker->name.c_str(),
                                      AE::ISceneNode::getPath(owner, &root).c_str());
            for (const AE::MarkerEntry& e : marker->entries)
                line += format(" [%s from %d to %d looped %d recursive %d]",
                               AE::ISceneNode::getPath(e.node, &root).c_str(), e.from, e.to, e.looped ? 1 : 0,
                               e.recursive ? 1 : 0);
            out(line);
        }
}

std::vector<std::string> splitTimes(const std::string& list)
{
    std::vector<std::string> times;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = list.find(',', start);
        const std::string item = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!item.empty())
            times.push_back(item);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return times;
}

// The frame at which the game time reaches `seconds`.
long frameOf(const std::string& seconds)
{
    return std::lround(std::strtod(seconds.c_str(), nullptr) / double(FRAME_STEP));
}

bool parse(int argc, char** argv, Options& o)
{
    if (argc < 3)
        return false;
    o.contentRoot = argv[1];
    o.scene = argv[2];
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--dump") {
            o.dump = true;
        } else if (a == "--play") {
            o.play = true;
        } else if (a == "--marker" && hasValue) {
            o.marker = argv[++i];
        } else if (a == "--png" && hasValue) {
            o.pngPrefix = argv[++i];
        } else if (a == "--at" && hasValue) {
            o.pngTimes = splitTimes(argv[++i]);
        } else if (a == "--dump-at" && hasValue) {
            o.dumpAt = argv[++i];
        } else if (a == "--meshes") {
            o.meshes = true;
        } else {
            return false;
        }
    }
    return o.pngPrefix.empty() == o.pngTimes.empty();
}

// The engine parts a scene needs, over the content root; with `drawing`,
// a render system on OpenGL over a hidden window of the workspace's size.
class ViewerEngine {
public:
    ViewerEngine(const std::string& root, bool drawing)
    {
        VQ::contentRoot() = root.empty() || root.back() == '/' ? root : root + "/";
        log = std::make_unique<VQ::LogSystem>();
        files = std::make_unique<VQ::FileSystem>();
        config = std::make_unique<VQ::ConfigManager>();
        config->load();
        files->loadFilesLocationInfo();
        notifications = std::make_unique<VQ::EngineNotificationDispatcher>();
        if (drawing) {
            const VQ::Platform* platform = config->currentPlatform();
            VQ::RenderSettings settings;
            settings.workspaceWidth = platform->width;
            settings.workspaceHeight = platform->height;
            settings.fullscreenFitType = platform->fullscreenFitType;
            settings.fullscreenMinimalAspect = platform->fullscreenMinimalAspect;
            settings.workspaceZoom = platform->workspaceZoom;
            context = std::make_unique<TestSupport::GLTestContext>(platform->width, platform->height);
            if (!context->ok()) {
                std::fprintf(stderr, "scene_view: no OpenGL context: %s\n", context->error().c_str());
                std::exit(1);
            }
            render = std::make_unique<VQ::RenderSystem>();
            render->setSettings(settings);
            render->setWindowSize(platform->width, platform->height);
            render->setDevice(VQ::createGraphicsDeviceGL());
        }
        textures = std::make_unique<VQ::TextureManager>();
        sprites = std::make_unique<VQ::SpriteManager<VQ::Sprite>>();
        fastSprites = std::make_unique<VQ::SpriteManager<VQ::FastSprite>>();
        xmlCache = std::make_unique<VQ::XmlCachedFilesManager>();
        if (render)
            render->createDevice();
        // Sounds keep to the viewer's game time and reach no device.
        sounds = std::make_unique<VQ::SoundManager>();
        sounds->useGameClock();
        factory = std::make_unique<VQ::ObjectFactory>();
        particles = std::make_unique<VQ::ParticleSystem>();
        fonts = std::make_unique<VQ::UIFontManager>();
        texts = std::make_unique<VQ::TextManager>();
        texts->reload();
    }
    ~ViewerEngine()
    {
        if (render)
            render->releaseBatches();
        texts.reset();
        fonts.reset();
        particles.reset();
        factory.reset();
        sounds.reset();
        sprites.reset();
        fastSprites.reset();
        textures.reset();
        render.reset();
        context.reset();
        xmlCache->purge();
        xmlCache.reset();
        notifications.reset();
        config.reset();
        files.reset();
        log.reset();
    }

    std::unique_ptr<VQ::LogSystem> log;
    std::unique_ptr<VQ::FileSystem> files;
    std::unique_ptr<VQ::ConfigManager> config;
    std::unique_ptr<VQ::EngineNotificationDispatcher> notifications;
    std::unique_ptr<TestSupport::GLTestContext> context;
    std::unique_ptr<VQ::RenderSystem> render;
    std::unique_ptr<VQ::TextureManager> textures;
    std::unique_ptr<VQ::SpriteManager<VQ::Sprite>> sprites;
    std::unique_ptr<VQ::SpriteManager<VQ::FastSprite>> fastSprites;
    std::unique_ptr<VQ::XmlCachedFilesManager> xmlCache;
    std::unique_ptr<VQ::SoundManager> sounds;
    std::unique_ptr<VQ::ObjectFactory> factory;
    std::unique_ptr<VQ::ParticleSystem> particles;
    std::unique_ptr<VQ::UIFontManager> fonts;
    std::unique_ptr<VQ::TextManager> texts;
};

bool saveFrame(VQ::RenderSystem& render, AE::ISceneNode& root, const std::string& path)
{
    // Textures reach the device at a frame's end: those the scene asked for
    // since are made before it is drawn.
    VQ::TextureManager::instance()->processQueues();
    render.beginFrame();
    AE::renderScene(&root);
    render.endFrame();
    std::vector<uint32_t> argb;
    uint32_t width = 0;
    uint32_t height = 0;
    if (!render.device() || !render.device()->readPixels(argb, width, height))
        return false;
    ImageWriters::PngDescription png;
    png.width = width;
    png.height = height;
    png.colourType = PNG_COLOR_TYPE_RGB;
    for (uint32_t pixel : argb)
        png.rows.insert(png.rows.end(), {uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)});
    ImageWriters::Bytes bytes;
    std::string error;
    return ImageWriters::writePng(png, bytes, error) && ImageWriters::writeFile(path, bytes);
}

int run(const Options& o)
{
    const bool drawing = !o.pngTimes.empty();
    ViewerEngine engine(o.contentRoot, drawing);
    // The game reads the XML sprite descriptions first.
    AE::effectsLevel = 1;
    std::unique_ptr<AE::ISceneNode> root(AE::loadScene(o.scene));
    if (!root) {
        std::fprintf(stderr, "scene_view: cannot load scene %s\n", o.scene.c_str());
        return 1;
    }
    if (o.meshes)
        AE::convertMeshNodes(root.get());
    if (o.dump)
        dumpTree(*root);
    if (o.play)
        root->play(true);
    if (!o.marker.empty()) {
        AE::Marker* marker = root->getMarker(o.marker);
        if (!marker) {
            std::fprintf(stderr, "scene_view: no marker %s\n", o.marker.c_str());
            return 1;
        }
        marker->start(true);
    }

    long last = o.dumpAt.empty() ? -1 : frameOf(o.dumpAt);
    for (const std::string& t : o.pngTimes)
        last = std::max(last, frameOf(t));
    int status = 0;
    for (long frame = 0; frame <= last; ++frame) {
        if (frame > 0) {
            AE::ISceneNode::update(root.get(), FRAME_STEP);
            engine.sounds->advanceGameClock(FRAME_STEP);
        }
        for (const std::string& t : o.pngTimes) {
            if (frameOf(t) != frame)
                continue;
            const std::string path = o.pngPrefix + "-" + t + ".png";
            if (saveFrame(*engine.render, *root, path)) {
                out("saved " + path);
            } else {
                std::fprintf(stderr, "scene_view: cannot save %s\n", path.c_str());
                status = 1;
            }
        }
        if (!o.dumpAt.empty() && frameOf(o.dumpAt) == frame) {
            out("at " + o.dumpAt);
            dumpTree(*root);
        }
    }
    root.reset();
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: scene_view CONTENT_ROOT SCENE [--dump] [--play | --marker NAME] "
                     "[--png PREFIX --at T1,T2,...] [--dump-at T] [--meshes]\n");
        return 2;
    }
    std::fflush(stdout);
    const int outputFd = dup(STDOUT_FILENO);
    if (outputFd < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0 || !(gOutput = fdopen(outputFd, "w"))) {
        std::perror("scene_view");
        return 1;
    }
    return run(options);
}
