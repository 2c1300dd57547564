# The web side, built beside the main tree when VELMORA_WEB is on:
#   build/web-module   the emscripten tree: the core on the portable backend and web/module,
#                      written to build/web-module/module/
#   build/web-cli      velmora-cli.mjs (the node script runner) and bench.mjs (the TypeScript
#                      layer as one ES module, with the module embedded), from web/ by esbuild
#                      (web/build.mjs says what else)
# JavaScript packages come from web/package-lock.json through npm ci. Building the main tree
# brings all of it up to date, quickly when nothing changed; tests/web holds the tests.
find_program(VELMORA_EMCMAKE emcmake REQUIRED)
find_program(VELMORA_NODE node REQUIRED)
find_program(VELMORA_NPM npm REQUIRED)

# Wasm exceptions (-fwasm-exceptions) or emscripten's JavaScript-based ones (-fexceptions):
# BENCHMARKS.md has both measured. The core compiles with -O2, which made both a smaller and
# a four times quicker module than -Oz (emscripten's -Oz keeps the small functions of the
# software arithmetic out of line); the link runs wasm-opt with -Oz (web/module).
set(VELMORA_WEB_EXCEPTIONS wasm CACHE STRING "Exceptions of the web module: wasm or js")
set_property(CACHE VELMORA_WEB_EXCEPTIONS PROPERTY STRINGS wasm js)
if(VELMORA_WEB_EXCEPTIONS STREQUAL "wasm")
  set(web_exceptions -fwasm-exceptions)
else()
  set(web_exceptions -fexceptions)
endif()

set(VELMORA_WEB_TREE ${CMAKE_BINARY_DIR}/web-module)
set(VELMORA_WEB_CLI ${CMAKE_BINARY_DIR}/web-cli)
# The tree builds without VELMORA_WERROR, as the other cross builds do: wasm32's 32-bit size_t
# draws conversion warnings from code written for 64-bit hosts.
# Debian's emscripten runs its JavaScript tools with the node modules Debian installs.
set(web_env ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

set(web_configure
    -S ${CMAKE_SOURCE_DIR} -B ${VELMORA_WEB_TREE} -G Ninja -DCMAKE_BUILD_TYPE=Release
    "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_CXX_FLAGS=${web_exceptions}"
    "-DCMAKE_EXE_LINKER_FLAGS=${web_exceptions}" -DVELMORA_WEB_MODULE=ON -DVELMORA_CORE_ONLY=ON
    -DBUILD_TESTING=OFF -DVELMORA_EXTENDED=portable)
# Configured again whenever these settings change (the file is rewritten only then);
# otherwise the tree's own build notices changed CMake files.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/web-module-settings.txt CONTENT "${web_configure}")
add_custom_command(
  OUTPUT ${VELMORA_WEB_TREE}/build.ninja
  COMMAND ${web_env} ${VELMORA_EMCMAKE} ${CMAKE_COMMAND} ${web_configure}
  DEPENDS ${CMAKE_BINARY_DIR}/web-module-settings.txt
  COMMENT "Configuring the web module's tree (emscripten)"
  VERBATIM)
set(web_modules velmora-module velmora-module-single velmora-module-small)
set(web_module_files)
foreach(module IN LISTS web_modules)
  list(APPEND web_module_files ${VELMORA_WEB_TREE}/module/${module}.mjs)
endforeach()
list(APPEND web_module_files ${VELMORA_WEB_TREE}/module/velmora-module.wasm
     ${VELMORA_WEB_TREE}/module/velmora-module-small.wasm)
add_custom_target(web_module ALL
  COMMAND ${web_env} ${CMAKE_COMMAND} --build ${VELMORA_WEB_TREE} -j 2
  DEPENDS ${VELMORA_WEB_TREE}/build.ninja
  BYPRODUCTS ${web_module_files}
  COMMENT "Building the web module with emscripten"
  USES_TERMINAL
  VERBATIM)

set(web_dir ${CMAKE_SOURCE_DIR}/web)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/web-npm-ci.stamp
  COMMAND ${VELMORA_NPM} ci --no-audit --no-fund --loglevel=error
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/web-npm-ci.stamp
  DEPENDS ${web_dir}/package.json ${web_dir}/package-lock.json
  WORKING_DIRECTORY ${web_dir}
  COMMENT "Installing the web side's JavaScript packages (npm ci)"
  VERBATIM)

file(GLOB_RECURSE web_sources CONFIGURE_DEPENDS ${web_dir}/src/*.ts ${web_dir}/cli/*.ts
     ${CMAKE_SOURCE_DIR}/benchmarks/web/*.ts)
add_custom_command(
  OUTPUT ${VELMORA_WEB_CLI}/velmora-cli.mjs ${VELMORA_WEB_CLI}/bench.mjs
  COMMAND ${VELMORA_NODE} ${web_dir}/build.mjs ${VELMORA_WEB_TREE}/module ${VELMORA_WEB_CLI}
          ${PROJECT_VERSION}
  DEPENDS ${web_dir}/build.mjs ${web_sources} ${web_module_files}
          ${CMAKE_BINARY_DIR}/web-npm-ci.stamp
  COMMENT "Bundling the TypeScript layer and the node runner (esbuild)"
  VERBATIM)
add_custom_target(web_cli ALL DEPENDS ${VELMORA_WEB_CLI}/velmora-cli.mjs)
add_dependencies(web_cli web_module)
