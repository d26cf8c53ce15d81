#include "main_mode.h"

#include <algorithm>

#include "animationeditor/data_stream.h"
#include "animationeditor/vector_stream.h"
#include "dialogs/cutscenes_window.h"
#include "dialogs/fail_level_window.h"
#include "dialogs/ingame_menu_window.h"
#include "dialogs/play_level_window.h"
#include "dialogs/win_level_window.h"
#include "function.h"
#include "facebook_integration.h"
#include "game_properties.h"
#include "game_helpers/progress_helper.h"
#include "player_profile.h"
#include "store.h"
#include "game_state_manager.h"
#include "game_level.h"
#include "log_system.h"
#include "lua_array.h"
#include "lex_binded_function_manager.h"
#include "lua_script_2.h"
#include "main_mode_map_state.h"
#include "movie_state.h"
#include "remote_storage.h"
#include "save_section.h"

namespace {

constexpr int DEFAULT_STAR_SCORES[3] = {500, 1000, 2000};
// The fields before the first episode: version, lives, lastLifeChange,
// hasProgress, extraMoves, the position and the episode count.
constexpr size_t SECTION_HEADER_BYTES = 4 + 4 + 8 + 1 + 4 + 12 + 4;
constexpr size_t LEVEL_RECORD_BYTES = 1 + 4;

std::string readString(VQ::LuaScript2& script, const char* name)
{
    std::string value;
    script.getString(name, value);
    return value;
}

bool readFlag(SectionReader& in, bool& out)
{
    uint8_t byte = 0;
    if (!in.u8(byte))
        return false;
    out = byte != 0;
    return true;
}

// `locked`, then `completed` and `bestScore` of every level the catalogue
// gives the part.
void readPartRecord(SectionReader& in, PartInfo& part)
{
    readFlag(in, part.locked);
    for (LevelInfo* level : part.levels) {
        readFlag(in, level->completed);
        int32_t best = 0;
        if (in.i32(best))
            level->bestScore = best;
    }
}

// Whether the part records of a section (the whole section in `data`),
// walked with the catalogue's level counts, end where the section ends.
// The section stores no level count, so a catalogue whose parts changed
// their levels since the save would read every record after the change
// from the wrong bytes. Parts and episodes the section lists beyond the
// catalogue's end stay unread and do not count against it; a section cut
// inside its fixed fields is left to the reader, which takes what is there.
bool recordsFitCatalogue(const std::vector<uint8_t>& data, const std::vector<EpisodeInfo*>& episodes)
{
    size_t at = 0;
    const auto word = [&](uint32_t& out) {
        if (at + 4 > data.size())
            return false;
        out = uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
              uint32_t(data[at + 3]) << 24;
        at += 4;
        return true;
    };
    uint32_t first = 0;
    if (!word(first) || episodes.empty())
        return true;
    const int32_t version = static_cast<int32_t>(first);
    // The fields before the records (before the episode or part count).
    at = version >= 12 ? 33 : version == 11 ? 29 : 25;
    if (at > data.size())
        return true;
    const auto partBytes = [](const PartInfo& part) { return 1 + LEVEL_RECORD_BYTES * part.levels.size(); };
    if (version < 11) {
        // One record per part of the first episode, with no count: an older
        // save may hold fewer parts, never a part cut short.
        for (const PartInfo* part : episodes.front()->parts) {
            if (at == data.size())
                return true;
            at += partBytes(*part);
        }
        return at == data.size();
    }
    uint32_t episodeCount = 1;
    if (version >= 12 && !word(episodeCount))
        return true;
    // Surplus parts and episodes stay unread, but they must have room for
    // their smallest records (a part's lock byte, an episode's part count),
    // or the counts are shifted bytes of a misfit.
    const auto roomFor = [&](size_t parts, size_t episodeCounts) {
        return data.size() - at >= parts + 4 * episodeCounts;
    };
    for (size_t e = 0; e < episodeCount; ++e) {
        if (e >= episodes.size())
            return roomFor(0, episodeCount - e);
        uint32_t partCount = 0;
        if (!word(partCount))
            return false;
        const std::vector<PartInfo*>& parts = episodes[e]->parts;
        for (size_t p = 0; p < partCount; ++p) {
            // Only a following episode would be read from surplus bytes.
            if (p >= parts.size())
                return (version == 11 || e + 1 >= episodes.size()) && roomFor(partCount - p, episodeCount - e - 1);
            at += partBytes(*parts[p]);
            if (at > data.size())
                return false;
        }
    }
    return at == data.size();
}

void writePartRecord(SectionWriter& out, const PartInfo& part)
{
    out.u8(part.locked ? 1 : 0);
    for (const LevelInfo* level : part.levels) {
        out.u8(level->completed ? 1 : 0);
        out.i32(level->bestScore);
    }
}

}  // namespace

