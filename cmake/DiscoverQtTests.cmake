# Runs at build time: lists the test functions of TEST_EXE and writes one add_test per function.
# intercept_tls_get_addr=0: this compiler's leak checker guesses where a library's thread-local
# block starts from the block's address, and a block that lands 16 bytes into a page is taken for a
# header it does not have; the checker then scans a garbage range and crashes at exit, depending
# only on where the allocator put the block. Without the interception those blocks are still
# scanned, as the dynamic linker's own allocations.
set(environment
    "QT_QPA_PLATFORM=offscreen"
    "QT_LOGGING_RULES=qt.qpa.*=false"
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0:intercept_tls_get_addr=0"
    "LSAN_OPTIONS=suppressions=${LSAN_SUPPRESSIONS}:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${environment} ${TEST_EXE} -functions
                OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TEST_EXE} -functions failed: ${result}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(content "")
foreach(line IN LISTS lines)
    if(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)\\(\\)$")
        set(fn ${CMAKE_MATCH_1})
        string(APPEND content "add_test(\"${TEST_NAME}.${fn}\" \"${TEST_EXE}\" \"${fn}\")\n")
        string(APPEND content "set_tests_properties(\"${TEST_NAME}.${fn}\" PROPERTIES TIMEOUT 300 ENVIRONMENT \"${environment}\")\n")
    endif()
endforeach()
file(WRITE ${OUT} "${content}")
