dorvak_add_test(ApplicationTitleTest
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ApplicationTitleTest.cpp
  LIBS dorvak_app)
dorvak_add_test(ApplicationTest QT
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ApplicationTest.cpp
  LIBS dorvak_app)
