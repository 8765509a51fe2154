#include "ZVSolver.h"

#include <bitset>
#include <utility>

namespace
{
bool parity(ZVSolver::Cells v)
{
    return (std::bitset<64>(v).count() & 1u) != 0;
}

ZVSolver::Cells bit(int index)
{
    return ZVSolver::Cells(1) << index;
}
}

ZVSolver::ZVSolver(int width, int height)
    : m_width(0), m_height(0), m_cellCount(0), m_allCells(0), m_reduced(), m_transform(), m_pivotColumn(),
      m_rank(0), m_kernel(), m_kernelSize(0), m_flipAll(0)
{
    if (width < 1 || height < 1 || width > MAX_CELLS || height > MAX_CELLS ||
        width * height > MAX_CELLS)
        return;
    m_width = width;
    m_height = height;
    m_cellCount = width * height;
    m_allCells = m_cellCount == 64 ? ~Cells(0) : bit(m_cellCount) - 1;

    // Row c of A is the press pattern of cell c (A is symmetric).
    const int n = m_cellCount;
    for (int c = 0; c < n; ++c)
    {
        m_reduced[c] = pressPattern(c % width, c / width);
        m_transform[c] = bit(c);
    }

    // Gauss-Jordan elimination, carrying the row operations in T.
    int rank = 0;
    bool isPivot[MAX_CELLS] = {};
    for (int col = 0; col < n && rank < n; ++col)
    {
        int pivot = -1;
        for (int r = rank; r < n; ++r)
            if (m_reduced[r] & bit(col))
            {
                pivot = r;
                break;
            }
        if (pivot < 0)
            continue;
        std::swap(m_reduced[rank], m_reduced[pivot]);
        std::swap(m_transform[rank], m_transform[pivot]);
        for (int r = 0; r < n; ++r)
            if (r != rank && (m_reduced[r] & bit(col)))
            {
                m_reduced[r] ^= m_reduced[rank];
                m_transform[r] ^= m_transform[rank];
            }
        m_pivotColumn[rank] = col;
        isPivot[col] = true;
        ++rank;
    }
    m_rank = rank;

    // One kernel vector per free column: the free cell itself plus the pivot
    // cells whose reduced rows contain it.
    for (int f = 0; f < n; ++f)
    {
        if (isPivot[f])
            continue;
        Cells v = bit(f);
        for (int r = 0; r < rank; ++r)
            if (m_reduced[r] & bit(f))
                v |= bit(m_pivotColumn[r]);
        m_kernel[m_kernelSize++] = v;
    }

    // Sutner's theorem guarantees a solution on every grid.
    _solve(m_allCells, m_flipAll);
}

ZVSolver::Cells ZVSolver::pressPattern(int column, int row) const
{
    if (column < 0 || column >= m_width || row < 0 || row >= m_height)
        return 0;
    Cells p = bit(row * m_width + column);
    if (column > 0)
        p |= bit(row * m_width + column - 1);
    if (column + 1 < m_width)
        p |= bit(row * m_width + column + 1);
    if (row > 0)
        p |= bit((row - 1) * m_width + column);
    if (row + 1 < m_height)
        p |= bit((row + 1) * m_width + column);
    return p;
}

ZVSolver::Cells ZVSolver::applyClicks(Cells board, Cells clicks) const
{
    for (int c = 0; c < m_cellCount; ++c)
        if (clicks & bit(c))
            board ^= pressPattern(c % m_width, c / m_width);
    return board;
}

bool ZVSolver::isUniform(Cells board) const
{
    board &= m_allCells;
    return board == 0 || board == m_allCells;
}

bool ZVSolver::_solve(Cells rhs, Cells& x) const
{
    if (!isValid())
        return false;
    const int rank = m_rank;
    // Rows of T A beyond the rank are zero: T rhs must vanish there.
    for (int r = rank; r < m_cellCount; ++r)
        if (parity(m_transform[r] & rhs))
            return false;
    // With every free variable zero, each reduced row fixes its pivot cell.
    Cells result = 0;
    for (int r = 0; r < rank; ++r)
        if (parity(m_transform[r] & rhs))
            result |= bit(m_pivotColumn[r]);
    x = result;
    return true;
}

bool ZVSolver::solveTo(Cells board, bool front, Cells& clicks) const
{
    board &= m_allCells;
    return _solve(front ? board ^ m_allCells : board, clicks);
}

bool ZVSolver::isSolvable(Cells board) const
{
    Cells unused = 0;
    return solveTo(board, false, unused);
}

int ZVSolver::minimumClicks(Cells board, Cells* clicks) const
{
    Cells x = 0;
    if (!solveTo(board, false, x))
        return -1;

    // Every solution for either face is x + (kernel span) or x + s + (kernel
    // span); walk all of them in Gray-code order, one XOR per step.
    Cells generators[MAX_CELLS + 1];
    for (int k = 0; k < m_kernelSize; ++k)
        generators[k] = m_kernel[k];
    generators[m_kernelSize] = m_flipAll;
    const std::uint64_t count = std::uint64_t(1) << (m_kernelSize + 1);
    Cells best = x;
    int bestWeight = countCells(x);
    for (std::uint64_t i = 1; i < count; ++i)
    {
        int lowest = 0;
        while (!(i & (std::uint64_t(1) << lowest)))
            ++lowest;
        x ^= generators[lowest];
        const int w = countCells(x);
        if (w < bestWeight)
        {
            bestWeight = w;
            best = x;
        }
    }
    if (clicks)
        *clicks = best;
    return bestWeight;
}

int ZVSolver::hintCell(Cells board) const
{
    Cells clicks = 0;
    if (isUniform(board) || minimumClicks(board, &clicks) <= 0)
        return -1;
    int cell = 0;
    while (!(clicks & bit(cell)))
        ++cell;
    return cell;
}

int ZVSolver::countCells(Cells cells)
{
    return static_cast<int>(std::bitset<64>(cells).count());
}
