// The puzzle solver against exhaustive search and the known facts of the
// "lights out" grid with the same-face goal.
#include "PuzzleSolver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace
{
typedef PuzzleSolver::Cells Cells;

// Click pattern computed from coordinates, independently of the solver.
Cells cross(int w, int h, int c)
{
    const int x = c % w, y = c / w;
    Cells p = 0;
    const int dx[] = {0, -1, 1, 0, 0}, dy[] = {0, 0, 0, -1, 1};
    for (int i = 0; i < 5; ++i)
    {
        const int nx = x + dx[i], ny = y + dy[i];
        if (nx >= 0 && nx < w && ny >= 0 && ny < h)
            p |= Cells(1) << (ny * w + nx);
    }
    return p;
}

int popcount(Cells v)
{
    int n = 0;
    for (; v; v &= v - 1)
        ++n;
    return n;
}

Cells allOf(int n)
{
    return n == 64 ? ~Cells(0) : (Cells(1) << n) - 1;
}

// Exhaustive search: for every board, the least clicks that make it uniform
// (either face), or -1. Walks every click set in Gray-code order.
std::vector<int8_t> bruteForce(int w, int h)
{
    const int n = w * h;
    const std::uint64_t count = std::uint64_t(1) << n;
    std::vector<int8_t> toBack(count, -1);
    Cells clicks = 0, board = 0;
    toBack[0] = 0;
    for (std::uint64_t i = 1; i < count; ++i)
    {
        int c = 0;
        while (!(i & (std::uint64_t(1) << c)))
            ++c;
        clicks ^= Cells(1) << c;
        board ^= cross(w, h, c);
        const int weight = popcount(clicks);
        if (toBack[board] < 0 || weight < toBack[board])
            toBack[board] = static_cast<int8_t>(weight);
    }
    std::vector<int8_t> best(count);
    const Cells all = allOf(n);
    for (std::uint64_t b = 0; b < count; ++b)
    {
        const int a = toBack[b], c = toBack[b ^ all];
        best[b] = static_cast<int8_t>(a < 0 ? c : (c < 0 ? a : std::min(a, c)));
    }
    return best;
}

// Rank over GF(2) of a set of vectors.
int rankOf(std::vector<Cells> rows)
{
    int rank = 0;
    for (int bit = 0; bit < 64; ++bit)
    {
        const Cells m = Cells(1) << bit;
        size_t p = rank;
        while (p < rows.size() && !(rows[p] & m))
            ++p;
        if (p == rows.size())
            continue;
        std::swap(rows[rank], rows[p]);
        for (size_t r = 0; r < rows.size(); ++r)
            if (static_cast<int>(r) != rank && (rows[r] & m))
                rows[r] ^= rows[rank];
        ++rank;
    }
    return rank;
}

// Checks one board against the exhaustive answer, including the click set
// the solver hands back and the inversion of the board.
void expectMatches(const PuzzleSolver& s, Cells b, int expected)
{
    Cells clicks = 0;
    const int got = s.minimumClicks(b, &clicks);
    ASSERT_EQ(got, expected) << s.width() << "x" << s.height() << " board " << b;
    EXPECT_EQ(s.isSolvable(b), expected >= 0);
    EXPECT_EQ(s.minimumClicks(b ^ s.allCells()), got) << "inversion changed the minimum";
    if (got >= 0)
    {
        EXPECT_EQ(popcount(clicks), got);
        EXPECT_TRUE(s.isUniform(s.applyClicks(b, clicks)));
    }
}

struct Exhaustive
{
    int w, h;
    int worst;        // hardest solvable board, same-face goal
};

} // namespace

