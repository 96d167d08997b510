# What every Emscripten build shares, game or engine tests alike. Nothing here
# applies to the desktop build.
if(NOT EMSCRIPTEN)
  return()
endif()

# The decoders turn a failed allocation into a clean failure by catching it, and
# the renderer and the loaders report failures with exceptions; Emscripten's
# default of aborting on any throw would make those crashes.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)

# The engine's tests and benchmarks run under node: they read the source tree,
# the module corpus and the PNG suite straight from the real file system, and
# end with the test's own exit status once stdout is flushed.
if(QUAVERO_ENGINE_ONLY)
  add_link_options(-sNODERAWFS=1 -sEXIT_RUNTIME=1)
endif()

# GoogleTest from Debian's source copy, built with the same compiler.
if(QUAVERO_TESTS)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
