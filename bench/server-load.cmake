# Many launchers' update queries at once against a running qvs-server; run
# by scripts/bench-network.sh.
if(TARGET qvs_workers)
    add_executable(bench_server_load ${CMAKE_CURRENT_LIST_DIR}/ServerLoad.cpp)
    target_link_libraries(bench_server_load PRIVATE qvs_workers)
    qvs_warnings(bench_server_load)
endif()
