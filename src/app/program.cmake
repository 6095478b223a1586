# The program itself; it only links the subsystems' libraries.
add_executable(Dorvak ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(Dorvak PRIVATE dorvak_ui dorvak_app)
install(TARGETS Dorvak RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/dorvak.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 24 32 48)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icon-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME dorvak.png)
endforeach()
