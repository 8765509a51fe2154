#include "LevelGenerator.h"

#include <set>
#include <utility>

const std::vector<LevelGenerator::Target>& LevelGenerator::plan()
{
    // Pars climb by about one every three levels; a new, larger board comes in
    // at a par the player already knows, so size and depth never jump together.
    static const std::vector<Target> levels = {
        {3, 3, 1},  {3, 3, 2},  {3, 3, 2},  {4, 3, 2},  {3, 3, 3},
        {4, 3, 3},  {4, 3, 3},  {3, 3, 4},  {4, 3, 4},  {4, 4, 4},
        {3, 3, 5},  {4, 3, 5},  {4, 4, 5},  {5, 4, 5},  {4, 3, 6},
        {4, 4, 6},  {5, 4, 6},  {5, 5, 6},  {4, 3, 7},  {5, 4, 7},
        {5, 5, 7},  {6, 5, 7},  {5, 4, 8},  {5, 5, 8},  {6, 5, 8},
        {5, 4, 9},  {5, 5, 9},  {6, 5, 9},  {5, 4, 10}, {5, 5, 10},
        {6, 5, 10}, {5, 4, 11}, {5, 5, 11}, {6, 5, 11}, {5, 5, 12},
        {6, 5, 12}, {5, 4, 13}, {6, 5, 13}, {6, 5, 14}, {6, 5, 15},
    };
    return levels;
}

LevelGenerator::LevelGenerator(std::uint64_t seed) : m_state(seed)
{
}

// splitmix64: fully specified here, so the levels do not depend on the
// standard library's distributions.
std::uint64_t LevelGenerator::_next()
{
    m_state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int LevelGenerator::_below(int bound)
{
    return static_cast<int>(_next() % static_cast<std::uint64_t>(bound));
}

// count distinct cells, or every cell with probability one half when count < 0.
ZVSolver::Cells LevelGenerator::_randomClicks(const ZVSolver& solver, int count)
{
    const int n = solver.cellCount();
    if (count < 0)
        return _next() & solver.allCells();
    std::vector<int> cells(n);
    for (int i = 0; i < n; ++i)
        cells[i] = i;
    ZVSolver::Cells clicks = 0;
    for (int i = 0; i < count && i < n; ++i)
    {
        const int j = i + _below(n - i);
        std::swap(cells[i], cells[j]);
        clicks |= ZVSolver::Cells(1) << cells[i];
    }
    return clicks;
}

bool LevelGenerator::generate(std::vector<GeneratedLevel>& levels)
{
    const int maxTries = 1000000;
    levels.clear();
    // Boards already used, stored as the smaller of board and inversion.
    std::set<std::pair<std::pair<int, int>, ZVSolver::Cells>> used;
    for (const Target& target : plan())
    {
        const ZVSolver solver(target.width, target.height);
        if (!solver.isValid())
            return false;
        bool found = false;
        for (int attempt = 0; attempt < maxTries && !found; ++attempt)
        {
            // Clicking from a uniform board keeps it solvable. Exactly par
            // clicks finds low pars on big boards; a uniformly random board
            // finds pars near the board's worst case.
            const int count = (attempt % 2 == 0) ? target.par : -1;
            ZVSolver::Cells board = solver.applyClicks(0, _randomClicks(solver, count));
            if (_next() & 1)
                board ^= solver.allCells();
            const ZVSolver::Cells inverse = board ^ solver.allCells();
            if (solver.isUniform(board) || solver.isUniform(inverse))
                continue;
            if (solver.minimumClicks(board) != target.par)
                continue;
            const auto key = std::make_pair(std::make_pair(target.width, target.height),
                                            board < inverse ? board : inverse);
            if (!used.insert(key).second)
                continue;
            levels.push_back({target.width, target.height, board, target.par});
            found = true;
        }
        if (!found)
            return false;
    }
    return true;
}

std::string LevelGenerator::formatLevelFile(const GeneratedLevel& level, int bestTime, int bestMoves)
{
    std::string text = std::to_string(level.width) + " " + std::to_string(level.height) + "\n";
    for (int row = 0; row < level.height; ++row)
    {
        for (int column = 0; column < level.width; ++column)
        {
            const int index = row * level.width + column;
            text += ((level.cells >> index) & 1) ? "1 " : "0 ";
        }
        text += "\n";
    }
    text += std::to_string(bestTime) + "\n";
    text += std::to_string(level.par) + "\n";
    text += std::to_string(bestMoves) + "\n";
    return text;
}
