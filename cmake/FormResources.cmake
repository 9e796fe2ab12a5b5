# target_form_resources(<library> <file.rc>...)
# Form resources of a static library. A static library's resource object would be dropped
# at link time (nothing references it), so its resource scripts are handed to every
# program or DLL that links the library and compiled there.
function(target_form_resources library)
  foreach(rc ${ARGN})
    get_filename_component(path ${rc} ABSOLUTE)
    target_sources(${library} INTERFACE ${path})
  endforeach()
endfunction()
