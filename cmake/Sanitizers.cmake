# The sanitizer build instruments every target, libraries and tests alike, so
# that the whole suite runs under AddressSanitizer and UndefinedBehaviorSanitizer.
if(QUAVERO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# libFuzzer steers by coverage of the code under test, so in the fuzz build
# every library is instrumented, not only the fuzz entry points.
if(QUAVERO_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# The thread-sanitizer build runs the tests in which the game, the mixer and the
# loader share words across threads; it cannot be combined with the one above.
if(QUAVERO_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
