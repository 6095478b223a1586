# The logo: header at load, pixels once at first paint, then plain copies.
add_executable(widgets_bench ${CMAKE_CURRENT_LIST_DIR}/WidgetsBench.cpp)
target_link_libraries(widgets_bench PRIVATE dorvak_ui benchmark::benchmark)
target_compile_definitions(widgets_bench PRIVATE DORVAK_DEMO_DIR="${PROJECT_SOURCE_DIR}/demo")
