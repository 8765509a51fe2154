# The solver and the level-file reader are shared by the game and the level
# tool; the generator is a tool source: compile them into this test directly.
target_sources(${target} PRIVATE
  ${CMAKE_SOURCE_DIR}/QNEngine/ZVSolver.cpp
  ${CMAKE_SOURCE_DIR}/QNEngine/ZVLevelFile.cpp
  ${CMAKE_SOURCE_DIR}/tools/levelgen/LevelGenerator.cpp)
target_include_directories(${target} PRIVATE
  ${CMAKE_SOURCE_DIR}/QNEngine
  ${CMAKE_SOURCE_DIR}/tools/levelgen)
# The level tool's solver reads a file the way the game does.
add_test(NAME unit.LevelTool.SolveReadsTheGameTokens
  COMMAND bash ${dir}/levelgen_solve.sh $<TARGET_FILE:levelgen> ${CMAKE_CURRENT_BINARY_DIR}/levelgen-solve)
set_tests_properties(unit.LevelTool.SolveReadsTheGameTokens PROPERTIES LABELS unit)
