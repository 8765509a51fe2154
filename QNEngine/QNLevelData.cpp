#include "QNLevelData.h"

#include "QNMemory.h"

CQNLevelData::CQNLevelData()
    : m_bestTime(0), m_parMoves(0), m_bestMoves(0), m_width(0), m_height(0), m_cells(nullptr) {}

int32_t* CQNLevelData::allocateCells(int n) {
    freeCells();
    setOwner(__FILE__, __LINE__, "??");
    m_cells = new int32_t[n > 0 ? n : 1];
    return m_cells;
}

void CQNLevelData::freeCells() {
    if (!m_cells) return;
    setOwner(__FILE__, __LINE__, "??");
    delete[] m_cells;
    m_cells = nullptr;
}
