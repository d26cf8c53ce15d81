#include "logo_game_state.h"

#include <pugixml.hpp>

#include <algorithm>
#include <memory>

#include "engine_allocators.h"
#include "fatal_error.h"
#include "file.h"
#include "file_system.h"
#include "game_state_manager.h"
#include "input_manager.h"
#include "log_system.h"
#include "png_image.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "stack_allocator.h"
#include "texture_manager.h"

namespace {

constexpr const char* LOGO_FILE = "logo_xml";
constexpr const char* PACKAGE = "default";

using SpriteManager = VQ::SpriteManager<VQ::Sprite>;

// A picture named by a loose file: a PNG padded to power-of-two sides whose
// sprite shows the picture's own area at its own size.
VQ::Sprite* spriteFromLooseFile(const std::string& file, int& skippable)
{
    VQ::FileSystem* files = VQ::FileSystem::instance();
    files->filesOfPackage(PACKAGE)[file] = file;
    if (!VQ::PngImage::probe(file, PACKAGE)) {
        skippable = 1;
        return nullptr;
    }
    auto image = std::make_unique<VQ::PngImage>();
    if (image->load(file, PACKAGE) != 0) {
        skippable = 1;
        return nullptr;
    }
    const float width = static_cast<float>(image->getWidth());
    const float height = static_cast<float>(image->getHeight());
    image->padToPowerOfTwo();
    VQ::Texture* texture = VQ::TextureManager::instance()->createTextureFromImage(PACKAGE, image.get(), file);
    if (!texture) {
        skippable = 1;
        return nullptr;
    }
    VQ::Sprite* sprite = SpriteManager::instance()->createSpriteFromTexture(texture);
    sprite->setSourceRect(0, VQ::Rect(0.0f, 0.0f, width, height), true);
    sprite->setSize(VQ::Vector2f(width, height));
    return sprite;
}

VQ::Sprite* makeSprite(const std::string& file, const std::string& table, int& skippable)
{
    SpriteManager* sprites = SpriteManager::instance();
    if (!table.empty())
        return sprites->createSpriteFromScript(file, table, PACKAGE);
    VQ::FileSystem* files = VQ::FileSystem::instance();
    if (files->contains(PACKAGE, file))
        return sprites->createSpriteFromImage(file, PACKAGE);
    if (files->contains("localization", file))
        return sprites->createSpriteFromImage(file, "localization");
    return spriteFromLooseFile(file, skippable);
}

}  // namespace

LogoGameState::~LogoGameState()
{
    unload();
}

void LogoGameState::load()
{
    if (isLoaded())
        return;
    readSequence();
    setLoaded(true);
}

void LogoGameState::readSequence()
{
    std::unique_ptr<VQ::File> file(VQ::FileSystem::instance()->openFile(PACKAGE, LOGO_FILE));
    if (!file) {
        VQ::log("Failed to load logo.xml");
        return;
    }
    const int32_t size = std::max(file->size(), 0);
    pugi::xml_document document;
    {
        VQ::StackAllocator::ScopedBlock block(*VQ::EngineAllocators::instance()->stackAllocator(), size_t(size));
        if (!block)
            VQ::assertFailed("VQ", "Failed to allocate memory block for reading logo.xml", "LogoGameState", 122);
        const int32_t got = size ? file->read(block.data(), size) : 0;
        const pugi::xml_parse_result parsed =
            document.load_buffer(block.data(), static_cast<size_t>(std::max(got, 0)));
        if (!parsed)
            VQ::assertFailed("VQ", "Failed to parse XML", "LogoGameState", 126);
    }
    const pugi::xml_node root = document.child("root");
    count = static_cast<int>(std::distance(root.children().begin(), root.children().end()));
    if (count == 0)
        return;
    items = std::make_unique<Item[]>(static_cast<size_t>(count));
    int index = 0;
    for (const pugi::xml_node child : root.children()) {
        Item& item = items[static_cast<size_t>(index++)];
        item.duration = child.attribute("duration").as_float(0.0f);
        item.skippable = static_cast<int>(child.attribute("esc").as_uint(0));
        item.sprite = makeSprite(child.attribute("file").as_string(""), child.attribute("table").as_string(""),
                                 item.skippable);
    }
}

void LogoGameState::update(float dt)
{
    if (!isLoaded())
        return;
    const VQ::MouseDevice* mouse = VQ::InputManager::instance()->mouse();
    const bool clicked = mouse && ((mouse->left && !mouse->previousLeft) || (mouse->right && !mouse->previousRight));
    if (clicked && current < count && items[static_cast<size_t>(current)].skippable)
        ++current;
    if (count > 0 && current < count) {
        Item& item = items[static_cast<size_t>(current)];
        item.elapsed += dt;
        if (item.duration < item.elapsed)
            ++current;
    } else {
        GameStateManager::instance()->setState("MainMenu");
    }
}

float LogoGameState::fadeLevel(float elapsed, float duration)
{
    return std::min(elapsed, 1.0f) * std::min(duration - elapsed, 1.0f);
}

void LogoGameState::placePicture(const VQ::Vector2f& pictureSize, const VQ::Vector2f& sceneSize, float& scale,
                                 VQ::Vector2f& topLeft)
{
    scale = std::max(sceneSize.x, sceneSize.y) / pictureSize.x;
    topLeft = VQ::Vector2f(sceneSize.x / 2.0f - pictureSize.x * scale / 2.0f,
                           sceneSize.y / 2.0f - pictureSize.y * scale / 2.0f);
}

void LogoGameState::draw()
{
    if (!isLoaded() || count == 0 || current >= count)
        return;
    const Item& item = items[static_cast<size_t>(current)];
    if (VQ::Sprite* sprite = item.sprite) {
        float scale = 1.0f;
        VQ::Vector2f topLeft;
        placePicture(sprite->size(), GameStateManager::instance()->getSceneSize(), scale, topLeft);
        sprite->setScaleXY(scale, scale);
        sprite->setPosition(topLeft);
        sprite->updateVertices();
        sprite->draw();
    }
    VQ::RenderSystem::instance()->setFadeLevel(fadeLevel(item.elapsed, item.duration));
}

void LogoGameState::onDeactivate()
{
    VQ::log("void LogoGameState::onDeactivate()");
    VQ::RenderSystem::instance()->setFadeLevel(1.0f);
    unload();
}

void LogoGameState::unload()
{
    if (!isLoaded())
        return;
    VQ::log("void LogoGameState::unload()");
    if (SpriteManager* sprites = SpriteManager::instancePtr()) {
        for (int i = 0; i < count; ++i)
            sprites->releaseSprite(items[static_cast<size_t>(i)].sprite);
    }
    items.reset();
    count = 0;
    current = 0;
    setLoaded(false);
}
