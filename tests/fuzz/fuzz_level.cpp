// libFuzzer target for the level file loader: any bytes in as a level file,
// through CZVBaseLevel::loadLevelFromFile (its size and count checks, the
// board's blocks built from the shipped block script). Either the board is
// refused and the one on show stays, or the board holds what the file said.
// Run from the repository root: the blocks read the shipped assets.
#include <cstdlib>

#include "DX_TextureManager.h"
#include "EngineFuzzSupport.h"
#include "QNGameState.h"
#include "QNResults.h"
#include "ZVBaseLevel.h"
#include "testing/PlatformTesting.h"

namespace {

const char kPath[] = "Assets\\Scripts\\Levels\\zv.fuzz.lvl";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    std::vector<std::string> seeds;
    for (int level : {1, 17, 40}) {
        seeds.push_back(zvfuzz::readRepositoryFile("Assets/Scripts/Levels/zv." + std::to_string(level) + ".lvl"));
    }
    seeds.push_back("6,5\n1,0,1,0,1,0\n0,1,0,1,0,1\n1,1,1,1,1,1\n0,0,0,0,0,0\n1,0,0,1,0,0\n12;3;4\n");
    seeds.push_back("1 1 // one block\n2\n-5 0 2147483647\n");
    zvfuzz::seedCorpus(*argc, *argv, seeds);
    zvfuzz::startEngine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zvtest::serveFile(kPath, data, size);
    {
        CZVBaseLevel level;
        QNRESULT r = level.loadLevelFromFile(kPath);
        const CQNLevelData& stored = CQNGameState::getInstance()->m_levelData;
        if (r == QNRSLT_OK) {
            if (level.m_boardWidth < 1 || level.m_boardWidth > ZV_MAX_BOARD_WIDTH || level.m_boardHeight < 1 ||
                level.m_boardHeight > ZV_MAX_BOARD_HEIGHT || !level.m_blocks ||
                stored.m_width != level.m_boardWidth || stored.m_height != level.m_boardHeight) {
                std::abort();
            }
            level.isLevelComplete();
            level.flipCross(level.m_boardWidth / 2, level.m_boardHeight / 2);
        } else if (level.m_blocks) {
            std::abort();  // a refused file built a board
        }
        level.release();
    }
    // The engine stays up between inputs (the block mesh is loaded once) but
    // for the texture list: without a device every texture fails, and a
    // failed name is not remembered, so the list would grow by each block.
    CDX_TextureManager::destroyInstance();
    return 0;
}
