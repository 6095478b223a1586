# Number text and the settings file: the grid formats a price per visible
# cell on every scroll, and each cursor move formats the two labels.
add_executable(pricing_bench ${CMAKE_CURRENT_LIST_DIR}/PricingBench.cpp)
target_link_libraries(pricing_bench PRIVATE dorvak_pricing benchmark::benchmark)
