# The game built for the browser with Emscripten (emcmake): Emscripten's own
# SDL 1.2 and WebGL 1 in place of the system's SDL and OpenGL, zlib and
# vorbisfile from the prefix scripts/build-web-deps.sh fills, no threads, and
# the page with its script and WebAssembly written to the site folder.
set(QUAVERO_WEB_DEPS_PREFIX "${PROJECT_SOURCE_DIR}/build-web/deps/prefix" CACHE PATH
    "Prefix holding zlib, libogg and libvorbis built with Emscripten (scripts/build-web-deps.sh)")
set(QUAVERO_WEB_SITE_DIR "${CMAKE_BINARY_DIR}/site" CACHE PATH "Folder the page, its script and its WebAssembly go to")

list(APPEND CMAKE_FIND_ROOT_PATH "${QUAVERO_WEB_DEPS_PREFIX}")
set(ENV{PKG_CONFIG_LIBDIR} "${QUAVERO_WEB_DEPS_PREFIX}/lib/pkgconfig")
# Static libraries: vorbisfile names libvorbis only among its private libraries.
set(PKG_CONFIG_ARGN --static)

# SDL 1.2 and WebGL come with Emscripten's runtime: nothing to find or link.
add_library(PkgConfig::SDL INTERFACE IMPORTED)
add_library(OpenGL::GL INTERFACE IMPORTED)
# Threads would need shared memory, which a plain static web host cannot give
# (it takes cross-origin isolation headers); the browser build runs on one thread.
add_library(Threads::Threads INTERFACE IMPORTED)

# Flags for targets made in the folders, applied once they all exist.
function(quavero_web_targets)
  # The data packer runs at build time under node, reading and writing the host's files.
  target_link_options(packdata PRIVATE -sNODERAWFS=1 -sWASM_ASYNC_COMPILATION=0 -sALLOW_MEMORY_GROWTH=1)

  target_link_options(quavero PRIVATE
    -sENVIRONMENT=web
    -sINITIAL_MEMORY=64MB -sALLOW_MEMORY_GROWTH=1
    -sEXPORTED_RUNTIME_METHODS=UTF8ToString,callMain)

  set(page_sources
    ${PROJECT_SOURCE_DIR}/app/web/site/index.html
    ${PROJECT_SOURCE_DIR}/app/web/site/page.css
    ${PROJECT_SOURCE_DIR}/app/web/site/page.js)
  set(icon ${PROJECT_SOURCE_DIR}/dist/icons/64x64/quavero.png)
  add_custom_target(site ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUAVERO_WEB_SITE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page_sources} ${QUAVERO_WEB_SITE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${icon} ${QUAVERO_WEB_SITE_DIR}/icon.png
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:quavero>
            $<TARGET_FILE_DIR:quavero>/quavero.wasm ${QUAVERO_WEB_SITE_DIR}
    DEPENDS quavero ${page_sources} ${icon}
    COMMENT "Writing the site to ${QUAVERO_WEB_SITE_DIR}"
    VERBATIM)
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL quavero_web_targets)
