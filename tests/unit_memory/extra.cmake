# The tracker is tested through a probe program: each scenario runs in a
# process of its own, linked the way the game is (tracker objects, static
# libstdc++), so its leak report holds that scenario's blocks only.
add_executable(unit_memory_probe ${dir}/probe/memory_probe.cpp $<TARGET_OBJECTS:qnmemory>)
target_include_directories(unit_memory_probe PRIVATE ${CMAKE_SOURCE_DIR}/QNEngine)
target_link_options(unit_memory_probe PRIVATE ${ZV_STATIC_CXX})
find_package(Threads REQUIRED)
target_link_libraries(unit_memory_probe PRIVATE qnp_win32 Threads::Threads ${CMAKE_DL_LIBS})
add_dependencies(${target} unit_memory_probe)
target_compile_definitions(${target} PRIVATE ZV_MEMORY_PROBE="$<TARGET_FILE:unit_memory_probe>")