TEST(PuzzleSolver, MatchesExhaustiveSearchOnEveryBoard)
{
    // Every board of every size up to 3 x 3, and of the next sizes that are
    // still cheap to enumerate completely.
    const Exhaustive sizes[] = {
        {1, 1, 0}, {2, 1, 0}, {3, 1, 2}, {1, 2, 0}, {2, 2, 2}, {3, 2, 2},
        {1, 3, 2}, {2, 3, 2}, {3, 3, 6}, {4, 3, 7}, {4, 4, 6}, {3, 5, 7},
        {5, 3, 7}, {4, 5, 15}, {5, 4, 15},
    };
    for (const Exhaustive& size : sizes)
    {
        SCOPED_TRACE(::testing::Message() << size.w << "x" << size.h);
        const PuzzleSolver s(size.w, size.h);
        const std::vector<int8_t> best = bruteForce(size.w, size.h);
        int worst = 0;
        for (Cells b = 0; b < best.size(); ++b)
        {
            expectMatches(s, b, best[b]);
            if (::testing::Test::HasFatalFailure())
                return;
            worst = std::max<int>(worst, best[b]);
        }
        EXPECT_EQ(worst, size.worst);
    }
}

TEST(PuzzleSolver, FiveByFiveAgreesWithSearchAndKnownStatistics)
{
    const PuzzleSolver s(5, 5);
    const std::vector<int8_t> best = bruteForce(5, 5);
    std::mt19937_64 rng(7);
    for (int i = 0; i < 20000; ++i)
    {
        const Cells b = rng() & s.allCells();
        expectMatches(s, b, best[b]);
        if (HasFatalFailure())
            return;
    }
    // Only a quarter of the boards can be solved; the hardest needs 12
    // clicks and the average is 8.69.
    std::uint64_t solvable = 0, total = 0;
    int worst = 0;
    for (int8_t v : best)
        if (v >= 0)
        {
            ++solvable;
            total += v;
            worst = std::max<int>(worst, v);
        }
    EXPECT_EQ(solvable, best.size() / 4);
    EXPECT_EQ(worst, 12);
    EXPECT_NEAR(double(total) / solvable, 8.69, 0.005);
}

TEST(PuzzleSolver, KernelDimensionsMatchKnownValues)
{
    struct Case { int w, h, k; };
    const Case cases[] = {
        {1, 1, 0}, {2, 2, 0}, {3, 3, 0}, {4, 4, 4}, {5, 5, 2}, {6, 6, 0},
        {7, 7, 0}, {8, 8, 0}, {3, 5, 3}, {5, 3, 3}, {4, 5, 0}, {5, 4, 0},
        {6, 5, 0}, {2, 3, 2}, {2, 1, 1}, {5, 1, 1}, {4, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PuzzleSolver(c.w, c.h).kernelDimension(), c.k) << c.w << "x" << c.h;
}

TEST(PuzzleSolver, KernelBasisAndFlipAllHoldOnEverySize)
{
    for (int w = 1; w <= 8; ++w)
        for (int h = 1; h <= 8; ++h)
        {
            SCOPED_TRACE(::testing::Message() << w << "x" << h);
            const PuzzleSolver s(w, h);
            ASSERT_TRUE(s.isValid());
            const std::vector<Cells>& basis = s.kernelBasis();
            for (Cells v : basis)
            {
                EXPECT_NE(v, 0u);
                EXPECT_EQ(v & ~s.allCells(), 0u);
                EXPECT_EQ(s.applyClicks(0, v), 0u) << "kernel vector changes the board";
            }
            EXPECT_EQ(rankOf(basis), static_cast<int>(basis.size()));
            // Every grid can be flipped whole (Sutner).
            EXPECT_EQ(s.applyClicks(0, s.flipAllClicks()), s.allCells());
            // The press matrix has full rank minus the kernel dimension.
            std::vector<Cells> columns;
            for (int c = 0; c < w * h; ++c)
                columns.push_back(s.pressPattern(c % w, c / w));
            EXPECT_EQ(rankOf(columns), w * h - s.kernelDimension());
        }
}

TEST(PuzzleSolver, FiveByFiveQuietPatternsSpanTheKernel)
{
    const PuzzleSolver s(5, 5);
    // Rows top to bottom as drawn; both patterns are symmetric top to bottom.
    const char* patterns[2][5] = {
        {"#.#.#", "#.#.#", ".....", "#.#.#", "#.#.#"},
        {"##.##", ".....", "##.##", ".....", "##.##"},
    };
    std::vector<Cells> all = s.kernelBasis();
    for (const auto& rows : patterns)
    {
        Cells v = 0;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x)
                if (rows[4 - y][x] == '#')
                    v |= Cells(1) << (y * 5 + x);
        EXPECT_EQ(s.applyClicks(0, v), 0u);
        all.push_back(v);
    }
    EXPECT_EQ(rankOf(all), 2);
}

