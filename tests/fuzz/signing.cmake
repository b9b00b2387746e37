qvs_add_fuzzer(update_trailer ${CMAKE_CURRENT_LIST_DIR}/UpdateTrailerFuzz.cpp qvs_signing)
