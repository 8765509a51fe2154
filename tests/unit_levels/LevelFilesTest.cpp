// The 40 shipped level files: read the way the game reads them, each must be
// a fair puzzle whose par is the true minimum, laid out exactly as the game
// rewrites a file after a record, and reproducible by the level tool.
#include "LevelGenerator.h"
#include "PuzzleSolver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{
typedef PuzzleSolver::Cells Cells;

struct LevelFile
{
    bool read = false;
    std::string text;
    int width = 0, height = 0;
    std::vector<int> values;     // cell tokens as atoi reads them
    Cells cells = 0;
    int bestTime = 0, par = 0, bestMoves = 0;
    size_t tokenCount = 0;
};

std::string levelPath(int n)
{
    return std::string(ZV_SOURCE_DIR) + "/Assets/Scripts/Levels/zv." + std::to_string(n) + ".lvl";
}

// The game's reading: split on runs of "\r\n\t ,;{}", atoi every token
// (no comment removal); missing tokens read as 0 here.
LevelFile readLevel(int n)
{
    LevelFile f;
    std::ifstream in(levelPath(n), std::ios::binary);
    if (!in)
        return f;
    std::stringstream ss;
    ss << in.rdbuf();
    f.text = ss.str();
    f.read = true;

    std::vector<int> tokens;
    const std::string delimiters = "\r\n\t ,;{}";
    size_t pos = 0;
    while ((pos = f.text.find_first_not_of(delimiters, pos)) != std::string::npos)
    {
        const size_t end = f.text.find_first_of(delimiters, pos);
        tokens.push_back(std::atoi(f.text.substr(pos, end - pos).c_str()));
        pos = end;
    }
    f.tokenCount = tokens.size();
    size_t next = 0;
    auto take = [&]() { return next < tokens.size() ? tokens[next++] : 0; };
    f.width = take();
    f.height = take();
    if (f.width > 0 && f.height > 0 && f.width * f.height <= PuzzleSolver::MAX_CELLS)
        for (int k = 0; k < f.width * f.height; ++k)
        {
            f.values.push_back(take());
            if (f.values.back() != 0)
                f.cells |= Cells(1) << k;
        }
    f.bestTime = take();
    f.par = take();
    f.bestMoves = take();
    return f;
}

// What the game writes when it saves a record for this board.
std::string rewrite(const LevelFile& f)
{
    char line[64];
    std::snprintf(line, sizeof line, "%d %d\n", f.width, f.height);
    std::string text = line;
    for (int j = 0; j < f.height; ++j)
    {
        for (int i = 0; i < f.width; ++i)
            text += f.values[j * f.width + i] == 1 ? "1 " : "0 ";
        text += "\n";
    }
    for (int v : {f.bestTime, f.par, f.bestMoves})
    {
        std::snprintf(line, sizeof line, "%d\n", v);
        text += line;
    }
    return text;
}

std::vector<LevelFile> readAll()
{
    std::vector<LevelFile> levels;
    for (int n = 1; n <= LevelGenerator::LEVEL_COUNT; ++n)
        levels.push_back(readLevel(n));
    return levels;
}
} // namespace

