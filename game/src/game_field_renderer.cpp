#include "game_field_renderer.h"

#include <lua.hpp>

#include <algorithm>

#include "animation.h"
#include "behavior.h"
#include "chip.h"
#include "chip_manager.h"
#include "dialogs/dialog_window_manager.h"
#include "drawable.h"
#include "fatal_error.h"
#include "field_scene.h"
#include "font.h"
#include "game_field.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "log_system.h"
#include "lua_script_2.h"
#include "move_hint.h"
#include "particle_fx.h"
#include "particle_system.h"
#include "sprite.h"
#include "sprite_manager.h"

namespace {

constexpr size_t DRAW_QUEUE_RESERVE = 1000;
constexpr size_t DISTORTION_RESERVE = 128;
constexpr float DEFAULT_HIGHLIGHT_INTERVAL = 0.15f;

VQ::SpriteManager<VQ::Sprite>& sprites()
{
    return *VQ::SpriteManager<VQ::Sprite>::instance();
}

float levelFade(const GameField* field)
{
    return field && field->level ? field->level->introProgress : 1.0f;
}

}  // namespace

bool distortionPassAvailable(const VQ::RenderSystem& render)
{
    return render.pixelShader14Supported() && render.vertexShader11Supported() && render.distortionEnabled() &&
           render.distortionTexture() != nullptr;
}

GameFieldRenderer::GameFieldRenderer(GameField* board) : field(board)
{
    drawQueue.reserve(DRAW_QUEUE_RESERVE);
    loadCellSprites();
    loadBlindTile();
    hotspotTimer = 0.0f;
    font = new VQ::Font();
    font->load("font2_fnt");
    for (int column = 0; column < field->columnCount(); ++column)
        shadowSprites.push_back(sprites().createSpriteFromScript(
            "game_field_sprites", VQ::formatString("s_p_%d_shadows_psd", column), "default"));
    tileExplosion = VQ::ParticleSystem::instance()->create("explosion_orange_tile_fx");
    distortionSources.reserve(DISTORTION_RESERVE);
    effects = std::make_unique<GameFieldEffectList>();
}

GameFieldRenderer::~GameFieldRenderer()
{
    for (VQ::Sprite* shadow : shadowSprites)
        sprites().releaseSprite(shadow);
    shadowSprites.clear();
    sprites().releaseSprite(blindTileSprite);
    delete blindTileAnimation;
    if (tileExplosion)
        VQ::ParticleSystem::instance()->release(tileExplosion);
    delete font;
    effects->clear();
    effects.reset();
    for (auto& group : cellSprites)
        for (VQ::Sprite* sprite : group)
            sprites().releaseSprite(sprite);
}

void GameFieldRenderer::loadCellSprites()
{
    VQ::LuaScript2 script;
    if (!script.load("cells_lua", "default"))
        VQ::assertFailed("VQ", "Failed to load script", "GameFieldRenderer", 198);
    if (!script.openTable("CellSprites"))
        VQ::assertFailed("VQ", "Failed to open table", "GameFieldRenderer", 200);
    lua_State* state = script.state();
    const int groups = lua_gettop(state);
    for (int g = 1;; ++g) {
        lua_rawgeti(state, groups, g);
        if (lua_isnil(state, -1)) {
            lua_pop(state, 1);
            break;
        }
        // A group must hold at least one entry: its variant is picked by a
        // modulo of its size.
        if (!lua_istable(state, -1) || lua_objlen(state, -1) == 0)
            VQ::assertFailed("VQ", "Failed to open table", "GameFieldRenderer", 210);
        const int group = lua_gettop(state);
        std::vector<VQ::Sprite*> variants;
        for (int e = 1;; ++e) {
            lua_rawgeti(state, group, e);
            if (lua_isnil(state, -1)) {
                lua_pop(state, 1);
                break;
            }
            if (!lua_istable(state, -1))
                VQ::assertFailed("VQ", "Failed to open table", "GameFieldRenderer", 210);
            std::string file, table;
            lua_getfield(state, -1, "file");
            if (lua_isstring(state, -1))
                file = lua_tostring(state, -1);
            lua_getfield(state, -2, "table");
            if (lua_isstring(state, -1))
                table = lua_tostring(state, -1);
            lua_pop(state, 3);
            variants.push_back(sprites().createSpriteFromScript(file, table, "default"));
        }
        lua_pop(state, 1);
        cellSprites.push_back(std::move(variants));
    }
    script.closeTable();
}

