// Builds Zarvel's 40 puzzle levels from a fixed plan of board sizes and pars,
// and formats them as level files.
#pragma once

#include "../../QNEngine/ZVLevelFile.h"
#include "../../QNEngine/ZVSolver.h"

#include <cstdint>
#include <string>
#include <vector>

// One level: board size, cells (bit row * width + column, 1 = front face) and
// par, the least number of clicks that makes every cell show the same face.
struct GeneratedLevel
{
    int width;
    int height;
    ZVSolver::Cells cells;
    int par;
};

class LevelGenerator
{
public:
    static constexpr int LEVEL_COUNT = 40;
    // Records a new level file starts with: high enough that the first solved
    // run beats both (a stored 0 could never be beaten).
    static constexpr int START_BEST_TIME = ZVLevelFile::kFreshBestTime;   // hundredths of a second
    static constexpr int START_BEST_MOVES = ZVLevelFile::kFreshBestMoves;
    static constexpr std::uint64_t DEFAULT_SEED = 0x5A6172766C31ull;

    // Size and par wanted for one level.
    struct Target
    {
        int width;
        int height;
        int par;
    };

    // The plan, level 1 first: small boards with a par of one or two clicks,
    // rising to 6 x 5 boards that need a dozen or more. Every size is one the
    // level cameras frame (at most 6 wide and 5 high).
    static const std::vector<Target>& plan();

    explicit LevelGenerator(std::uint64_t seed = DEFAULT_SEED);

    // Generates every level of the plan, in order, into levels. Each board is
    // solvable, not uniform (nor is its inversion, the layout a load may show)
    // and has exactly the planned par; no board repeats another level's board
    // or its inversion. Deterministic for a given seed. Returns false (with
    // the levels made so far) if a target could not be met.
    bool generate(std::vector<GeneratedLevel>& levels);

    // The level file text exactly as the game rewrites it after a record:
    // "%d %d\n" with width and height; one line per row, row 0 first, each
    // cell written "1 " or "0 ", then "\n"; best time, par and best moves,
    // each "%d\n".
    static std::string formatLevelFile(const GeneratedLevel& level, int bestTime, int bestMoves);

private:
    std::uint64_t _next();
    int _below(int bound);
    ZVSolver::Cells _randomClicks(const ZVSolver& solver, int count);

    std::uint64_t m_state;
};
