# dorvak_app: the application object (title, icon, failure reporting).
add_library(dorvak_app STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ApplicationTitle.cpp)
target_include_directories(dorvak_app PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(dorvak_app PUBLIC Qt6::Widgets dorvak_messages dorvak_resources)
