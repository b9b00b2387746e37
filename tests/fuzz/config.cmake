# The configuration file reader and writer (qvs.cfg).
qvs_add_fuzzer(ini_reader ${CMAKE_CURRENT_LIST_DIR}/IniReaderFuzz.cpp qvs_launcher_core)
