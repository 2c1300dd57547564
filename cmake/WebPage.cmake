# The bench as a web page, built beside the web module when VELMORA_WEB is on:
#   build/web           the static page (web/page/build/build-page.mjs): the three windows
#                       written from resources/Unit*.ui, the page's scripts bundled by esbuild
#                       over the module, Liberation Sans and the pictures, the manifest and
#                       icons of the installed page, the service worker that keeps it offline.
#                       `tools/dev web` serves it.
#   build/velmora.html  the same page in one file, for opening from a file with no server
# It needs what cmake/WebBuild.cmake makes: the module and the JavaScript packages.
set(VELMORA_WEB_PAGE ${CMAKE_BINARY_DIR}/web)

file(GLOB_RECURSE web_page_sources CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/web/page/*.ts ${CMAKE_SOURCE_DIR}/web/page/*.mjs
     ${CMAKE_SOURCE_DIR}/web/page/*.css ${CMAKE_SOURCE_DIR}/web/page/*.html
     ${CMAKE_SOURCE_DIR}/web/page/*.svg ${CMAKE_SOURCE_DIR}/web/src/*.ts)
file(GLOB web_page_resources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.ui
     ${CMAKE_SOURCE_DIR}/resources/*.jpg ${CMAKE_SOURCE_DIR}/resources/*.bmp
     ${CMAKE_SOURCE_DIR}/resources/*.png
     ${CMAKE_SOURCE_DIR}/packaging/icons/hicolor/256x256/apps/*.png)
add_custom_command(
  OUTPUT ${VELMORA_WEB_PAGE}/index.html ${VELMORA_WEB_PAGE}/velmora-page.js
         ${VELMORA_WEB_PAGE}/service-worker.js ${CMAKE_BINARY_DIR}/velmora.html
  COMMAND ${VELMORA_NODE} ${CMAKE_SOURCE_DIR}/web/page/build/build-page.mjs
          ${VELMORA_WEB_TREE}/module ${VELMORA_WEB_PAGE}
  DEPENDS ${web_page_sources} ${web_page_resources} ${web_module_files}
          ${CMAKE_BINARY_DIR}/web-npm-ci.stamp
  COMMENT "Building the web page (build/web, build/velmora.html)"
  VERBATIM)
add_custom_target(web_page ALL DEPENDS ${VELMORA_WEB_PAGE}/index.html)
add_dependencies(web_page web_module)
