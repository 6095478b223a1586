list(APPEND DORVAK_JET_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Value.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Database.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/Pager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/Header.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/DataPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/UsageMap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/TableDefinition.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/RowDecoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/IndexPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/LikePattern.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/Statement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/DatabaseImpl.cpp
)
