// The root build compiles only the .cpp files of a tool's own folder; the
// game's solver and level-file reader come in through this unit, so the tool
// and the game share one copy of each.
#include "../../QNEngine/ZVSolver.cpp"
#include "../../QNEngine/ZVLevelFile.cpp"
