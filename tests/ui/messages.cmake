dorvak_add_test(ErrorBoxFullStopTest
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ErrorBoxFullStopTest.cpp
  LIBS dorvak_messages)
dorvak_add_test(MessageDialogsTest QT
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MessageDialogsTest.cpp
  LIBS dorvak_messages)
