# Libraries whose functions are imported at their first call instead of at start (mingw-w64's
# delay-import libraries, made by dlltool from a list of the functions used). A library that is
# imported this way is loaded only when the program first calls into it.

# Makes lib<name>_delay.a from cmake/delay-imports/<name>.def for each name and puts them on
# <target>'s link line ahead of the ordinary import libraries, so that the listed functions are
# taken from them. A function missing from a list is still found in the ordinary library: the
# program then works, but loads that library at start again (the Windows tests notice).
function(tarvik_delay_imports target)
  if(NOT CMAKE_DLLTOOL)
    find_program(CMAKE_DLLTOOL NAMES ${TARVIK_MINGW_PREFIX}-dlltool dlltool REQUIRED)
  endif()
  foreach(name IN LISTS ARGN)
    set(definition ${PROJECT_SOURCE_DIR}/cmake/delay-imports/${name}.def)
    set(library ${CMAKE_BINARY_DIR}/delay-imports/lib${name}_delay.a)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delay-imports)
    execute_process(
      COMMAND ${CMAKE_DLLTOOL} --input-def ${definition} --dllname ${name}.dll
              --output-delaylib ${library}
      RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "dlltool could not make the delay-import library of ${name}.dll")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${definition})
    list(APPEND libraries ${library})
  endforeach()
  get_target_property(imports ${target} INTERFACE_LINK_LIBRARIES)
  if(NOT imports)
    set(imports "")
  endif()
  set_target_properties(${target} PROPERTIES INTERFACE_LINK_LIBRARIES "${libraries};${imports}")
endfunction()
