# Fails when a test of a build tree has no time limit of its own (ctest's default is 25 minutes,
# so one hanging test would stall the whole run).
# Usage: cmake -DCTEST=ctest -DBUILD_DIR=dir -P check_timeouts.cmake
execute_process(
  COMMAND ${CTEST} --show-only=json-v1 --test-dir ${BUILD_DIR}
  OUTPUT_VARIABLE json
  ERROR_VARIABLE errors
  RESULT_VARIABLE result
  TIMEOUT 120)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "ctest --show-only in ${BUILD_DIR} failed (${result}): ${errors}")
endif()

string(JSON count LENGTH "${json}" tests)
if(count EQUAL 0)
  message(FATAL_ERROR "no tests in ${BUILD_DIR}")
endif()
set(missing "")
set(lacking 0)
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  string(JSON test GET "${json}" tests ${i})
  string(JSON name GET "${test}" name)
  set(timeout 0)
  string(JSON properties ERROR_VARIABLE no_properties LENGTH "${test}" properties)
  if(NOT no_properties)
    foreach(j RANGE ${properties})
      if(j LESS properties)
        string(JSON property GET "${test}" properties ${j} name)
        if(property STREQUAL "TIMEOUT")
          string(JSON timeout GET "${test}" properties ${j} value)
        endif()
      endif()
    endforeach()
  endif()
  # TIMEOUT 0 means no limit at all.
  if(NOT timeout GREATER 0)
    string(APPEND missing "\n  ${name}")
    math(EXPR lacking "${lacking} + 1")
  endif()
endforeach()

if(lacking GREATER 0)
  message(FATAL_ERROR "${lacking} of ${count} tests lack a TIMEOUT:${missing}")
endif()
message(STATUS "all ${count} tests have a TIMEOUT")