int LevelInfo::stars() const
{
    int stars = 0;
    while (stars < 3 && starScores[stars] <= bestScore)
        ++stars;
    return stars;
}

PartInfo::~PartInfo()
{
    for (LevelInfo* level : levels)
        delete level;
}

EpisodeInfo::~EpisodeInfo()
{
    for (PartInfo* part : parts)
        delete part;
}

MainMode::MainMode(std::string suffix) : suffix(std::move(suffix))
{
    readCatalogue();
}

MainMode::~MainMode()
{
    deleteLevelRules();
    releaseWindows();
    clearCatalogue();
}

void MainMode::clearCatalogue()
{
    for (EpisodeInfo* episode : episodes)
        delete episode;
    episodes.clear();
    currentLevel = nullptr;
}

void MainMode::readCatalogue()
{
    clearCatalogue();
    episodeIndex = partIndex = levelIndex = 0;
    hasProgress = false;
    lives = MAX_LIVES;
    int episodeIds = 0;
    int partIds = 0;
    int levelIds = 0;

    VQ::LuaScript2 script;
    if (script.load(CATALOGUE, "default") && script.openTable("episodes")) {
        VQ::forEachTableEntry(
            script,
            [&] {
                auto* episode = new EpisodeInfo();
                episodes.push_back(episode);
                episode->id = episodeIds++;
                episode->mapScene = readString(script, "mapScene");
                if (script.openTable("parts")) {
                    VQ::forEachTableEntry(
                        script,
                        [&] {
                            auto* part = new PartInfo();
                            episode->parts.push_back(part);
                            part->id = partIds++;
                            if (script.openTable("levels")) {
                                VQ::forEachTableEntry(
                                    script,
                                    [&] {
                                        const LevelInfo* prev = part->levels.empty() ? nullptr : part->levels.back();
                                        auto* level = new LevelInfo();
                                        part->levels.push_back(level);
                                        level->id = levelIds++;
                                        level->file = readString(script, "file");
                                        level->back1 = readString(script, "back1");
                                        level->back2 = readString(script, "back2");
                                        level->movieScene = readString(script, "movieScene");
                                        std::string title;
                                        if (!script.getString("title", title)) {
                                            level->title = level->file;
                                        } else if (!title.empty() && title[0] == '#') {
                                            level->titleIsKey = true;
                                            level->title = title.substr(1);
                                        } else {
                                            level->title = title;
                                        }
                                        // Backgrounds carry over within a part.
                                        if (prev && level->back1.empty())
                                            level->back1 = prev->back1;
                                        if (prev && level->back2.empty())
                                            level->back2 = prev->back2;
                                        readStarScores(*level);
                                    },
                                    [] {});
                                script.closeTable();
                            }
                            part->openMarker = readString(script, "openMarker");
                        },
                        [] {});
                    script.closeTable();
                }
                if (episode->id == 0 && !episode->parts.empty())
                    episode->parts.front()->locked = false;
            },
            [] {});
        script.closeTable();
    }
    normaliseLocks();
}

