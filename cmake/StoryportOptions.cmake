# Warnings and sanitizers are set here once, for every target of the tree.
option(STORYPORT_SANITIZE "Build with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer" OFF)
option(STORYPORT_BENCH "Build the benchmarks under bench/" ON)

add_compile_options(-Wall -Wextra -Wpedantic -Werror)

if(STORYPORT_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# Declares one test executable from its sources and the libraries it uses; every TEST in it
# becomes a CTest test. The shared sample folder beside the repository is passed as environment
# (one variable only: the discovered tests' property list cannot carry a second one).
function(storyport_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    gtest_discover_tests(${name}
        PROPERTIES ENVIRONMENT
        "STORYPORT_SHARED=${STORYPORT_SHARED_DIR}"
        DISCOVERY_TIMEOUT 60)
endfunction()
