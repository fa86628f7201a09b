# add_qt_test(<name> SOURCES <files...> LIBS <targets...>)
#
# Builds one Qt Test program and registers each of its test functions as its own ctest test
# (<name>.<function>), found after the build by asking the program for its functions. Every test
# runs on the offscreen platform with the sanitizer settings of the build.
set(BRIVANTO_DISCOVER_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/DiscoverQtTests.cmake)

function(add_qt_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test brivanto_test_options ${ARG_LIBS})
    set(listing "${CMAKE_CURRENT_BINARY_DIR}/${name}_tests.cmake")
    add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -D TEST_EXE=$<TARGET_FILE:${name}> -D TEST_NAME=${name}
                -D OUT=${listing} -D LSAN_SUPPRESSIONS=${PROJECT_SOURCE_DIR}/tests/lsan.supp
                -P ${BRIVANTO_DISCOVER_SCRIPT}
        VERBATIM)
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${listing})
endfunction()
