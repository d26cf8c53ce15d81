#include "board_sim.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <utility>
#include <vector>

#include "behavior.h"
#include "chip.h"
#include "chip_appearence.h"
#include "chip_manager.h"
#include "chip_selector.h"
#include "game_field.h"
#include "game_field_renderer.h"
#include "game_level.h"
#include "particle_system.h"
#include "log_system.h"
#include "move_hint.h"
#include "random.h"
#include "random_seed.h"
#include "sound_system/sound_manager.h"
#include "task_manager.h"
#include "fast_sprite.h"
#include "lex_binded_function_manager.h"
#include "sprite_manager.h"
#include "ui/text_manager.h"
#include "ui/ui_font_manager.h"
#include "ui/ui_manager.h"

namespace {

uint64_t seedCounter = 0;

uint64_t nextSeedCount()
{
    return seedCounter++;
}

}  // namespace

struct BoardSim::Interface {
    Interface()
    {
        functions = std::make_unique<VQ::LexBindedFunctionManager>();
        fastSprites = std::make_unique<VQ::SpriteManager<VQ::FastSprite>>();
        texts = std::make_unique<VQ::TextManager>();
        texts->reload();
        fonts = std::make_unique<VQ::UIFontManager>();
        ui = std::make_unique<VQ::UIManager>();
    }
    ~Interface()
    {
        // The roots go before the fonts they draw with.
        ui.reset();
        fonts.reset();
        texts.reset();
        fastSprites.reset();
        functions.reset();
    }
    std::unique_ptr<VQ::LexBindedFunctionManager> functions;
    std::unique_ptr<VQ::SpriteManager<VQ::FastSprite>> fastSprites;
    std::unique_ptr<VQ::TextManager> texts;
    std::unique_ptr<VQ::UIFontManager> fonts;
    std::unique_ptr<VQ::UIManager> ui;
};

BoardSim::BoardSim(std::ostream& out) : mOut(out), mMode(out)
{
    mLevel.mode = &mMode;
}

BoardSim::~BoardSim()
{
    // The rules leave the level's list and the interface.
    mMode.bonusRules.reset();
    mMode.rules.reset();
    mMode.campaign.reset();
    // The renderer's effects may point at the board's cells, and hold
    // sprites that must go before the engine does.
    mBoardRenderer.reset();
    mRenderer.effectList().clear();
    mField.reset();
    mChips.reset();
    clearBehaviorPrototypes();
    clearChipSelectorCache();
    if (mDrawing)
        mDrawing->releaseSprites();
    mInterface.reset();
    mStates.reset();
    mEngine.reset();
    mDrawing.reset();
}

void BoardSim::useSeed(uint32_t seed)
{
    VQ::srand(seed);
    seedCounter = seed;
    setSeedCounterSource(&nextSeedCount);
}

bool BoardSim::start(const std::string& contentRoot, const std::string& level)
{
    mEngine = std::make_unique<HeadlessEngine>(contentRoot);
    // A frame here is 1/60 s of game time, however fast it runs.
    VQ::SoundManager::instance()->useGameClock();
    mStates = std::make_unique<GameStateManager>(&mLevel);
    if (mDrawingWanted) {
        mDrawing = std::make_unique<BoardDrawing>();
        if (!mDrawing->ok())
            return false;
        // Every owner advances its own effects, as in the game.
        VQ::ParticleSystem::instance()->liveUpdating = false;
        mLevel.introProgress = 0.0f;
    }
    if (mRulesWanted) {
        mInterface = std::make_unique<Interface>();
        mMode.campaign = std::make_unique<MainMode>("");
        mMode.campaign->currentLevel = &mMode.level;
        mMode.campaign->levelScript = level;
        mMode.rules = std::make_unique<LevelRules>(mOut, mLevel, *mMode.campaign);
        mMode.bonusRules = std::make_unique<BonusRules>(mOut, *mMode.campaign);
        if (mStock)
            mMode.bonusRules->setStock(*mStock);
        if (mBoosters)
            mMode.bonusRules->setBoosters(*mBoosters);
    }
    mChips = std::make_unique<ChipManager>();
    mField = std::make_unique<GameField>(&mLevel);
    mLevel.field = mField.get();
    if (mDrawing) {
        auto* real = new GameFieldRenderer(mField.get());
        mBoardRenderer.reset(real);
        // The play rows centred in the workspace.
        const float size = static_cast<float>(mField->cellSize);
        real->camera.position = VQ::Vector2f(
            std::floor((mDrawing->workspaceWidth() - size * mField->gridWidth) / 2.0f),
            std::floor((mDrawing->workspaceHeight() - size * mField->gridHeight) / 2.0f) - size);
    }
    mField->renderer = &activeRenderer();
    mField->loadLevel(level);
    // As the level state does once the board holds the level.
    mMode.prepareLevel();
    return true;
}

