#pragma once
// A copy of the sample content in a folder of the test's own (which also
// holds "VQ.log"), with room for test levels and board parameters, played
// through the headless board.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "board_sim.h"
#include "chip.h"
#include "chip_manager.h"
#include "chip_selector.h"
#include "game_field.h"
#include "random_seed.h"
#include "support/sound_fixtures.h"
#include "support/test_support.h"

namespace BoardSimFixture {

// Board parameters for small test boards.
inline std::string parameters(int width, int height, const std::string& more = std::string())
{
    return "Parameters = { gridWidth = " + std::to_string(width) + ", gridHeight = " + std::to_string(height) +
           ", cellSize = 40, " + more + " }\n";
}

class BoardSimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::useSilentAudioDevice();
        mOldCwd = std::filesystem::current_path();
        namespace fs = std::filesystem;
        const fs::path source = fs::path(LANTERRA_SOURCE_DIR) / "media";
        for (const auto& entry : fs::recursive_directory_iterator(source)) {
            const fs::path relative = fs::relative(entry.path(), source);
            const std::string name = relative.filename().string();
            if (name.rfind("data.", 0) == 0)
                continue;  // the packed archive would hide the test files
            if (entry.is_directory())
                fs::create_directories(media() / relative);
            else
                fs::copy_file(entry.path(), media() / relative);
        }
        std::filesystem::current_path(mDir.path());
    }
    void TearDown() override
    {
        mSim.reset();
        setSeedCounterSource(nullptr);
        std::filesystem::current_path(mOldCwd);
    }

    std::filesystem::path media() const { return std::filesystem::path(mDir.path()) / "media"; }

    // Adds a resource of package "default" written from `text`.
    void addResource(const std::string& name, const std::string& file, const std::string& text)
    {
        TestSupport::writeFile((media() / file).string(), text);
        const std::string list = (media() / "lists/default.lua").string();
        std::string content = TestSupport::readFile(list);
        const size_t end = content.rfind('}');
        content.insert(end, "    { name = \"" + name + "\", filename = \"" + file + "\" },\n");
        TestSupport::writeFile(list, content);
    }
    // Takes a resource out of package "default".
    void removeResource(const std::string& name)
    {
        const std::string list = (media() / "lists/default.lua").string();
        std::vector<std::string> kept;
        for (const std::string& line : TestSupport::splitLines(TestSupport::readFile(list)))
            if (line.find("\"" + name + "\"") == std::string::npos)
                kept.push_back(line);
        std::string content;
        for (const std::string& line : kept)
            content += line + "\n";
        TestSupport::writeFile(list, content);
    }
    void useParameters(const std::string& text)
    {
        TestSupport::writeFile((media() / "scripts/gamefield.lua").string(), text);
    }
    void addLevel(const std::string& name, const std::string& text)
    {
        addResource(name, "levels/" + name + ".lua", text);
    }

    BoardSim& start(const std::string& level, uint32_t seed = 1, bool rules = false)
    {
        BoardSim::useSeed(seed);
        mSim = std::make_unique<BoardSim>(mOut);
        if (rules)
            mSim->enableRules();
        mSim->start("media", level);
        return *mSim;
    }
    GameField& field() { return mSim->field(); }
    NullBoardRenderer& renderer() { return mSim->renderer(); }
    Chip* chipAt(int column, int row) { return field().cellAt(column, row)->chip; }
    std::string nameAt(int column, int row)
    {
        const Chip* chip = chipAt(column, row);
        return chip && chip->prototype ? chip->prototype->name : std::string();
    }
    // Frames until the level's entry is over.
    void finishEntry()
    {
        for (int i = 0; i < 600 && !field().levelBeginReported; ++i)
            mSim->frame();
        ASSERT_TRUE(field().levelBeginReported);
    }
    bool anyReadyLine()
    {
        for (auto& row : field().rows)
            for (FieldCell& cell : row)
                if (cell.chip && cell.chip->selector && matchCount(cell.chip->selector->select(&field(), cell.chip)))
                    return true;
        return false;
    }
    std::vector<std::string> outputLines() const { return TestSupport::splitLines(mOut.str()); }
    int countOutput(const std::string& prefix) const
    {
        int count = 0;
        for (const std::string& line : outputLines())
            count += line.rfind(prefix, 0) == 0;
        return count;
    }
    std::vector<std::string> logLines() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : TestSupport::splitLines(TestSupport::readFile(mDir.file("VQ.log"))))
            lines.push_back(TestSupport::stripLogPrefix(line));
        return lines;
    }

    TestSupport::TempDir mDir;
    std::filesystem::path mOldCwd;
    std::ostringstream mOut;
    std::unique_ptr<BoardSim> mSim;
};

}  // namespace BoardSimFixture
