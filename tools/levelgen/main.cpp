// levelgen: writes Zarvel's 40 level files.
//
// Regenerate the shipped levels from the repository root with
//   cmake --build build --target levelgen && build/levelgen Assets
// which (re)writes Assets/Scripts/Levels/zv.1.lvl .. zv.40.lvl. The output is
// the same on every run (fixed seed) and every file starts with fresh records,
// so regenerating discards records stored in those files.
//
//   levelgen --solve <level file>
// prints the fewest clicks that make the file's board one face, one
// "column row" pair per line (row 0 is the bottom row); the end-to-end tests
// play a level with it.
#include "LevelGenerator.h"
#include "../../QNEngine/ZVLevelFile.h"
#include "../../QNEngine/ZVSolver.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
int solveFile(const char* path)
{
    // The game's own reader: a file the game loads is read here exactly as
    // the game reads it, and a file the game refuses is refused.
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    ZVLevelFile file;
    if (!in || !file.parse(text.str().c_str()))
    {
        std::fprintf(stderr, "levelgen: %s is not a level file%s%s\n", path, file.m_reason[0] ? ": " : "",
                     file.m_reason);
        return 1;
    }
    const int width = file.m_width;
    ZVSolver solver(width, file.m_height);
    ZVSolver::Cells clicks = 0;
    if (solver.minimumClicks(file.frontMask(), &clicks) < 0)
    {
        std::fprintf(stderr, "levelgen: %s cannot be solved\n", path);
        return 1;
    }
    for (int k = 0; k < solver.cellCount(); ++k)
        if (clicks & (ZVSolver::Cells(1) << k)) std::printf("%d %d\n", k % width, k / width);
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--solve") return solveFile(argv[2]);
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <Assets folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = std::filesystem::path(argv[1]) / "Scripts" / "Levels";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
    {
        std::fprintf(stderr, "levelgen: cannot create %s: %s\n", dir.string().c_str(),
                     error.message().c_str());
        return 1;
    }

    LevelGenerator generator;
    std::vector<GeneratedLevel> levels;
    if (!generator.generate(levels))
    {
        std::fprintf(stderr, "levelgen: no board found for level %zu\n", levels.size() + 1);
        return 1;
    }

    std::printf("level  size  par\n");
    for (size_t i = 0; i < levels.size(); ++i)
    {
        const GeneratedLevel& level = levels[i];
        const std::filesystem::path file = dir / ("zv." + std::to_string(i + 1) + ".lvl");
        // Binary mode: "\n" line ends on every platform, as the game writes them here.
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << LevelGenerator::formatLevelFile(level, LevelGenerator::START_BEST_TIME,
                                               LevelGenerator::START_BEST_MOVES);
        out.close();
        if (!out)
        {
            std::fprintf(stderr, "levelgen: cannot write %s\n", file.string().c_str());
            return 1;
        }
        std::printf("%5zu  %dx%d  %3d\n", i + 1, level.width, level.height, level.par);
    }
    return 0;
}
