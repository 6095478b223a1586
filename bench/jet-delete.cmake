add_executable(jet_delete_bench ${CMAKE_CURRENT_LIST_DIR}/JetDeleteBenchmark.cpp)
target_link_libraries(jet_delete_bench PRIVATE dorvak_jet benchmark::benchmark)
target_compile_definitions(jet_delete_bench PRIVATE DORVAK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
