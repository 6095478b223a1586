# The price-list query over a large file. Run with DORVAK_BENCH_MDB naming an
# unpacked price list, e.g. big/Dorvak-100k.mdb gunzipped to /tmp.
add_executable(pricelist_bench ${CMAKE_CURRENT_LIST_DIR}/PriceListBench.cpp)
target_link_libraries(pricelist_bench PRIVATE dorvak_pricelist benchmark::benchmark)
