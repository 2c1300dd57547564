# GoogleTest (for the tests, when BUILD_TESTING is on) and {fmt} (header only). A native build
# takes the installed packages; a build for another platform (tools/cross-test) names the
# sources of GoogleTest and a copy of {fmt}'s headers to build with, since the host's libraries
# and include folder do not fit it.
set(VELMORA_GTEST_SOURCE "" CACHE PATH "GoogleTest sources to build with (cross builds)")
set(VELMORA_FMT_INCLUDE "" CACHE PATH "Folder holding fmt/format.h (cross builds)")

if(NOT BUILD_TESTING)
  # The programs alone need no GoogleTest.
elseif(VELMORA_GTEST_SOURCE)
  set(gtest_disable_pthreads ${EMSCRIPTEN} CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VELMORA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(library gtest gtest_main)
    if(NOT TARGET GTest::${library})
      add_library(GTest::${library} ALIAS ${library})
    endif()
  endforeach()
else()
  find_package(GTest REQUIRED)
endif()

add_library(velmora_fmt INTERFACE)
if(VELMORA_WEB_MODULE)
  # The web module's tree builds no velmora-cli, the one user of {fmt}.
elseif(VELMORA_FMT_INCLUDE)
  target_include_directories(velmora_fmt SYSTEM INTERFACE ${VELMORA_FMT_INCLUDE})
  target_compile_definitions(velmora_fmt INTERFACE FMT_HEADER_ONLY)
else()
  find_package(fmt REQUIRED)
  target_link_libraries(velmora_fmt INTERFACE fmt::fmt-header-only)
endif()
