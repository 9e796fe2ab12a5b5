# stavrel_resource_dependencies(): the resource compiler reads the files a resource script
# names (form descriptions, bitmaps, icons, type libraries, headers) but reports none of
# them to the build, so an edited form would not rebuild its resource. Call once, after
# every folder is added: each resource script of the source tree gets the files it names
# (those that exist beside it) as object dependencies, in every directory of the build.
function(_stavrel_build_directories dir out)
  set(dirs ${dir})
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    _stavrel_build_directories(${sub} found)
    list(APPEND dirs ${found})
  endforeach()
  set(${out} ${dirs} PARENT_SCOPE)
endfunction()

function(stavrel_resource_dependencies)
  _stavrel_build_directories(${CMAKE_SOURCE_DIR} directories)
  file(GLOB_RECURSE scripts CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/framework/*.rc ${CMAKE_SOURCE_DIR}/setup/*.rc
    ${CMAKE_SOURCE_DIR}/toolpage/*.rc ${CMAKE_SOURCE_DIR}/external/*.rc
    ${CMAKE_SOURCE_DIR}/testsupport/*.rc)
  foreach(script ${scripts})
    get_filename_component(folder ${script} DIRECTORY)
    file(STRINGS ${script} lines REGEX "\"[^\"]+\"")
    set(named)
    foreach(line ${lines})
      string(REGEX MATCHALL "\"[^\"]+\"" quoted "${line}")
      foreach(text ${quoted})
        string(REPLACE "\"" "" name "${text}")
        string(REPLACE "\\\\" "/" name "${name}")
        if(NOT name MATCHES "[*?<>|]" AND EXISTS ${folder}/${name} AND NOT IS_DIRECTORY ${folder}/${name})
          list(APPEND named ${folder}/${name})
        endif()
      endforeach()
    endforeach()
    if(named)
      list(REMOVE_DUPLICATES named)
      set_source_files_properties(${script} DIRECTORY ${directories} PROPERTIES OBJECT_DEPENDS "${named}")
      # The scripts themselves are read again when they change.
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script})
    endif()
  endforeach()
endfunction()
