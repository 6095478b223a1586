# Built only with -DDORVAK_BUILD_FUZZ=ON and clang; run by hand, never by ctest:
#   build/tests/jet/fuzz_open_scan -max_len=200000 corpus/ tests/data/edge tests/data/types
if(DORVAK_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "DORVAK_BUILD_FUZZ needs clang (CXX=clang++)")
  endif()
  # Coverage feedback must come from the engine, not just the harness.
  target_compile_options(dorvak_jet PRIVATE -fsanitize=fuzzer-no-link)
  add_executable(fuzz_open_scan ${CMAKE_CURRENT_LIST_DIR}/FuzzOpenScan.cpp)
  target_link_libraries(fuzz_open_scan PRIVATE dorvak_jet)
  target_compile_options(fuzz_open_scan PRIVATE -fsanitize=fuzzer)
  target_link_options(fuzz_open_scan PRIVATE -fsanitize=fuzzer)
  set_target_properties(fuzz_open_scan PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
endif()
