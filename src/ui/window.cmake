# The stored form lives with the other resources, not beside the sources.
list(APPEND CMAKE_AUTOUIC_SEARCH_PATHS ${PROJECT_SOURCE_DIR}/resources)
list(APPEND DORVAK_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DataGrid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DataLabel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultTableModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UfrmDorvak.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UrlOpener.cpp
  ${PROJECT_SOURCE_DIR}/resources/UfrmDorvak.ui
)
