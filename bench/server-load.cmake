# qvs-server under launchers, idle and dripping connections, and its web
# port against nginx; run by scripts/bench-network.sh. Loopback source
# addresses beyond 127.0.0.1 are Linux's.
if(TARGET qvs_protocol AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
    find_package(Threads REQUIRED)
    add_executable(bench_server_load
                   ${CMAKE_CURRENT_LIST_DIR}/ServerLoad.cpp ${CMAKE_CURRENT_LIST_DIR}/HeldConnections.cpp
                   ${CMAKE_CURRENT_LIST_DIR}/LoopbackSocket.cpp)
    target_link_libraries(bench_server_load PRIVATE qvs_protocol Threads::Threads)
    qvs_warnings(bench_server_load)
endif()
