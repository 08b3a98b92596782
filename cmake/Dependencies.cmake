# GoogleTest from Debian's sources, compiled with whichever toolchain this build uses.
if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# A library prepared once by one of the scripts into the shared cache: runs the script (which
# only prints the folder when it is there already) and keeps the folder it prints in `var`. A
# change of the script or of its patches configures the build anew, and so takes a new folder.
function(tervane_prepare_library var script description)
  file(GLOB patches CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/scripts/patches/*.patch)
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${CMAKE_SOURCE_DIR}/scripts/${script} ${patches})
  execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/${script}
                  OUTPUT_VARIABLE dir OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT EXISTS "${dir}/.complete")
    message(FATAL_ERROR "scripts/${script} could not prepare ${description}")
  endif()
  set(${var} "${dir}" CACHE PATH "${description}" FORCE)
endfunction()

# The JPEG library (libjpeg version 62 interface). The Windows build links libjpeg-turbo
# cross-compiled once by scripts/build-jpeg-mingw.sh into a cache shared by every build;
# the native build links Debian's libjpeg62-turbo-dev.
if(WIN32)
  set(TERVANE_JPEG_MINGW_DIR "" CACHE PATH "libjpeg-turbo built for MinGW (include/, lib/libjpeg.a)")
  tervane_prepare_library(TERVANE_JPEG_MINGW_DIR build-jpeg-mingw.sh "libjpeg-turbo built for MinGW")
  add_library(tervane_win_deps INTERFACE)
  target_include_directories(tervane_win_deps SYSTEM INTERFACE ${TERVANE_JPEG_MINGW_DIR}/include)
  target_link_libraries(tervane_win_deps INTERFACE ${TERVANE_JPEG_MINGW_DIR}/lib/libjpeg.a)
else()
  find_package(JPEG REQUIRED)
  add_library(tervane_native_deps INTERFACE)
  target_link_libraries(tervane_native_deps INTERFACE JPEG::JPEG)
endif()

# The PNG library: libspng from Debian's source package with the program's patches, prepared
# once by scripts/build-png-mingw.sh into the shared cache. The Windows build links the
# library compiled there with Debian's MinGW zlib; the native build compiles the same spng.c
# itself (under the sanitizers and the fuzzer) over Debian's zlib.
set(TERVANE_PNG_DIR "" CACHE PATH "libspng prepared by scripts/build-png-mingw.sh")
tervane_prepare_library(TERVANE_PNG_DIR build-png-mingw.sh "libspng prepared by scripts/build-png-mingw.sh")
find_package(ZLIB REQUIRED)
if(WIN32)
  target_include_directories(tervane_win_deps SYSTEM INTERFACE ${TERVANE_PNG_DIR}/include)
  target_compile_definitions(tervane_win_deps INTERFACE SPNG_STATIC)
  target_link_libraries(tervane_win_deps INTERFACE ${TERVANE_PNG_DIR}/lib/libspng.a ZLIB::ZLIB)
else()
  add_library(tervane_spng STATIC ${TERVANE_PNG_DIR}/src/spng.c)
  target_include_directories(tervane_spng SYSTEM PUBLIC ${TERVANE_PNG_DIR}/src)
  target_compile_definitions(tervane_spng PUBLIC SPNG_STATIC)
  target_link_libraries(tervane_spng PUBLIC ZLIB::ZLIB m)
  target_link_libraries(tervane_native_deps INTERFACE tervane_spng)
endif()
