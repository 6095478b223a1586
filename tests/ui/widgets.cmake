dorvak_add_test(JpegPictureTest QT
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/JpegPictureTest.cpp
  LIBS dorvak_ui JPEG::JPEG)
dorvak_add_test(PictureBoxTest QT
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PictureBoxTest.cpp
  LIBS dorvak_ui)
dorvak_add_test(ImageButtonTest QT
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ImageButtonTest.cpp
  LIBS dorvak_ui)
dorvak_add_test(AutoSizeLabelTest QT
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/AutoSizeLabelTest.cpp
  LIBS dorvak_ui)
