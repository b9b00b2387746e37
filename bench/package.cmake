add_executable(bench_package ${CMAKE_CURRENT_LIST_DIR}/PackageBench.cpp)
target_link_libraries(bench_package PRIVATE qvs_system benchmark::benchmark)
qvs_warnings(bench_package)
