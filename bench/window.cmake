# The grid over a million-row result: opening, jumping to the end, one move.
add_executable(window_bench ${CMAKE_CURRENT_LIST_DIR}/WindowBench.cpp)
target_link_libraries(window_bench PRIVATE dorvak_ui benchmark::benchmark)