void GameFieldRenderer::loadBlindTile()
{
    blindTileSprite = sprites().createSpriteFromScript("game_field_sprites", "s_blind_tile", "default");
    blindTileAnimation = new VQ::Animation();
    blindTileSprite->bindAnimation(*blindTileAnimation);
    blindTileAnimation->load("game_field_sprites", "default", "s_blind_tile");
}

void GameFieldRenderer::createCellHighlights()
{
    std::unique_ptr<AE::ISceneNode> scene = loadFieldScene("hightlight_xml");
    if (!scene)
        return;
    float interval = DEFAULT_HIGHLIGHT_INTERVAL;
    markerNumber(*scene, "#interval:", interval);
    for (int row = 1; row <= field->lastRow(); ++row)
        for (int column = 0; column < field->columnCount(); ++column) {
            FieldCell* cell = field->cellAt(column, row);
            if (!cell || cell->solidity <= 0)
                continue;
            effects->add(new TileChipEffect("hightlight", cell, scene->clone(nullptr),
                                            interval * static_cast<float>(std::min(column, row))));
        }
}

void GameFieldRenderer::playTileExplosion(const VQ::Vector2f& point)
{
    if (!tileExplosion)
        return;
    VQ::ParticleSystem* particles = VQ::ParticleSystem::instance();
    std::lock_guard<std::recursive_mutex> lock(particles->mutex());
    VQ::ParticleFX* copy = particles->createCopy(tileExplosion);
    if (!copy)
        return;
    copy->mPosition = point;
    particles->addLayerEffect(copy, 1);
}

void GameFieldRenderer::queueDrawable(Drawable* drawable, float x, float y)
{
    drawQueue.push_back({drawable, x, y, drawable->layer});
}

bool GameFieldRenderer::isRunning(const VQ::Animation& animation)
{
    if (!animation.playing)
        return false;
    if (animation.from < 0.0f)
        return animation.time < animation.totalDuration();
    if (animation.from < animation.to)
        return animation.time < animation.to;
    return animation.time > animation.to;
}

void GameFieldRenderer::update(float dt)
{
    hotspotTimer += dt;
    const bool restart = field->cellHotspotPeriod < hotspotTimer;
    if (restart) {
        blindTileAnimation->time = 0.0f;
        blindTileAnimation->update(0.0f);
        blindTileAnimation->playing = true;
    }
    if (isRunning(*blindTileAnimation))
        blindTileAnimation->update(dt);
    if (restart)
        hotspotTimer = 0.0f;
    updateDistortion(*this, dt);
    effects->update(dt);
}

void GameFieldRenderer::drawCell(float x, float y, FieldCell& cell, int column, int row, float fade)
{
    const int solidity = cell.solidity;
    if (solidity < 0)
        return;
    if (solidity > static_cast<int>(cellSprites.size()))
        VQ::assertFailed("VQ", "", "GameFieldRenderer", 229);
    const bool animating = cell.appearAnimation && !cell.appearAnimation->isFinished();
    if (animating) {
        x = static_cast<float>(static_cast<int>(cell.screenPosition.x));
        y = static_cast<float>(static_cast<int>(cell.screenPosition.y));
    }
    VQ::Color color = cell.color;
    color.a = static_cast<uint8_t>(static_cast<int>(fade * 255.0f));
    const float size = static_cast<float>(field->cellSize);
    auto paint = [&](VQ::Sprite* sprite) {
        const uint32_t cols = sprite->cols();
        for (uint32_t corner : {0u, 1u, cols + 1, cols + 2})
            if (corner < sprite->vertexCount())
                sprite->setVertexColor(corner, color);
        sprite->updateVertices();
        sprite->draw();
    };
    if (solidity == 0) {
        const FieldCell* above = row - 1 >= 1 ? field->cellAt(column, row - 1) : nullptr;
        VQ::Sprite* shadow = column < static_cast<int>(shadowSprites.size()) ? shadowSprites[column] : nullptr;
        if (above && above->solidity > 0 && shadow) {
            shadow->setPositionXY(x, y);
            shadow->setAngle(cell.angle);
            paint(shadow);
        }
        return;
    }
    const std::vector<VQ::Sprite*>& group = cellSprites[solidity - 1];
    VQ::Sprite* sprite = group[static_cast<size_t>(column + row * field->gridWidth) % group.size()];
    sprite->setPositionXY(x, y);
    sprite->setSize(VQ::Vector2f(size, size));
    if (solidity == 1)
        sprite->setRotationCenter(VQ::Vector2f(size / 2.0f, size / 2.0f));
    sprite->setAngle(cell.angle);
    paint(sprite);
    if (solidity >= 2 && !animating && isRunning(*blindTileAnimation)) {
        blindTileSprite->setPositionXY(x, y);
        blindTileSprite->setSize(VQ::Vector2f(size, size));
        paint(blindTileSprite);
    }
}

