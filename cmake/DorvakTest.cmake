# dorvak_add_test(<name> SOURCES <files...> LIBS <targets...> [QT])
#
# Declares one test executable and registers it with CTest. Plain tests use
# GoogleTest (gtest_main); QT tests are Qt Test programs with their own main.
# Every test runs with the offscreen platform and with DORVAK_TEST_DATA
# pointing at tests/data, so no test depends on a display or on ../shared.
function(dorvak_add_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_compile_definitions(${name} PRIVATE
    DORVAK_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    DORVAK_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(T_QT)
    target_link_libraries(${name} PRIVATE Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
    TIMEOUT 900)
endfunction()
