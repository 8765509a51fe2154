// The loaded level: its records and its board, shared through the game state.
#ifndef QN_LEVEL_DATA_H
#define QN_LEVEL_DATA_H

#include <cstdint>

class CQNLevelData {
public:
    CQNLevelData();

    // Frees the current cells, then allocates n (contents undefined). n must
    // be at least 1.
    int32_t* allocateCells(int n);
    void freeCells();

    int32_t m_bestTime;   // hundredths of a second
    int32_t m_parMoves;
    int32_t m_bestMoves;
    int32_t m_width;
    int32_t m_height;
    int32_t* m_cells;     // m_width * m_height values, row by row; owned
};

#endif
