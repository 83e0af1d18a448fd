# Delay-load import libraries for the Windows build.
#
# A DLL named in the import table is mapped, initialised and partly paged in when the process
# starts, whether the run calls it or not. The common controls (which bring the visual-styles
# engine and its theme file along), the common dialogs (which bring the printing libraries),
# COM and the network-drive library serve the wizard or rare paths only, yet a silent run paid
# for all of them: under Wine about 10 MiB of its peak memory and a fifth of its start-up calls.
# Linked through a delay-load library, such a DLL is loaded by the first call into it
# (mingw-w64's __delayLoadHelper2), so a run without a window never maps it.
#
# vek_delay_import_libraries(<out_var> <dll>...) makes, at configure time, one delay-load
# library per DLL from every function its ordinary import library names, and returns their
# paths for a link line. They must come before the ordinary import libraries: a function
# missing from the delay-load library would quietly bring the DLL back into the import table
# (tests/e2e/test_cleanup.py watches which DLLs a silent run loads).
function(vek_delay_import_libraries out_var)
  set(_dir ${CMAKE_BINARY_DIR}/delayimp)
  file(MAKE_DIRECTORY ${_dir})
  set(_libraries)
  foreach(_dll IN LISTS ARGN)
    find_library(VEK_IMPORT_LIB_${_dll} NAMES lib${_dll}.a ${_dll} REQUIRED)
    set(_out ${_dir}/lib${_dll}_delay.a)
    if(NOT EXISTS ${_out} OR ${VEK_IMPORT_LIB_${_dll}} IS_NEWER_THAN ${_out})
      execute_process(COMMAND ${CMAKE_NM} --defined-only ${VEK_IMPORT_LIB_${_dll}}
        OUTPUT_VARIABLE _symbols RESULT_VARIABLE _result ERROR_QUIET)
      if(NOT _result EQUAL 0)
        message(FATAL_ERROR "${CMAKE_NM} could not read ${VEK_IMPORT_LIB_${_dll}}")
      endif()
      string(REGEX MATCHALL "__imp_[A-Za-z0-9_@?$]+" _imports "${_symbols}")
      list(TRANSFORM _imports REPLACE "^__imp_" "")
      list(REMOVE_DUPLICATES _imports)
      list(SORT _imports)
      list(JOIN _imports "\n" _exports)
      file(WRITE ${_dir}/${_dll}.def "LIBRARY ${_dll}.dll\nEXPORTS\n${_exports}\n")
      execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${_dir}/${_dll}.def --dllname ${_dll}.dll
        --output-delaylib ${_out} RESULT_VARIABLE _result)
      if(NOT _result EQUAL 0)
        message(FATAL_ERROR "${CMAKE_DLLTOOL} could not make the delay-load library of ${_dll}")
      endif()
    endif()
    list(APPEND _libraries ${_out})
  endforeach()
  set(${out_var} ${_libraries} PARENT_SCOPE)
endfunction()
