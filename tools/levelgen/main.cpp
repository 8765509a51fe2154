// levelgen: writes Zarvel's 40 level files.
//
// Regenerate the shipped levels from the repository root with
//   cmake --build build --target levelgen && build/levelgen Assets
// which (re)writes Assets/Scripts/Levels/zv.1.lvl .. zv.40.lvl. The output is
// the same on every run (fixed seed) and every file starts with fresh records,
// so regenerating discards records stored in those files.
#include "LevelGenerator.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
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
