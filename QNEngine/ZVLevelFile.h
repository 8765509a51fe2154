// The text of a level file read by the game's token rules: tokens separated
// by runs of the standard script delimiters (blanks, line ends, commas,
// semicolons, braces), each read as atoi reads it, so a word counts as 0 and
// any cell other than 0 shows the front face. The game and the level tool
// both read level files through this one reader.
//
// Plain C++17 without the engine or the heap, so the level tool compiles it.
#ifndef ZV_LEVEL_FILE_H
#define ZV_LEVEL_FILE_H

#include <cstdint>

// The board sizes a level file may hold: the level cameras frame boards up
// to this size; larger, empty or negative sizes are refused.
#define ZV_MAX_BOARD_WIDTH 6
#define ZV_MAX_BOARD_HEIGHT 5

class ZVLevelFile {
public:
    static constexpr int32_t kMaxCells = ZV_MAX_BOARD_WIDTH * ZV_MAX_BOARD_HEIGHT;
    // The records a new level file starts with: high enough that the first
    // solved run beats both (a stored 0 could never be beaten).
    static constexpr int32_t kFreshBestTime = 599999;  // hundredths of a second
    static constexpr int32_t kFreshBestMoves = 999;

    ZVLevelFile();

    // Reads width, height, width x height cells (row 0, the bottom row,
    // first), then best time, par and best moves from text, which it does
    // not change. Tokens after those are ignored. False, with m_reason set
    // and the fields unspecified, for text that does not start with a width
    // and a height, a board size outside 1..6 x 1..5, or too few numbers.
    bool parse(const char* text);

    // The cells as a bit mask, bit row * width + column set for a cell
    // other than 0 (the front face).
    uint64_t frontMask() const;
    // A run has been saved: a record is below the fresh one.
    bool isSolved() const;
    // Solved in no more moves than par.
    bool isSolvedAtPar() const;

    int32_t m_width;
    int32_t m_height;
    int32_t m_cells[kMaxCells];
    int32_t m_bestTime;
    int32_t m_parMoves;
    int32_t m_bestMoves;
    char m_reason[128];
};

#endif
