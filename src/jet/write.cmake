list(APPEND DORVAK_JET_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/detail/AccessLockFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/FileLock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/FilePageFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/IndexEditor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/IntegrityCheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/Journal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/MemoryPageFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/Relationships.cpp
  ${CMAKE_CURRENT_LIST_DIR}/detail/RowDeleter.cpp
)