void MainMode::readStarScores(LevelInfo& level) const
{
    std::copy(std::begin(DEFAULT_STAR_SCORES), std::end(DEFAULT_STAR_SCORES), level.starScores);
    VQ::LuaScript2 script;
    if (!script.load(level.file + suffix + "_lua", "default") || !script.openTable("GameField"))
        return;
    if (script.openTable("stars")) {
        // A table of more than three scores: the rest have no star to give.
        int count = 0;
        forEachElement(script, [&] {
            int value = 0;
            script.topInt(value);
            if (count < 3)
                level.starScores[count] = value;
            ++count;
        });
        script.closeTable();
    }
    script.closeTable();
}

std::vector<PartInfo*> MainMode::allParts() const
{
    std::vector<PartInfo*> parts;
    for (const EpisodeInfo* episode : episodes)
        parts.insert(parts.end(), episode->parts.begin(), episode->parts.end());
    return parts;
}

void MainMode::normaliseLocks()
{
    const std::vector<PartInfo*> parts = allParts();
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i == 0) {
            parts[i]->locked = false;
        } else if (parts[i - 1]->locked) {
            parts[i]->locked = true;
            for (LevelInfo* level : parts[i]->levels) {
                level->completed = false;
                level->bestScore = 0;
            }
        }
    }
}

void MainMode::resetProgress(bool)
{
    hasProgress = false;
    lives = MAX_LIVES;
    for (PartInfo* part : allParts()) {
        part->locked = true;
        for (LevelInfo* level : part->levels) {
            level->completed = false;
            level->bestScore = 0;
        }
    }
    if (!episodes.empty() && !episodes.front()->parts.empty())
        episodes.front()->parts.front()->locked = false;
    updatePosition();
}

bool MainMode::isPartCompleted(const PartInfo& part)
{
    return std::all_of(part.levels.begin(), part.levels.end(), [](const LevelInfo* level) { return level->completed; });
}

bool MainMode::isEpisodeCompleted(const EpisodeInfo& episode)
{
    return std::all_of(episode.parts.begin(), episode.parts.end(),
                       [](const PartInfo* part) { return !part->locked && isPartCompleted(*part); });
}

bool MainMode::updatePosition()
{
    episodeIndex = partIndex = levelIndex = 0;
    // The last level of a part, and the leading completed levels, are never
    // below the first one, even in a part without levels.
    auto lastIndex = [](size_t count) { return count > 0 ? static_cast<int>(count) - 1 : 0; };
    for (const EpisodeInfo* episode : episodes) {
        if (!isEpisodeCompleted(*episode)) {
            partIndex = 0;
            levelIndex = 0;
            for (const PartInfo* part : episode->parts) {
                if (part->locked || !isPartCompleted(*part)) {
                    int leading = 0;
                    while (leading < static_cast<int>(part->levels.size()) && part->levels[leading]->completed)
                        ++leading;
                    levelIndex = std::min(leading, lastIndex(part->levels.size()));
                    break;
                }
                partIndex = std::min(partIndex + 1, lastIndex(episode->parts.size()));
            }
            break;
        }
        episodeIndex = std::min(episodeIndex + 1, lastIndex(episodes.size()));
        const EpisodeInfo* reached = episodes[episodeIndex];
        partIndex = lastIndex(reached->parts.size());
        levelIndex = reached->parts.empty() ? 0 : lastIndex(reached->parts[partIndex]->levels.size());
    }
    // Progress once made is kept: the map recomputes the position on every
    // build, and a player who has seen the intro but not yet won the first
    // level must not be shown the intro again on the next start.
    hasProgress = hasProgress || episodeIndex != 0 || partIndex != 0 || levelIndex != 0;
    return hasProgress;
}

LevelInfo* MainMode::levelAt(int episode, int part, int level) const
{
    if (episode < 0 || episode >= static_cast<int>(episodes.size()))
        return nullptr;
    const std::vector<PartInfo*>& parts = episodes[episode]->parts;
    if (part < 0 || part >= static_cast<int>(parts.size()))
        return nullptr;
    const std::vector<LevelInfo*>& levels = parts[part]->levels;
    if (level < 0 || level >= static_cast<int>(levels.size()))
        return nullptr;
    return levels[level];
}

