// Solver for Zarvel's flip puzzle: the game's hint and the level tool's pars.
//
// A click on a cell flips it and its four orthogonal neighbours (cells off
// the board are simply not there); a board is solved when every cell shows the
// same face, either face. Over GF(2) a board is a vector b, a click on cell c
// adds column c of the symmetric press matrix A, and a click set x solves the
// board when A x = b (all back) or A x = b + 1 (all front).
//
// Boards and click sets are bit masks: bit (row * width + column) is the cell
// of that column and row, row 0 the bottom row, exactly the order of the cell
// values in a level file; a set bit is a cell value of 1 (the front face).
//
// Plain C++17 with no engine or heap dependencies (the level tool compiles
// it too), and every answer is computed in place, without allocation.
#ifndef ZV_SOLVER_H
#define ZV_SOLVER_H

#include <cstdint>

class ZVSolver
{
public:
    typedef std::uint64_t Cells;

    // Largest board: every cell needs one bit of Cells (8 x 8 fits).
    static constexpr int MAX_CELLS = 64;

    // Precomputes the elimination of the press matrix for a width x height
    // board. Requires width >= 1, height >= 1 and width * height <= MAX_CELLS;
    // other sizes give a solver whose isValid() is false, whose cellCount()
    // is 0 and that reports every board unsolvable.
    ZVSolver(int width, int height);

    bool isValid() const { return m_cellCount > 0; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int cellCount() const { return m_cellCount; }

    // The mask of every cell of the board.
    Cells allCells() const { return m_allCells; }

    // The cells a click on (column, row) flips; 0 for a cell off the board.
    Cells pressPattern(int column, int row) const;

    // The board after clicking every cell of clicks once (order is irrelevant).
    Cells applyClicks(Cells board, Cells clicks) const;

    // True when every cell shows the same face (a solved board).
    bool isUniform(Cells board) const;

    // Dimension k of the kernel of A ("quiet" click sets that change nothing),
    // and a basis of it (k masks).
    int kernelDimension() const { return m_kernelSize; }
    const Cells* kernelBasis() const { return m_kernel; }

    // A click set s that flips every cell (A s = 1); one always exists.
    Cells flipAllClicks() const { return m_flipAll; }

    // One click set that turns board into all front (front true) or all back
    // (front false): a particular solution with every free variable zero.
    // Returns false, leaving clicks unchanged, when there is none.
    bool solveTo(Cells board, bool front, Cells& clicks) const;

    // Whether the board can be made uniform at all (either face; the two
    // goals are reachable from exactly the same boards).
    bool isSolvable(Cells board) const;

    // The least number of clicks that makes the board uniform (either face),
    // or -1 when it cannot be solved. When clicks is given and a solution
    // exists, it receives one click set of that size.
    int minimumClicks(Cells board, Cells* clicks = nullptr) const;

    // The cell (row * width + column) to click next on one of the shortest
    // click sets that make the board uniform: -1 when the board is already
    // uniform or cannot be solved.
    int hintCell(Cells board) const;

    // Number of set bits.
    static int countCells(Cells cells);

private:
    // Solves A x = rhs with the stored elimination.
    bool _solve(Cells rhs, Cells& x) const;

    int m_width;
    int m_height;
    int m_cellCount;
    Cells m_allCells;
    // Reduced row echelon form R = T A: m_reduced holds R, m_transform T.
    Cells m_reduced[MAX_CELLS];
    Cells m_transform[MAX_CELLS];
    int m_pivotColumn[MAX_CELLS];   // pivot column of each of the first m_rank rows
    int m_rank;
    Cells m_kernel[MAX_CELLS];
    int m_kernelSize;
    Cells m_flipAll;
};

#endif
