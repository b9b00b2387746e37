qvs_add_fuzzer(http_reply ${CMAKE_CURRENT_LIST_DIR}/HttpReplyFuzz.cpp qvs_http)