void MainMode::start()
{
    if (mapState || !GameStateManager::exists())
        return;
    mapState = new MainModeMapState(this);
    GameStateManager::instance()->registerState(mapState);
}

bool MainMode::selectLevel(int episode, int part, int level)
{
    LevelInfo* info = levelAt(episode, part, level);
    if (!info)
        return false;
    currentLevel = info;
    levelScript = info->file + suffix + "_lua";
    levelBegun = false;
    if (GameStateManager::exists()) {
        GameStateManager* states = GameStateManager::instance();
        if (GameLevel* gameLevel = states->getGameLevel())
            gameLevel->mode = this;
        states->setState("GameLevel");
    }
    return true;
}

void MainMode::addLife()
{
    if (lives < MAX_LIVES)
        ++lives;
}

std::vector<FriendValue> MainMode::friendsRanking() const
{
    std::vector<FriendValue> ranking;
    if (!RemoteStorage::exists())
        return ranking;
    const std::map<uint64_t, int>& values = RemoteStorage::instance()->friendValues;
    const uint64_t own = GameProperties::exists() ? GameProperties::instance()->profile()->profileId : 0;
    const auto ownEntry = values.find(own);
    const size_t limit = ownEntry != values.end() ? 4 : 5;
    for (const auto& [userId, value] : values) {
        if (value > 0 && userId != own)
            ranking.push_back({userId, value});
    }
    if (ranking.size() > limit)
        ranking.resize(limit);
    if (ownEntry != values.end())
        ranking.push_back({ownEntry->first, ownEntry->second});
    std::stable_sort(ranking.begin(), ranking.end(),
                     [](const FriendValue& a, const FriendValue& b) { return a.value > b.value; });
    return ranking;
}

std::vector<uint64_t> MainMode::friendsWithoutValue() const
{
    std::vector<uint64_t> ids;
    if (!RemoteStorage::exists())
        return ids;
    const uint64_t own = GameProperties::exists() ? GameProperties::instance()->profile()->profileId : 0;
    for (const auto& [userId, value] : RemoteStorage::instance()->friendValues) {
        if (value == 0 && userId != own)
            ids.push_back(userId);
    }
    return ids;
}

size_t MainMode::sectionBytes() const
{
    size_t bytes = SECTION_HEADER_BYTES;
    for (const EpisodeInfo* episode : episodes) {
        bytes += 4;
        for (const PartInfo* part : episode->parts)
            bytes += 1 + LEVEL_RECORD_BYTES * part->levels.size();
    }
    return bytes;
}

void MainMode::save(AE::DataStream& stream)
{
    SectionWriter out(stream);
    out.u32(SAVE_VERSION);
    out.i32(lives);
    out.i64(lastLifeChange);
    out.u8(hasProgress ? 1 : 0);
    out.i32(extraMoves);
    out.i32(episodeIndex);
    out.i32(partIndex);
    out.i32(levelIndex);
    out.u32(static_cast<uint32_t>(episodes.size()));
    for (const EpisodeInfo* episode : episodes) {
        out.u32(static_cast<uint32_t>(episode->parts.size()));
        for (const PartInfo* part : episode->parts)
            writePartRecord(out, *part);
    }
}

