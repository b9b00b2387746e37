# Every target of ours compiles with every warning; the test command makes
# them errors. A user's build does not: another compiler's new warning must
# not break it. Third-party code (GoogleTest built from source) is added
# before this applies to it.
option(QVS_WARNINGS_AS_ERRORS "Compile our code with warnings as errors" OFF)

function(qvs_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                                             -Wno-missing-field-initializers)
    if(QVS_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # GCC 12 reports impossible overlaps inside std::string at -O2
        # (a known false positive of its -Wrestrict).
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()

# qvs_library(NAME SOURCES... [DEPS ...]): a static library of ours; an
# interface library while a module has no sources yet.
function(qvs_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    if(ARG_SOURCES)
        add_library(${name} STATIC ${ARG_SOURCES})
        target_link_libraries(${name} PUBLIC ${ARG_DEPS})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        qvs_warnings(${name})
    else()
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE ${ARG_DEPS})
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    endif()
endfunction()
