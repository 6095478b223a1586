add_library(dorvak_jet_testsupport STATIC
  ${CMAKE_CURRENT_LIST_DIR}/support/FaultInjectingPageFile.cpp
)
target_link_libraries(dorvak_jet_testsupport PUBLIC dorvak_jet)
target_include_directories(dorvak_jet_testsupport PUBLIC ${CMAKE_CURRENT_LIST_DIR})

dorvak_add_test(jet_journal_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/JournalTest.cpp
  LIBS dorvak_jet_testsupport)

dorvak_add_test(jet_pagefile_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FilePageFileTest.cpp
  LIBS dorvak_jet_testsupport)

dorvak_add_test(jet_delete_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeleteTest.cpp
  LIBS dorvak_jet_testsupport)

# DORVAK_LONG_TESTS=1 runs the crash loops with more seeds and kill rounds.
dorvak_add_test(jet_delete_crash_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeleteCrashTest.cpp
  LIBS dorvak_jet_testsupport)

dorvak_add_test(jet_integrity_check_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/IntegrityCheckTest.cpp
  LIBS dorvak_jet)
add_dependencies(jet_integrity_check_test dorvak-db)