void MainMode::load(AE::DataStream& stream)
{
    // The whole section is checked against the catalogue before anything
    // of it is taken: a misread progress would be saved over the old one.
    std::vector<uint8_t> data;
    {
        SectionReader whole(stream, SECTION);
        data.resize(whole.bytesLeft());
        whole.bytes(data.data(), data.size());
    }
    if (!recordsFitCatalogue(data, episodes)) {
        VQ::log(VQ::formatString("WARNING: Save section '%s' holds %zu bytes whose part records do not fit the "
                                 "campaign's parts and levels; it is not read",
                                 SECTION, data.size()));
        return;
    }
    AE::VectorStream section(data);
    SectionReader in(section, SECTION);
    uint32_t word = 0;
    if (in.u32(word)) {
        const int32_t version = static_cast<int32_t>(word);
        if (version >= 11) {
            int32_t value = 0;
            if (in.i32(value))
                lives = value;
        } else {
            lives = version;
        }
        in.i64(lastLifeChange);
        readFlag(in, hasProgress);
        in.i32(extraMoves);
        if (version >= 12)
            in.i32(episodeIndex);
        in.i32(partIndex);
        in.i32(levelIndex);

        if (version >= 12) {
            uint32_t episodeCount = 0;
            in.u32(episodeCount);
            for (size_t e = 0; episodeCount > 0 && e < episodes.size() && in.ok(); ++e, --episodeCount) {
                uint32_t partCount = 0;
                in.u32(partCount);
                const std::vector<PartInfo*>& parts = episodes[e]->parts;
                for (size_t p = 0; partCount > 0 && p < parts.size() && in.ok(); ++p, --partCount)
                    readPartRecord(in, *parts[p]);
            }
        } else if (!episodes.empty()) {
            const std::vector<PartInfo*>& parts = episodes.front()->parts;
            uint32_t partCount = static_cast<uint32_t>(parts.size());
            if (version == 11) {
                partCount = 0;
                in.u32(partCount);
            }
            for (size_t p = 0; partCount > 0 && p < parts.size() && in.ok(); ++p, --partCount)
                readPartRecord(in, *parts[p]);
        }
    }
    normaliseLocks();
}

void MainMode::activate()
{
    releaseWindows();
    winWindow = new WinLevelWindow();
    winWindow->mode = this;
    winWindow->addListener(this);
    ingameMenu = new IngameMenuWindow();
    ingameMenu->addListener(this);
    failWindow = new FailLevelWindow();
    failWindow->mode = this;
    failWindow->addListener(this);
    playLevelWindow = new PlayLevelWindow();
    playLevelWindow->mode = this;
    playLevelWindow->addListener(this);
    if (auto* mapListener = dynamic_cast<DialogWindowListener*>(static_cast<IGameState*>(mapState)))
        playLevelWindow->addListener(mapListener);

    VQ::LexBindedFunctionManager::instance()->registerFunction(
        "newGame", std::make_unique<VQ::LexBinder<MainMode>>(this, &MainMode::newGame));
    GameStateManager* states = GameStateManager::exists() ? GameStateManager::instance() : nullptr;
    layoutLevelUi(states && states->isPortrait());
    Mode::activate();
    MovieState* movie = states ? states->getMovieState() : nullptr;
    if (movie)
        movie->listener = this;
    cutscenesWindow = new CutscenesWindow();

    if (hasProgress) {
        goToMap();
    } else if (movie) {
        movie->skipNextClick = true;
        movie->sceneName = "dialog_1_xml";
        states->setState("MovieState");
    }
}

void MainMode::deactivate()
{
    releaseWindows();
    Mode::deactivate();
}

void MainMode::releaseWindows()
{
    // Marked, not deleted: this can run inside a window's own onHidden.
    DialogWindow* windows[] = {winWindow, failWindow, ingameMenu, playLevelWindow, cutscenesWindow};
    for (DialogWindow* window : windows) {
        if (window)
            window->removalMark = true;
    }
    winWindow = nullptr;
    failWindow = nullptr;
    ingameMenu = nullptr;
    playLevelWindow = nullptr;
    cutscenesWindow = nullptr;
}

void MainMode::goToMap()
{
    if (FacebookIntegration* social = FacebookIntegration::instancePtr(); social && social->loggedIn)
        social->loadRequests();
    if (GameStateManager::exists())
        GameStateManager::instance()->setState(MainModeMapState::NAME);
}

void MainMode::onLevelLoadFailed()
{
    VQ::log(VQ::formatString("ERROR: Level '%s' is broken; back to the map", levelScript.c_str()));
    goToMap();
}

