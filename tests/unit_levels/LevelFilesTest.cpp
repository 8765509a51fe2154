// The 40 shipped level files: read the way the game reads them, each must be
// a fair puzzle whose par is the true minimum, reproducible by the level tool
// and laid out exactly as the tool (and the game after a record) writes it.
#include "LevelGenerator.h"
#include "ZVLevelFile.h"
#include "ZVSolver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{
typedef ZVSolver::Cells Cells;

struct LevelFile
{
    std::string text; // empty when the file is missing
    int width = 0, height = 0;
    std::vector<int> values; // cell tokens as atoi reads them
    Cells cells = 0;
    int bestTime = 0, par = 0, bestMoves = 0;
    size_t tokenCount = 0;
};

// The game's reading: split on runs of "\r\n\t ,;{}", atoi every token
// (no comment removal); missing tokens read as 0 here.
LevelFile readLevel(int n)
{
    LevelFile f;
    std::ifstream in(std::string(ZV_SOURCE_DIR) + "/Assets/Scripts/Levels/zv." + std::to_string(n) + ".lvl",
                     std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    f.text = ss.str();
    std::vector<int> tokens;
    const char* delimiters = "\r\n\t ,;{}";
    for (size_t pos = 0; (pos = f.text.find_first_not_of(delimiters, pos)) != std::string::npos;)
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
    if (f.width > 0 && f.height > 0 && f.width * f.height <= ZVSolver::MAX_CELLS)
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

} // namespace

TEST(ShippedLevels, EveryLevelIsAFairPuzzleWithTheTruePar)
{
    std::set<std::pair<std::pair<int, int>, Cells>> seen;
    int previousPar = 0;
    for (int n = 1; n <= LevelGenerator::LEVEL_COUNT; ++n)
    {
        const LevelFile f = readLevel(n);
        SCOPED_TRACE("zv." + std::to_string(n) + ".lvl");
        ASSERT_FALSE(f.text.empty());
        // Sizes the level cameras frame.
        EXPECT_TRUE(f.width >= 1 && f.width <= 6 && f.height >= 1 && f.height <= 5);
        ASSERT_EQ(f.tokenCount, size_t(2 + f.width * f.height + 3));
        for (int v : f.values)
            EXPECT_TRUE(v == 0 || v == 1) << "cell value " << v;

        const ZVSolver solver(f.width, f.height);
        ASSERT_TRUE(solver.isValid());
        // A load may show either the stored layout or its inversion.
        const Cells inverse = f.cells ^ solver.allCells();
        EXPECT_EQ(f.par, solver.minimumClicks(f.cells));
        EXPECT_EQ(f.par, solver.minimumClicks(inverse));
        EXPECT_GE(f.par, 1) << "already solved";
        // The game's hints, followed from either layout, solve it in par clicks.
        for (Cells board : {f.cells, inverse})
        {
            int clicks = 0;
            for (int c; (c = solver.hintCell(board)) >= 0 && clicks <= f.par; ++clicks)
                board = solver.applyClicks(board, Cells(1) << c);
            EXPECT_TRUE(solver.isUniform(board));
            EXPECT_EQ(clicks, f.par);
        }

        // Fresh records, or records the game could have saved: a run never
        // beats par in moves and a solve takes time.
        if (f.bestTime != LevelGenerator::START_BEST_TIME || f.bestMoves != LevelGenerator::START_BEST_MOVES)
        {
            EXPECT_TRUE(f.bestTime >= 1 && f.bestTime <= LevelGenerator::START_BEST_TIME);
            EXPECT_TRUE(f.bestMoves >= f.par && f.bestMoves <= LevelGenerator::START_BEST_MOVES);
        }
        // Difficulty rises, from an easy first board to large, hard last
        // ones, and no board repeats (up to inversion).
        EXPECT_LE(previousPar, f.par);
        previousPar = f.par;
        EXPECT_TRUE(n > 1 || (f.par <= 2 && f.width * f.height <= 9));
        EXPECT_TRUE(n <= LevelGenerator::LEVEL_COUNT - 5 || (f.par >= 10 && f.width * f.height >= 20));
        EXPECT_TRUE(seen.insert({{f.width, f.height}, std::min(f.cells, inverse)}).second) << "a repeated board";
    }
}

TEST(ShippedLevels, LevelToolReproducesTheShippedBoards)
{
    LevelGenerator generator;
    std::vector<GeneratedLevel> generated;
    ASSERT_TRUE(generator.generate(generated));
    ASSERT_EQ(generated.size(), size_t(LevelGenerator::LEVEL_COUNT));
    for (size_t i = 0; i < generated.size(); ++i)
    {
        SCOPED_TRACE("level " + std::to_string(i + 1));
        const GeneratedLevel& g = generated[i];
        const LevelGenerator::Target& plan = LevelGenerator::plan().at(i);
        EXPECT_TRUE(g.width == plan.width && g.height == plan.height && g.par == plan.par);
        const LevelFile f = readLevel(int(i) + 1);
        ASSERT_TRUE(f.width == g.width && f.height == g.height && f.par == g.par);
        // A saved record keeps whichever layout was played.
        const Cells all = ZVSolver(g.width, g.height).allCells();
        EXPECT_TRUE(f.cells == g.cells || f.cells == (g.cells ^ all)) << "regenerate the levels with the levelgen tool";
        // The tool's formatter writes the game's own layout (the level tests
        // save a shipped file with the game's code and compare), so a record
        // save changes nothing but the record numbers.
        EXPECT_EQ(LevelGenerator::formatLevelFile({g.width, g.height, f.cells, g.par}, f.bestTime, f.bestMoves),
                  f.text);
    }
}

TEST(LevelFileReader, ReadsTheGameTokensAndRefusesWhatTheGameRefuses)
{
    ZVLevelFile f;
    // Commas, semicolons and braces separate; a cell other than 0 is the
    // front face; a word reads 0; tokens after the records are ignored.
    ASSERT_TRUE(f.parse("3,2\r\n{1;0,2}\n0 x -1\n42,7;9 extra"));
    EXPECT_TRUE(f.m_width == 3 && f.m_height == 2);
    EXPECT_EQ(f.frontMask(), 0b100101u);
    EXPECT_TRUE(f.m_bestTime == 42 && f.m_parMoves == 7 && f.m_bestMoves == 9);
    const struct
    {
        const char* text;
        const char* reason;
    } refused[] = {{"", "does not start"}, {"4", "does not start"}, {"7 1 0", "7 x 1"},
                   {"0 3", "0 x 3"}, {"2 1 1 0 5 5", "too few"}};
    for (const auto& r : refused)
    {
        EXPECT_FALSE(f.parse(r.text)) << r.text;
        EXPECT_NE(std::string(f.m_reason).find(r.reason), std::string::npos) << f.m_reason;
    }
}