TEST(ShippedLevels, EveryLevelIsAFairPuzzleWithTheTruePar)
{
    const std::vector<LevelFile> levels = readAll();
    for (int n = 1; n <= LevelGenerator::LEVEL_COUNT; ++n)
    {
        const LevelFile& f = levels[n - 1];
        SCOPED_TRACE("zv." + std::to_string(n) + ".lvl");
        ASSERT_TRUE(f.read) << levelPath(n);
        // Sizes the level cameras frame.
        EXPECT_GE(f.width, 1);
        EXPECT_LE(f.width, 6);
        EXPECT_GE(f.height, 1);
        EXPECT_LE(f.height, 5);
        ASSERT_EQ(f.tokenCount, size_t(2 + f.width * f.height + 3));
        for (int v : f.values)
            EXPECT_TRUE(v == 0 || v == 1) << "cell value " << v;

        const PuzzleSolver solver(f.width, f.height);
        ASSERT_TRUE(solver.isValid());
        // A load may show either the stored layout or its inversion.
        EXPECT_FALSE(solver.isUniform(f.cells));
        EXPECT_FALSE(solver.isUniform(f.cells ^ solver.allCells()));
        EXPECT_TRUE(solver.isSolvable(f.cells));
        EXPECT_EQ(f.par, solver.minimumClicks(f.cells));
        EXPECT_EQ(f.par, solver.minimumClicks(f.cells ^ solver.allCells()));

        // Fresh records, or records the game could have saved: a run never
        // beats par in moves and a solve takes time.
        const bool fresh = f.bestTime == LevelGenerator::START_BEST_TIME &&
                           f.bestMoves == LevelGenerator::START_BEST_MOVES;
        if (!fresh)
        {
            EXPECT_GE(f.bestTime, 1);
            EXPECT_LE(f.bestTime, LevelGenerator::START_BEST_TIME);
            EXPECT_GE(f.bestMoves, f.par);
            EXPECT_LE(f.bestMoves, LevelGenerator::START_BEST_MOVES);
        }

        // A record save must change nothing but the record numbers.
        EXPECT_EQ(f.text, rewrite(f));
    }
}

TEST(ShippedLevels, DifficultyRisesAndNoBoardRepeats)
{
    const std::vector<LevelFile> levels = readAll();
    for (const LevelFile& f : levels)
        ASSERT_TRUE(f.read);
    EXPECT_LE(levels.front().par, 2);
    EXPECT_LE(levels.front().width * levels.front().height, 9);
    for (size_t i = 1; i < levels.size(); ++i)
        EXPECT_LE(levels[i - 1].par, levels[i].par) << "level " << i + 1;
    for (size_t i = levels.size() - 5; i < levels.size(); ++i)
    {
        EXPECT_GE(levels[i].par, 10) << "level " << i + 1;
        EXPECT_GE(levels[i].width * levels[i].height, 20) << "level " << i + 1;
    }

    std::set<std::pair<std::pair<int, int>, Cells>> seen;
    for (size_t i = 0; i < levels.size(); ++i)
    {
        const LevelFile& f = levels[i];
        const PuzzleSolver solver(f.width, f.height);
        const Cells inverse = f.cells ^ solver.allCells();
        const auto key = std::make_pair(std::make_pair(f.width, f.height),
                                        f.cells < inverse ? f.cells : inverse);
        EXPECT_TRUE(seen.insert(key).second) << "level " << i + 1 << " repeats a board";
    }
}

TEST(ShippedLevels, LevelToolReproducesTheShippedBoards)
{
    LevelGenerator generator;
    std::vector<GeneratedLevel> generated;
    ASSERT_TRUE(generator.generate(generated));
    ASSERT_EQ(generated.size(), size_t(LevelGenerator::LEVEL_COUNT));
    ASSERT_EQ(LevelGenerator::plan().size(), generated.size());

    const std::vector<LevelFile> levels = readAll();
    for (size_t i = 0; i < generated.size(); ++i)
    {
        SCOPED_TRACE("level " + std::to_string(i + 1));
        const GeneratedLevel& g = generated[i];
        const LevelFile& f = levels[i];
        ASSERT_TRUE(f.read);
        EXPECT_EQ(g.width, LevelGenerator::plan()[i].width);
        EXPECT_EQ(g.height, LevelGenerator::plan()[i].height);
        EXPECT_EQ(g.par, LevelGenerator::plan()[i].par);
        EXPECT_EQ(f.width, g.width);
        EXPECT_EQ(f.height, g.height);
        EXPECT_EQ(f.par, g.par);
        // A saved record keeps whichever layout was played.
        const Cells all = PuzzleSolver(g.width, g.height).allCells();
        EXPECT_TRUE(f.cells == g.cells || f.cells == (g.cells ^ all))
            << "regenerate the levels with the levelgen tool";
        // The tool's formatter writes the game's own layout.
        const GeneratedLevel stored = {g.width, g.height, f.cells, g.par};
        EXPECT_EQ(LevelGenerator::formatLevelFile(stored, f.bestTime, f.bestMoves), f.text);
    }
}
