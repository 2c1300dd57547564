# Compile options of Velmora's own targets.
#
# The numerical core depends on exact IEEE behaviour: no fused multiply-add contraction,
# no fast-math, and rounding-mode aware code so the compiler neither folds nor moves
# floating-point operations across the checks of the exception flags.
function(velmora_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  target_compile_options(${target} PRIVATE -ffp-contract=off -fno-fast-math)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -frounding-math)
  elseif(NOT EMSCRIPTEN)  # WebAssembly has one rounding mode and no exception flags
    target_compile_options(${target} PRIVATE -ffp-model=strict)
  endif()
  if(VELMORA_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A GoogleTest executable registered with ctest, one ctest entry per test case.
include(GoogleTest)
function(velmora_test name)
  add_executable(${name} ${ARGN})
  velmora_target(${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
