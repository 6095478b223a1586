dorvak_add_test(jet_read_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LikePatternTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/StatementTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/DatabaseReadTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/CorruptFileTest.cpp
  LIBS dorvak_jet)
dorvak_add_test(jet_export_matches_mdbtools_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ExportMatchesMdbToolsTest.cpp
  LIBS dorvak_jet)
add_dependencies(jet_export_matches_mdbtools_test dorvak-db)
include(${CMAKE_CURRENT_LIST_DIR}/fuzz/fuzz.cmake)
