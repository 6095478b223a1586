dorvak_add_test(ResultTableModelTest QT
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ResultTableModelTest.cpp
  LIBS dorvak_ui)
dorvak_add_test(DataGridTest QT
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DataGridTest.cpp
  LIBS dorvak_ui)
dorvak_add_test(MainWindowTest QT
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainWindowTest.cpp
  LIBS dorvak_ui dorvak_app)
