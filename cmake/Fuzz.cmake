# Reader fuzz entries. crv_add_fuzz_target(NAME SOURCES files... LIBS libs... CORPUS folder)
# builds NAME_replay from the entry source (which defines LLVMFuzzerTestOneInput)
# and registers the test fuzz_NAME (label "fuzz"): the seed corpus plus a fixed,
# seeded set of mutations of each seed. With clang and CRV_LIBFUZZER=ON it also
# builds NAME_fuzzer, a libFuzzer binary for long runs:
#   build/bin/NAME_fuzzer -max_total_time=3600 CORPUS_COPY/
# and the test libfuzzer_NAME, which runs it for CRV_LIBFUZZER_SECONDS.
# Without CRV_BUILD_TESTS it adds nothing.
option(CRV_LIBFUZZER "Also build libFuzzer binaries of the fuzz entries (clang only)" OFF)
set(CRV_FUZZ_MUTATIONS 200 CACHE STRING "Seeded mutations per seed in the fuzz replay tests")
set(CRV_LIBFUZZER_SECONDS 10 CACHE STRING "Seconds each libFuzzer binary runs in its test (label libfuzzer)")

# A libFuzzer binary finds new inputs by the code they reach: with the
# sanitizers on (whose run-time takes the coverage calls in every binary),
# every library the entries call is instrumented, not the entries alone.
if(CRV_LIBFUZZER AND CRV_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(CRV_BUILD_TESTS)
  add_library(crv_fuzz_support STATIC ${CMAKE_CURRENT_LIST_DIR}/fuzz/fuzz_support.cpp)
  target_include_directories(crv_fuzz_support PUBLIC ${CMAKE_CURRENT_LIST_DIR}/fuzz)
endif()

function(crv_add_fuzz_target name)
  if(NOT CRV_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name}_replay ${F_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/fuzz/replay_main.cpp)
  target_link_libraries(${name}_replay PRIVATE ${F_LIBS} crv_fuzz_support)
  add_test(NAME fuzz_${name} COMMAND ${name}_replay ${F_CORPUS} ${CRV_FUZZ_MUTATIONS})
  set_tests_properties(fuzz_${name} PROPERTIES LABELS fuzz TIMEOUT 120)
  crv_join_test_set(${name}_replay)
  if(CRV_LIBFUZZER AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_executable(${name}_fuzzer ${F_SOURCES})
    target_link_libraries(${name}_fuzzer PRIVATE ${F_LIBS} crv_fuzz_support)
    target_compile_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer)
    # A short run of each (label "libfuzzer"), on a copy of the seeds: the
    # fuzzer adds the inputs it finds to its corpus folder.
    set(_work ${CMAKE_BINARY_DIR}/libfuzzer/${name})
    add_test(NAME libfuzzer_${name}
             COMMAND sh -c "rm -rf '${_work}' && mkdir -p '${_work}' && cp -R '${F_CORPUS}/.' '${_work}/' && \"$0\" -max_total_time=${CRV_LIBFUZZER_SECONDS} -timeout=10 '${_work}'"
                     $<TARGET_FILE:${name}_fuzzer>)
    set_tests_properties(libfuzzer_${name} PROPERTIES LABELS libfuzzer TIMEOUT 300)
  endif()
endfunction()