bool BoardSim::execute(const std::string& line)
{
    std::istringstream in(line);
    in.imbue(std::locale::classic());
    std::string command;
    if (!(in >> command))
        return true;
    int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    float seconds = 0.0f;
    std::string word;
    if (command == "quit")
        return false;
    if (command == "click" && in >> c1 >> r1) {
        click(c1, r1);
    } else if (command == "swap" && in >> c1 >> r1 >> c2 >> r2) {
        click(c1, r1);
        click(c2, r2);
    } else if (command == "step" && in >> seconds && seconds >= 0.0f) {
        step(seconds);
    } else if (command == "settle") {
        float taken = 0.0f;
        if (settle(taken))
            mOut << VQ::formatString("settled %.3f", taken) << '\n';
        else
            mOut << "not settled\n";
    } else if (command == "dump") {
        dump();
    } else if (rules() && command == "rules") {
        rules()->printState();
        mMode.bonusRules->printState();
    } else if (rules() && command == "layers") {
        dumpLayers();
    } else if (mDrawing && command == "shot" && in >> word) {
        std::string error;
        if (mDrawing->shot(activeRenderer(), word, error, mLevel.helpers))
            mOut << "shot " << word << '\n';
        else
            mOut << "error: shot " << word << ": " << error << '\n';
    } else if (mDrawing && command == "distortion" && in >> c1 && (c1 == 0 || c1 == 1)) {
        mDrawing->setDistortion(c1 == 1);
    } else if (mMode.bonusRules && mMode.bonusRules->execute(command, in)) {
    } else {
        mOut << "error: unknown or malformed command: " << line << '\n';
    }
    return true;
}

void BoardSim::click(int column, int row)
{
    const int cell[2] = {column, row};
    mField->onCellClicked(cell);
}

void BoardSim::frame()
{
    // The level state's order: the mode, the components, the board, its
    // renderer.
    mMode.update(FRAME);
    if (LevelRules* levelRules = rules())
        levelRules->updateComponents(FRAME);
    mField->update(FRAME);
    activeRenderer().update(FRAME);
    if (mInterface)
        mInterface->ui->update(FRAME);
    if (mDrawing) {
        mLevel.introProgress = std::min(mLevel.introProgress + 0.5f * FRAME, 1.0f);
        VQ::ParticleSystem::instance()->update(FRAME);
    }
    VQ::SoundManager::instance()->advanceGameClock(FRAME);
    ++mFrames;
    if (LevelRules* levelRules = rules())
        levelRules->reportChanges();
}

void BoardSim::step(float seconds)
{
    const long frames = std::lround(static_cast<double>(seconds) * 60.0);
    for (long i = 0; i < frames; ++i)
        frame();
}

bool BoardSim::isIdle() const
{
    // A fusion's sliding chips sit in their cells while they slide.
    const BonusRules* bonus = mMode.bonusRules.get();
    return mField->isIdle() && !(bonus && bonus->isBusy());
}

bool BoardSim::settle(float& seconds)
{
    const int64_t first = mFrames;
    const int64_t limit = std::lround(SETTLE_LIMIT / FRAME);
    while (!isIdle() && mFrames - first < limit)
        frame();
    seconds = static_cast<float>(mFrames - first) * FRAME;
    return isIdle();
}

namespace {

// One token per cell of the play rows: "#" a hole, "." an empty cell, else
// the chip's own token; "+N" after a tile with N layers left.
template <typename ChipToken>
void writeGrid(std::ostream& out, const GameField& field, ChipToken chipToken)
{
    out << "board " << field.gridWidth << ' ' << field.gridHeight << '\n';
    for (int row = 1; row <= field.lastRow(); ++row) {
        for (int column = 0; column < field.columnCount(); ++column) {
            const FieldCell* cell = field.cellAt(column, row);
            std::string token = ".";
            if (!cell || cell->solidity == 0)
                token = "#";
            else if (cell->chip && !cell->chip->released)
                token = chipToken(*cell->chip);
            if (cell && cell->solidity > 1)
                token += "+" + std::to_string(cell->solidity - 1);
            out << (column ? " " : "") << token;
        }
        out << '\n';
    }
}

}  // namespace

void dumpBoard(const GameField& field, std::ostream& out)
{
    writeGrid(out, field, [](const Chip& chip) {
        return chip.prototype ? chip.prototype->name : std::string("?");
    });
}

void BoardSim::dump()
{
    dumpBoard(*mField, mOut);
}

void BoardSim::dumpLayers()
{
    writeGrid(mOut, *mField, [](const Chip& chip) {
        std::string token;
        for (const Behavior* layer : chip.layers.objects)
            token += (token.empty() ? "" : "/") + std::to_string(layer->type);
        return token;
    });
}

bool BoardSim::playRandomUsefulSwap()
{
    GameField& field = *mField;
    std::vector<std::pair<FieldCell*, FieldCell*>> swaps;
    for (int row = 0; row <= field.lastRow(); ++row) {
        for (int column = 0; column < field.columnCount(); ++column) {
            FieldCell* a = field.cellAt(column, row);
            for (FieldCell* b : {field.cellAt(column + 1, row), field.cellAt(column, row + 1)})
                if (field.moveHint->isUsefulSwap(a, b))
                    swaps.emplace_back(a, b);
        }
    }
    if (swaps.empty())
        return false;
    auto [a, b] = swaps[static_cast<size_t>(VQ::rand()) % swaps.size()];
    std::swap(a->chip, b->chip);
    for (FieldCell* cell : {a, b}) {
        Chip* chip = cell->chip;
        chip->x = chip->targetX = cell->column + 0.5f;
        chip->y = chip->targetY = cell->row + 0.5f;
        chip->landingStamp = Chip::landingCounter++;
        chip->falling = 0;
    }
    field.runMatchPass(true);
    return true;
}