void MainMode::onMovieFinished()
{
    hasProgress = true;
    goToMap();
}

void MainMode::showIngameMenu()
{
    // Only once the limit panel has landed in this level.
    if (!limitShown)
        return;
    if (ingameMenu)
        ingameMenu->open();
}

void MainMode::newGame()
{
    restartLevel();
}

void MainMode::restartLevel()
{
    levelBegun = false;
    if (GameStateManager::exists())
        GameStateManager::instance()->setState("GameLevel");
}

void MainMode::onHidden(DialogWindow* window)
{
    if (window == winWindow) {
        leaveWonLevel(winWindow->result);
    } else if (window == ingameMenu) {
        if (ingameMenu->result == 0)
            goToMap();
    } else if (window == failWindow) {
        if (failWindow->result == FailLevelWindow::REPLAY)
            playLevelWindow->open(currentLevel, true);
        else
            goToMap();
    } else if (window == playLevelWindow) {
        // The map state answers the start window while it is loaded.
        if (mapState && mapState->isLoaded())
            return;
        if (playLevelWindow->result == 0)
            goToMap();
        else
            restartLevel();
    }
}

bool MainMode::isLastLevel(const LevelInfo& level) const
{
    int highest = level.id;
    for (const PartInfo* part : allParts())
        for (const LevelInfo* other : part->levels)
            highest = std::max(highest, other->id);
    return level.id == highest;
}

void MainMode::finishWin()
{
    const int score = progress ? progress->score : 0;
    recordWin(score);
    holdBonusPanel();
    if (winWindow)
        winWindow->open(currentLevel, score, silverReward);
}

void MainMode::recordWin(int score)
{
    PlayerProfile* profile = GameProperties::exists() ? GameProperties::instance()->profile() : nullptr;
    if (profile && Store::exists()) {
        const Store* store = Store::instance();
        for (int32_t bonus : store->bonusesUnlockedAtLevel(currentLevel->id)) {
            if (std::find(profile->unlockedBonuses.begin(), profile->unlockedBonuses.end(), bonus) ==
                profile->unlockedBonuses.end())
                profile->unlockedBonuses.push_back(bonus);
        }
        for (int32_t booster : store->passiveBonusesUnlockedAtLevel(currentLevel->id))
            profile->unlockPassiveBonus(booster);
    }

    levelStarted = false;
    const int oldStars = currentLevel->stars();
    if (currentLevel->bestScore < score)
        currentLevel->bestScore = score;
    currentLevel->completed = true;
    if (!replay)
        updatePosition();
    const int gained = std::max(currentLevel->stars() - oldStars, 0);
    if (profile) {
        profile->levelWon = 1;
        profile->levelStars += gained;
    }
    silverReward = static_cast<int>(static_cast<double>(score) * 0.001);
    if (mapState) {
        mapState->awardFlight = true;
        mapState->pendingStars = gained;
    }
    if (profile)
        profile->setSilver(profile->silver + silverReward);
    addLife();
}

void MainMode::leaveWonLevel(int32_t result)
{
    const bool last = isLastLevel(*currentLevel);
    if (!last && mapState) {
        mapState->walkPending = true;
        mapState->autoAdvance = result == WinLevelWindow::NEXT;
        mapState->walkToNewLevel = !replay;
    }
    GameStateManager* states = GameStateManager::exists() ? GameStateManager::instance() : nullptr;
    MovieState* movie = states ? states->getMovieState() : nullptr;
    if (replay) {
        goToMap();
    } else if (!currentLevel->movieScene.empty() && movie) {
        movie->listener = this;
        movie->sceneName = currentLevel->movieScene;
        states->setState("MovieState");
    } else if (last) {
        // The catalogue is done: the main menu, and the save waits for the
        // next one.
        if (states)
            states->setState("MainMenu");
        return;
    } else {
        goToMap();
    }
    if (mapState) {
        mapState->awardFlight = true;
        mapState->pendingSilver = silverReward;
    }
    if (GameProperties::exists())
        GameProperties::instance()->save();
}
