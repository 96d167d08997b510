# Our code builds without warnings; this is the one place the flags live.
function(quavero_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
