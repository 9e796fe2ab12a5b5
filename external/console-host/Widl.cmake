# widl_compile(<file.idl> <output folder>): the header, the interface identifiers (_i.c)
# and the type library (.tlb) of an IDL file, made by Wine's IDL compiler with the
# standard imports of libwine-dev. The console's own IDL folder is on the import path.
find_program(WIDL NAMES x86_64-w64-mingw32-widl i686-w64-mingw32-widl widl REQUIRED)
find_path(WINE_IDL_DIR oaidl.idl PATHS /usr/include/wine/wine/windows /usr/include/wine/windows REQUIRED
          NO_CMAKE_FIND_ROOT_PATH)
find_path(WINE_STDOLE_DIR stdole2.tlb
          PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows
                /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows
          REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(CONSOLE_HOST_IDL_DIR ${CMAKE_CURRENT_LIST_DIR})

function(widl_compile idl outdir)
  get_filename_component(name ${idl} NAME_WE)
  get_filename_component(idl ${idl} ABSOLUTE)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(arch -m64)
  else()
    set(arch -m32)
  endif()
  set(flags ${arch} -I ${WINE_IDL_DIR} -I ${CONSOLE_HOST_IDL_DIR} -L ${WINE_STDOLE_DIR})
  add_custom_command(
    OUTPUT ${outdir}/${name}.h ${outdir}/${name}_i.c ${outdir}/${name}.tlb
    COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
    COMMAND ${WIDL} ${flags} -h -o ${outdir}/${name}.h ${idl}
    COMMAND ${WIDL} ${flags} -u -o ${outdir}/${name}_i.c ${idl}
    COMMAND ${WIDL} ${flags} -t -o ${outdir}/${name}.tlb ${idl}
    DEPENDS ${idl} ${CONSOLE_HOST_IDL_DIR}/vx4.idl
    VERBATIM)
endfunction()
