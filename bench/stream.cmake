add_executable(bench_stream ${CMAKE_CURRENT_LIST_DIR}/StreamBench.cpp)
target_link_libraries(bench_stream PRIVATE qvs_protocol benchmark::benchmark)
qvs_warnings(bench_stream)
