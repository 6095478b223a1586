# dorvak_messages: the information and confirmation dialogs and the error box.
# Qt only, so that every subsystem that must put a notice before the user can
# link it without pulling in the window.
add_library(dorvak_messages STATIC
  ${CMAKE_CURRENT_LIST_DIR}/InformationDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfirmationDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ErrorBox.cpp)
target_include_directories(dorvak_messages PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(dorvak_messages PUBLIC Qt6::Widgets)
