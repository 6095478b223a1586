add_executable(jet_read_bench ${CMAKE_CURRENT_LIST_DIR}/JetReadBench.cpp)
target_link_libraries(jet_read_bench PRIVATE dorvak_jet benchmark::benchmark)
set_target_properties(jet_read_bench PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
