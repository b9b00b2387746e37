qvs_add_fuzzer(package_extract ${CMAKE_CURRENT_LIST_DIR}/package_extract.cpp qvs_system)
