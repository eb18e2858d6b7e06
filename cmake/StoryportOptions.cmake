# Warnings and sanitizers are set here once, for every target of the tree.
option(STORYPORT_SANITIZE "Build with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer" OFF)
option(STORYPORT_BENCH "Build the benchmarks under bench/" ON)
option(STORYPORT_FUZZ "Build the libFuzzer targets under fuzz/ (needs clang)" OFF)
option(STORYPORT_JEMALLOC "Link the command with jemalloc, in huge pages, when it is installed" ON)

add_compile_options(-Wall -Wextra -Wpedantic -Werror)

if(STORYPORT_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(STORYPORT_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# Declares one test executable from its sources and the libraries it uses; every TEST in it
# becomes a CTest test. The test data folder's place is compiled in, so that a test runs the same
# from CTest, from a debugger or by hand. Tests stand above every layer and include from the top of
# the tree, their own fixtures too.
function(storyport_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE STORYPORT_TEST_DATA="${STORYPORT_TEST_DATA_DIR}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# Links an executable with jemalloc and its settings (tools/ct_allocator_settings.cpp) when the
# build found it; kept whether or not the linker sees a symbol it needs, as it replaces malloc.
set(CMAKE_LINK_LIBRARY_USING_NO_AS_NEEDED
    "LINKER:--push-state,--no-as-needed" "<LINK_ITEM>" "LINKER:--pop-state")
set(CMAKE_LINK_LIBRARY_USING_NO_AS_NEEDED_SUPPORTED TRUE)
function(storyport_use_jemalloc target)
    if(JEMALLOC_FOUND)
        target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tools/ct_allocator_settings.cpp)
        target_link_libraries(${target} PRIVATE
            "$<LINK_LIBRARY:NO_AS_NEEDED,${JEMALLOC_LINK_LIBRARIES}>")
    endif()
endfunction()
