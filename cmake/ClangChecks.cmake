# Checks made with clang++ beside the main build when VELMORA_CLANG_CHECKS is on: a second
# tree, ${CMAKE_BINARY_DIR}/clang-portable, of the GUI-free layers and their tests on the
# portable extended arithmetic, built with AddressSanitizer and UndefinedBehaviorSanitizer,
# together with the libFuzzer targets (VELMORA_FUZZ). Building the main tree brings that tree
# up to date (quickly when nothing changed), and ctest runs
#   sanitized_core_tests   every test of the clang tree (each test executable a layer adds
#                          under tests/ is picked up by the clang tree's own ctest): every core
#                          test and scripted session on the portable backend,
#   fuzz.<target>          about 30 s of fuzzing for every fuzz/corpus/<target>/ (15 s for the
#                          extended format against the x87), on a copy of that corpus in the
#                          build tree (the copy keeps what it learns), and
#   cli_backends_agree     when the main tree is on the x87: its velmora-cli and the clang
#                          tree's print the same bytes for every scripted session of the tests
#                          and for 300 random scripts that turn and walk the probe freely
#                          (hostile values and both separators among them): every sine and
#                          cosine is the exactly rounded one on both backends.
find_program(VELMORA_CLANGXX NAMES clang++ clang++-14)
if(NOT VELMORA_CLANGXX)
  message(STATUS "clang++ not found: no sanitized tests and no fuzzing")
  return()
endif()

set(VELMORA_CLANG_TREE ${CMAKE_BINARY_DIR}/clang-portable)
set(VELMORA_FUZZ_SECONDS 30 CACHE STRING "Seconds of fuzzing for each fuzz target under ctest")
set(VELMORA_FUZZ_SECONDS_float80_fuzz 15 CACHE STRING
    "Seconds of fuzzing the extended format against the x87 under ctest")

set(clang_launcher)
find_program(VELMORA_CCACHE ccache)
if(VELMORA_CCACHE)
  set(clang_launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${VELMORA_CCACHE})
endif()

# Configured once; afterwards the clang tree's own build notices changed CMake files.
add_custom_command(
  OUTPUT ${VELMORA_CLANG_TREE}/build.ninja
  COMMAND ${CMAKE_COMMAND} -S ${CMAKE_SOURCE_DIR} -B ${VELMORA_CLANG_TREE} -G Ninja
          -DCMAKE_CXX_COMPILER=${VELMORA_CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
          -DVELMORA_CORE_ONLY=ON -DVELMORA_SANITIZE=ON -DVELMORA_FUZZ=ON
          -DVELMORA_EXTENDED=portable -DVELMORA_WERROR=${VELMORA_WERROR} ${clang_launcher}
  COMMENT "Configuring the clang tree (sanitizers and fuzz targets)"
  VERBATIM)
add_custom_target(clang_checks ALL
  COMMAND ${CMAKE_COMMAND} --build ${VELMORA_CLANG_TREE} -j 2
  DEPENDS ${VELMORA_CLANG_TREE}/build.ninja
  COMMENT "Building the sanitized core and the fuzz targets with clang++"
  USES_TERMINAL
  VERBATIM)

add_test(NAME sanitized_core_tests
         COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${VELMORA_CLANG_TREE} --output-on-failure
                 --parallel 2)
set_tests_properties(sanitized_core_tests PROPERTIES TIMEOUT 1800)

file(GLOB fuzz_corpora LIST_DIRECTORIES true CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/fuzz/corpus/*)
foreach(corpus IN LISTS fuzz_corpora)
  if(NOT IS_DIRECTORY ${corpus})
    continue()
  endif()
  get_filename_component(target ${corpus} NAME)
  set(working_corpus ${CMAKE_BINARY_DIR}/fuzz/corpus/${target})
  set(artifacts ${CMAKE_BINARY_DIR}/fuzz/artifacts)
  file(MAKE_DIRECTORY ${artifacts})
  set(dictionary)
  if(EXISTS ${CMAKE_SOURCE_DIR}/fuzz/${target}.dict)
    set(dictionary -dict=${CMAKE_SOURCE_DIR}/fuzz/${target}.dict)
  endif()

  add_test(NAME fuzz.${target}.corpus
           COMMAND ${CMAKE_COMMAND} -E copy_directory ${corpus} ${working_corpus})
  set_tests_properties(fuzz.${target}.corpus PROPERTIES FIXTURES_SETUP fuzz.${target})
  set(seconds ${VELMORA_FUZZ_SECONDS})
  if(DEFINED VELMORA_FUZZ_SECONDS_${target})
    set(seconds ${VELMORA_FUZZ_SECONDS_${target}})
  endif()
  add_test(NAME fuzz.${target}
           COMMAND ${VELMORA_CLANG_TREE}/fuzz/${target} -max_total_time=${seconds}
                   -print_final_stats=1 -artifact_prefix=${artifacts}/${target}-
                   ${dictionary} ${working_corpus})
  set_tests_properties(fuzz.${target} PROPERTIES
                       FIXTURES_REQUIRED fuzz.${target}
                       TIMEOUT 600)
endforeach()

if(VELMORA_EXTENDED STREQUAL "x87")
  add_test(NAME cli_backends_agree
           COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/cli/compare-backends
                   --x87 $<TARGET_FILE:velmora-cli> --portable ${VELMORA_CLANG_TREE}/cli/velmora-cli
                   --sessions ${CMAKE_SOURCE_DIR}/tests/cli/sessions --random 300)
  set_tests_properties(cli_backends_agree PROPERTIES TIMEOUT 600)
endif()
add_test(NAME clang_tree_without_unit_sine
         COMMAND ${CMAKE_SOURCE_DIR}/tests/float80/check_no_unit_sine.sh
                 ${VELMORA_CLANG_TREE}/cli/velmora-cli)
