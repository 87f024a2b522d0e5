# TARVIN_SANITIZE: the whole build with AddressSanitizer and UndefinedBehaviorSanitizer, optimised
# lightly (-O1) with line tables for readable reports; any finding stops the process.
# TARVIN_FUZZ: the same plus libFuzzer's coverage for every library, and the fuzz executables
# of tests/fuzz (clang only).
option(TARVIN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TARVIN_FUZZ "Build the libFuzzer targets (clang; implies TARVIN_SANITIZE)" OFF)

if(TARVIN_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TARVIN_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

if(TARVIN_SANITIZE OR TARVIN_FUZZ)
    add_compile_options(-O1 -fno-omit-frame-pointer -fsanitize=address,undefined
                        -fno-sanitize-recover=undefined)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        add_compile_options(-gline-tables-only)
    else()
        add_compile_options(-g1)
    endif()
    add_link_options(-fsanitize=address,undefined)
endif()

if(TARVIN_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
