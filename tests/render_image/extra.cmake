# The in-memory image writers are shared with tests/unit_image.
target_sources(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/unit_image/ImageWriters.cpp)
target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/unit_image)