TEST(PuzzleSolver, SolveToReachesTheRequestedFace)
{
    const int sizes[][2] = {{3, 3}, {4, 4}, {5, 5}, {6, 5}, {8, 8}, {3, 5}};
    std::mt19937_64 rng(3);
    for (const auto& size : sizes)
    {
        const PuzzleSolver s(size[0], size[1]);
        for (int i = 0; i < 200; ++i)
        {
            // A board made by clicks from a uniform board is always solvable.
            const Cells b = s.applyClicks(0, rng() & s.allCells());
            Cells back = 0, front = 0;
            ASSERT_TRUE(s.solveTo(b, false, back));
            ASSERT_TRUE(s.solveTo(b, true, front));
            EXPECT_EQ(s.applyClicks(b, back), 0u);
            EXPECT_EQ(s.applyClicks(b, front), s.allCells());
            const int m = s.minimumClicks(b);
            EXPECT_LE(m, std::min(popcount(back), popcount(front)));
        }
    }
}

TEST(PuzzleSolver, UnsolvableBoardsAreReportedAndLeaveClicksAlone)
{
    const PuzzleSolver s(4, 4);
    // A single front cell in a corner has odd overlap with a quiet pattern.
    Cells clicks = 12345;
    EXPECT_FALSE(s.solveTo(1, false, clicks));
    EXPECT_FALSE(s.solveTo(1, true, clicks));
    EXPECT_EQ(clicks, 12345u);
    EXPECT_EQ(s.minimumClicks(1, &clicks), -1);
    EXPECT_EQ(clicks, 12345u);
    EXPECT_FALSE(s.isSolvable(1));
}

TEST(PuzzleSolver, RejectsSizesThatDoNotFitOrAreEmpty)
{
    const int sizes[][2] = {{0, 3}, {3, 0}, {-1, 2}, {9, 8}, {65, 1}, {8, 9}};
    for (const auto& size : sizes)
    {
        const PuzzleSolver s(size[0], size[1]);
        EXPECT_FALSE(s.isValid()) << size[0] << "x" << size[1];
        EXPECT_EQ(s.cellCount(), 0);
        EXPECT_EQ(s.minimumClicks(0), -1);
        EXPECT_EQ(s.pressPattern(0, 0), 0u);
    }
    EXPECT_TRUE(PuzzleSolver(64, 1).isValid());
    EXPECT_EQ(PuzzleSolver(8, 8).allCells(), ~Cells(0));
}

TEST(PuzzleSolver, PressPatternIsTheClippedCross)
{
    const PuzzleSolver s(3, 3);
    // Corner 3 cells, edge 4, centre 5; off the board nothing.
    EXPECT_EQ(s.pressPattern(0, 0), Cells(0b000'001'011));
    EXPECT_EQ(s.pressPattern(1, 0), Cells(0b000'010'111));
    EXPECT_EQ(s.pressPattern(1, 1), Cells(0b010'111'010));
    EXPECT_EQ(s.pressPattern(2, 2), Cells(0b110'100'000));
    EXPECT_EQ(s.pressPattern(3, 0), 0u);
    EXPECT_EQ(s.pressPattern(0, -1), 0u);
    for (int c = 0; c < 9; ++c)
        EXPECT_EQ(s.pressPattern(c % 3, c / 3), cross(3, 3, c));
}