void GameFieldRenderer::flushDrawQueue()
{
    std::stable_sort(drawQueue.begin(), drawQueue.end(),
                     [](const QueuedDrawable& a, const QueuedDrawable& b) { return a.layer < b.layer; });
    for (const QueuedDrawable& entry : drawQueue)
        entry.drawable->draw(static_cast<int>(entry.x), static_cast<int>(entry.y));
    drawQueue.clear();
}

void GameFieldRenderer::render()
{
    VQ::RenderSystem* render = VQ::RenderSystem::instance();
    const VQ::RenderCamera saved = render->camera();
    render->setCamera(camera);
    const float fade = levelFade(field);
    const int size = field->cellSize;
    for (int row = 1; row <= field->lastRow(); ++row)
        for (int column = 0; column < field->columnCount(); ++column)
            drawCell(static_cast<float>(column * size), static_cast<float>(row * size), field->rows[row][column],
                     column, row, fade);
    VQ::ParticleSystem* particles = VQ::ParticleSystem::instance();
    particles->drawLayer(1, fade);
    if (field->chipManager) {
        const int h = size / 2;
        for (const auto& chip : field->chipManager->chips) {
            if (chip->released)
                continue;
            const int x = static_cast<int>(size * chip->x) - h + static_cast<int>(size * chip->wobbleX);
            const int y = static_cast<int>(size * chip->y) - h + static_cast<int>(size * chip->wobbleY);
            if (field->drawBehaviors)
                chip->layers.drawAll(*this, field, chip.get(), x, y);
            else if (Behavior* first = chip->layers.empty() ? nullptr : chip->layers.objects.front())
                first->draw(*this, field, chip.get(), x, y);
        }
    }
    for (const EffectDrawable& entry : field->effectDrawables) {
        entry.drawable->setAlpha(std::min(fade, 1.0f));
        drawQueue.push_back({entry.drawable, entry.x, entry.y, entry.order});
    }
    flushDrawQueue();
    if (field->moveHint)
        field->moveHint->draw();
    particles->drawLayer(0, fade);
    renderDistortion(*this);
    if (effects->enabled)
        for (GameFieldEffect* effect : effects->effects)
            effect->draw();
    render->setCamera(saved);
}

// --- TileChipEffect ---

TileChipEffect::TileChipEffect(const std::string& markerName, FieldCell* fieldCell, AE::ISceneNode* scene,
                               float delaySeconds)
    : node(scene), marker(markerName), delay(delaySeconds), cell(fieldCell)
{
    layer = 1;
    const float size = static_cast<float>(currentBoardCellSize());
    node->setPosition(size * cell->column, size * cell->row);
}

TileChipEffect::~TileChipEffect()
{
    delete node;
}

void TileChipEffect::update(float dt)
{
    if (started) {
        node->update(dt);
        return;
    }
    delay -= dt;
    if (delay <= 0.0f) {
        started = true;
        if (AE::Marker* pulse = node->requireMarker(marker))
            pulse->start(true);
    }
}

void TileChipEffect::draw()
{
    if (!started)
        return;
    if (const DialogWindowManager* dialogs = DialogWindowManager::instancePtr(); dialogs && dialogs->hasActiveWindow())
        return;
    if (const GameStateManager* states = GameStateManager::instancePtr())
        if (const GameLevel* level = states->getGameLevel(); level && level->effectMarker)
            return;
    if (cell->chip || cell->reserved)
        AE::renderScene(node);
}
