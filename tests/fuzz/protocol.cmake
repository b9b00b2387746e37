# The parsers of what the update server and the game server send us.
qvs_add_fuzzer(update_reply ${CMAKE_CURRENT_LIST_DIR}/UpdateReplyFuzzer.cpp qvs_protocol)
qvs_add_fuzzer(status_reply ${CMAKE_CURRENT_LIST_DIR}/StatusReplyFuzzer.cpp qvs_protocol)
