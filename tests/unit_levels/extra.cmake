# The solver and the level generator are tool sources, not engine libraries:
# compile them into this test directly.
target_sources(${target} PRIVATE
  ${CMAKE_SOURCE_DIR}/tools/common/PuzzleSolver.cpp
  ${CMAKE_SOURCE_DIR}/tools/levelgen/LevelGenerator.cpp)
target_include_directories(${target} PRIVATE
  ${CMAKE_SOURCE_DIR}/tools/common
  ${CMAKE_SOURCE_DIR}/tools/levelgen)
