// The root build compiles only the .cpp files of a tool's own folder; the
// shared solver comes in through this unit.
#include "../common/PuzzleSolver.cpp"
