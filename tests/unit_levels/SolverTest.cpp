// The puzzle solver against exhaustive search and the known facts of the
// "lights out" grid with the same-face goal.
#include "ZVSolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <random>
#include <vector>

namespace
{
typedef ZVSolver::Cells Cells;

// Click pattern computed from coordinates, independently of the solver.
Cells cross(int w, int h, int c)
{
    const int x = c % w, y = c / w;
    Cells p = 0;
    const int dx[] = {0, -1, 1, 0, 0}, dy[] = {0, 0, 0, -1, 1};
    for (int i = 0; i < 5; ++i)
        if (x + dx[i] >= 0 && x + dx[i] < w && y + dy[i] >= 0 && y + dy[i] < h)
            p |= Cells(1) << ((y + dy[i]) * w + x + dx[i]);
    return p;
}

int popcount(Cells v)
{
    return static_cast<int>(std::bitset<64>(v).count());
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
    for (std::uint64_t b = 0; b < count; ++b)
    {
        const int a = toBack[b], c = toBack[b ^ (count - 1)];
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
} // namespace

TEST(ZVSolver, MatchesExhaustiveSearch)
{
    // Every board of the small sizes; a sample of the 5 x 5 boards, whose
    // kernel of dimension 2 leaves four solutions to choose the least from.
    const struct
    {
        int w, h;
        int worst; // hardest solvable board
    } sizes[] = {
        {1, 1, 0}, {2, 1, 0}, {3, 1, 2}, {1, 2, 0}, {2, 2, 2}, {3, 2, 2}, {1, 3, 2}, {2, 3, 2},
        {3, 3, 6}, {4, 3, 7}, {4, 4, 6}, {3, 5, 7}, {5, 3, 7}, {4, 5, 15}, {5, 4, 15}, {5, 5, 12},
    };
    std::mt19937_64 rng(7);
    for (const auto& size : sizes)
    {
        SCOPED_TRACE(::testing::Message() << size.w << "x" << size.h);
        const ZVSolver s(size.w, size.h);
        const std::vector<int8_t> best = bruteForce(size.w, size.h);
        const bool sample = best.size() > (1u << 20);
        for (Cells i = 0; i < (sample ? 20000 : best.size()); ++i)
        {
            const Cells b = sample ? rng() & s.allCells() : i;
            Cells clicks = 0;
            const int got = s.minimumClicks(b, &clicks);
            ASSERT_EQ(got, best[b]) << "board " << b;
            ASSERT_EQ(s.isSolvable(b), got >= 0) << "board " << b;
            ASSERT_EQ(s.minimumClicks(b ^ s.allCells()), got) << "inversion changed the minimum of " << b;
            if (got >= 0)
            {
                ASSERT_EQ(popcount(clicks), got) << "board " << b;
                ASSERT_TRUE(s.isUniform(s.applyClicks(b, clicks))) << "board " << b;
            }
            // The hint is the first click of a shortest solution: one click
            // there leaves a board exactly one click shorter.
            const int hint = s.hintCell(b);
            if (got <= 0)
                ASSERT_EQ(hint, -1) << "board " << b;
            else
                ASSERT_EQ(best[b ^ cross(size.w, size.h, hint)], got - 1) << "hint " << hint << " on " << b;
        }
        EXPECT_EQ(*std::max_element(best.begin(), best.end()), size.worst);
    }
}

TEST(ZVSolver, PressPatternsKernelAndFlipAllOnEverySizeUpTo8x8)
{
    for (int w = 1; w <= 8; ++w)
        for (int h = 1; h <= 8; ++h)
        {
            SCOPED_TRACE(::testing::Message() << w << "x" << h);
            const ZVSolver s(w, h);
            ASSERT_TRUE(s.isValid());
            std::vector<Cells> columns;
            for (int c = 0; c < w * h; ++c)
            {
                columns.push_back(s.pressPattern(c % w, c / w));
                EXPECT_EQ(columns.back(), cross(w, h, c)) << "cell " << c;
            }
            EXPECT_EQ(s.pressPattern(w, 0), 0u);
            EXPECT_EQ(s.pressPattern(0, -1), 0u);
            const std::vector<Cells> basis(s.kernelBasis(), s.kernelBasis() + s.kernelDimension());
            for (Cells v : basis)
            {
                EXPECT_NE(v, 0u);
                EXPECT_EQ(v & ~s.allCells(), 0u);
                EXPECT_EQ(s.applyClicks(0, v), 0u) << "kernel vector changes the board";
            }
            EXPECT_EQ(rankOf(basis), static_cast<int>(basis.size()));
            // The press matrix (checked against the crosses) has full rank
            // minus the kernel dimension.
            EXPECT_EQ(rankOf(columns), w * h - s.kernelDimension());
            // Every grid can be flipped whole (Sutner).
            EXPECT_EQ(s.applyClicks(0, s.flipAllClicks()), s.allCells());
        }
}

TEST(ZVSolver, SolveToReachesTheRequestedFace)
{
    const int sizes[][2] = {{3, 3}, {4, 4}, {5, 5}, {6, 5}, {8, 8}, {3, 5}};
    std::mt19937_64 rng(3);
    for (const auto& size : sizes)
    {
        const ZVSolver s(size[0], size[1]);
        for (int i = 0; i < 200; ++i)
        {
            // A board made by clicks from a uniform board is always solvable.
            const Cells b = s.applyClicks(0, rng() & s.allCells());
            Cells back = 0, front = 0;
            ASSERT_TRUE(s.solveTo(b, false, back));
            ASSERT_TRUE(s.solveTo(b, true, front));
            EXPECT_EQ(s.applyClicks(b, back), 0u);
            EXPECT_EQ(s.applyClicks(b, front), s.allCells());
            EXPECT_LE(s.minimumClicks(b), std::min(popcount(back), popcount(front)));
        }
    }
}

TEST(ZVSolver, UnsolvableBoardsAndUnusableSizesAreRefused)
{
    const ZVSolver s(4, 4);
    // A single front cell in a corner has odd overlap with a quiet pattern;
    // the caller's clicks stay as they were.
    Cells clicks = 12345;
    EXPECT_FALSE(s.solveTo(1, false, clicks));
    EXPECT_FALSE(s.solveTo(1, true, clicks));
    EXPECT_EQ(s.minimumClicks(1, &clicks), -1);
    EXPECT_EQ(clicks, 12345u);

    const int sizes[][2] = {{0, 3}, {3, 0}, {-1, 2}, {9, 8}, {65, 1}, {8, 9}};
    for (const auto& size : sizes)
    {
        const ZVSolver bad(size[0], size[1]);
        EXPECT_FALSE(bad.isValid()) << size[0] << "x" << size[1];
        EXPECT_EQ(bad.cellCount(), 0);
        EXPECT_EQ(bad.minimumClicks(0), -1);
        EXPECT_EQ(bad.pressPattern(0, 0), 0u);
    }
    EXPECT_TRUE(ZVSolver(64, 1).isValid());
    EXPECT_EQ(ZVSolver(8, 8).allCells(), ~Cells(0));
}
