# Compile options of Velmora's own targets.
#
# The numerical core depends on exact IEEE behaviour: no fused multiply-add contraction,
# no fast-math, and rounding-mode aware code so the compiler neither folds nor moves
# floating-point operations across the checks of the exception flags.
#
# Warnings are errors only with VELMORA_WERROR (the test command turns it on), so that a
# packager's newer compiler with new warnings still builds the program.
function(velmora_target target)
  if(MSVC)  # the same rules in cl's words (not built on the project's own machines)
    target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8 /fp:strict)
    if(VELMORA_WERROR)
      target_compile_options(${target} PRIVATE /WX)
    endif()
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(VELMORA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
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

# The GUI-free libraries also refuse shadowed names and implicit narrowing conversions: in
# the exact arithmetic a silent conversion between integer, double and extended is a
# rounding nobody decided on.
#
# They also stay out of a unity build (CMAKE_UNITY_BUILD, which the package preset turns on
# for the Qt shell, whose files spend most of their time reading the same Qt headers): each
# file of the arithmetic compiles alone, as every test build compiles it, so that no file's
# helpers can meet another's in one translation unit. They build quickly file by file.
function(velmora_core_target target)
  velmora_target(${target})
  if(NOT MSVC)
    target_compile_options(${target} PRIVATE -Wshadow -Wconversion)
  endif()
  set_target_properties(${target} PROPERTIES UNITY_BUILD OFF)
endfunction()
