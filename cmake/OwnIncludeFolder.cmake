# quavero_own_include_folder(target): the library's headers are included as
# "Folder/Header.h" through a folder of the build tree that holds a link to
# this library's folder alone. A library reaches another's headers only by
# linking to it, so a folder that includes one it does not link to (one above
# it) fails to build.
function(quavero_own_include_folder target)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${PROJECT_BINARY_DIR}/include-roots/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
