# Fails the configure when FOLDER holds a subfolder with a CMakeLists.txt that LISTED does not name:
# such a layer would otherwise never be built or run, and nobody would notice.
function(raziz_require_listed_layers folder listed)
  file(GLOB entries RELATIVE ${folder} ${folder}/*)
  foreach(entry IN LISTS entries)
    if(IS_DIRECTORY ${folder}/${entry} AND EXISTS ${folder}/${entry}/CMakeLists.txt AND NOT entry IN_LIST listed)
      file(RELATIVE_PATH where ${CMAKE_SOURCE_DIR} ${folder})
      message(FATAL_ERROR "${where}/${entry} has a CMakeLists.txt but ${where}/CMakeLists.txt does not add it")
    endif()
  endforeach()
endfunction()
