add_executable(dorvak-db ${CMAKE_CURRENT_LIST_DIR}/DorvakDb.cpp)
target_link_libraries(dorvak-db PRIVATE dorvak_jet)
set_target_properties(dorvak-db PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
install(TARGETS dorvak-db)
