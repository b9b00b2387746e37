qvs_add_fuzzer(stream_decode ${CMAKE_CURRENT_LIST_DIR}/StreamDecodeFuzz.cpp qvs_protocol)
