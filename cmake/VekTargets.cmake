# Shared compile settings and the test helper for both builds.

set(VEK_WARNINGS
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wswitch-enum
  -Wcast-qual -Wformat=2 -Wundef -Werror)
# GCC 12 reports false -Wrestrict overlaps inside std::string at -O2 (GCC bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND VEK_WARNINGS -Wno-restrict)
endif()

function(vek_target_defaults target)
  target_compile_options(${target} PRIVATE ${VEK_WARNINGS})
  if(VEK_WINDOWS)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
      _WIN32_WINNT=0x0601 WINVER=0x0601)
    # setup.exe is downloaded and copied to media, so its size counts: -O2 instead of the
    # release default -O3 (which comes first on the command line, so this one wins) saves a
    # fifth of the code at no measurable cost, since the time of an install goes to the file
    # system and to zlib. One section per function lets the linker drop what nothing calls.
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-O2>
      -ffunction-sections -fdata-sections)
  endif()
  if(VEK_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  endif()
  if(VEK_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
      -fno-sanitize-recover=undefined)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# Every Windows executable is linked statically so that it runs on a bare machine:
# no libstdc++/libgcc/winpthread/zlib DLL may be needed at run time.
function(vek_static_windows_exe target)
  if(VEK_WINDOWS)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++
      -Wl,--gc-sections)
  endif()
endfunction()

# Wine runs the Windows tests. One prefix per build tree, created on first use by the wrapper.
if(VEK_WINDOWS)
  set(VEK_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(VEK_WINE_RUN ${CMAKE_SOURCE_DIR}/tools/wine-run ${VEK_WINE_PREFIX} ${CMAKE_BINARY_DIR})
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VEK_WINE_RUN})
endif()

# vek_add_test(NAME <name> SOURCES <files...> [LIBS <libs...>] [WINDOWS_ONLY])
# One GoogleTest program per area; ctest runs it as one test (under Wine in the Windows build).
function(vek_add_test)
  cmake_parse_arguments(T "WINDOWS_ONLY" "NAME" "SOURCES;LIBS" ${ARGN})
  if(T_WINDOWS_ONLY AND NOT VEK_WINDOWS)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  vek_target_defaults(${T_NAME})
  vek_static_windows_exe(${T_NAME})
  if(VEK_WINDOWS)
    target_link_libraries(${T_NAME} PRIVATE vek_win)
  endif()
  target_link_libraries(${T_NAME} PRIVATE vek_core ${T_LIBS} GTest::gtest_main)
  # Test helpers shared across areas are included by their folder ("base/FakeUserChannel.h").
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300)
endfunction()

# vek_area_sources(): the sources of one src/ folder. Every *.cpp goes into the core, except
# files named *.win.cpp, which call Win32 (through src/system) and go into vek_win.
function(vek_area_sources)
  file(GLOB _all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(f ${_all})
    if(f MATCHES "\\.win\\.cpp$")
      if(VEK_WINDOWS)
        target_sources(vek_win PRIVATE ${f})
      endif()
    else()
      target_sources(vek_core PRIVATE ${f})
    endif()
  endforeach()
endfunction()
