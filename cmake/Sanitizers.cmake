# The sanitizer build instruments every target, libraries and tests alike, so
# that the whole suite runs under AddressSanitizer and UndefinedBehaviorSanitizer.
if(QUAVERO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
