// The hint solver on the largest board the game plays (6 x 5): the time to
// build the solver and answer one hint, as the game does on each H press,
// over random solvable boards; mean, 99.9th percentile and worst in
// microseconds (the worst on a busy machine is mostly the scheduler's). The
// game needs an answer within a millisecond.
//
//   bench_solver [boards]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ZVSolver.h"

int main(int argc, char** argv) {
    int boards = argc > 1 ? std::atoi(argv[1]) : 20000;
    if (boards < 1) boards = 1;
    using clock = std::chrono::steady_clock;
    std::uint64_t seed = 0x2545F4914F6CDD1Dull, sink = 0;
    std::vector<double> times;
    times.reserve(static_cast<size_t>(boards));
    for (int b = 0; b < boards; ++b) {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        const clock::time_point start = clock::now();
        const ZVSolver solver(6, 5);
        // Clicks from a uniform board: always solvable, as a level is.
        const ZVSolver::Cells board = solver.applyClicks(0, seed & solver.allCells());
        sink += static_cast<std::uint64_t>(solver.hintCell(board) + 1);
        const double us = std::chrono::duration<double, std::micro>(clock::now() - start).count();
        times.push_back(us);
    }
    double total = 0.0;
    for (double t : times) total += t;
    std::sort(times.begin(), times.end());
    const double p999 = times[std::min(times.size() - 1, static_cast<size_t>(times.size() * 0.999))];
    std::printf("6x5 hint (solver built + shortest solution): mean %.2f us, 99.9%% %.2f us, worst %.2f us "
                "over %d boards%s\n",
                total / boards, p999, times.back(), boards, sink ? "" : " ");
    return p999 < 1000.0 ? 0 : 1;
}
