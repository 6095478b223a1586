# The window's own widgets and the pictures compiled into the program.
list(APPEND DORVAK_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ImageList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AutoSizeLabel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JpegPicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureBox.cpp)

# The resources get a library of their own because the application object
# needs the icon without depending on the window.
add_library(dorvak_resources STATIC
  ${PROJECT_SOURCE_DIR}/resources/dorvak.qrc
  ${CMAKE_CURRENT_LIST_DIR}/Resources.cpp)
target_include_directories(dorvak_resources PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(dorvak_resources PUBLIC Qt6::Core)

# dorvak_ui is created after the fragments have run; link it once it exists.
cmake_language(DEFER CALL target_link_libraries dorvak_ui PUBLIC dorvak_resources)
