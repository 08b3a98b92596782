# GoogleTest from Debian's sources, compiled with whichever toolchain this build uses.
if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# The JPEG library (libjpeg version 62 interface). The Windows build links libjpeg-turbo
# cross-compiled once by scripts/build-jpeg-mingw.sh into a cache shared by every build;
# the native build links Debian's libjpeg62-turbo-dev.
if(WIN32)
  set(TERVANE_JPEG_MINGW_DIR "" CACHE PATH "libjpeg-turbo built for MinGW (include/, lib/libjpeg.a)")
  if(NOT EXISTS "${TERVANE_JPEG_MINGW_DIR}/.complete")
    execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/build-jpeg-mingw.sh
                    OUTPUT_VARIABLE jpeg_dir OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE jpeg_rc)
    if(NOT jpeg_rc EQUAL 0 OR NOT EXISTS "${jpeg_dir}/.complete")
      message(FATAL_ERROR "scripts/build-jpeg-mingw.sh could not build libjpeg-turbo for Windows")
    endif()
    set(TERVANE_JPEG_MINGW_DIR "${jpeg_dir}" CACHE PATH "libjpeg-turbo built for MinGW" FORCE)
  endif()
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
if(NOT EXISTS "${TERVANE_PNG_DIR}/.complete")
  execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/build-png-mingw.sh
                  OUTPUT_VARIABLE png_dir OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE png_rc)
  if(NOT png_rc EQUAL 0 OR NOT EXISTS "${png_dir}/.complete")
    message(FATAL_ERROR "scripts/build-png-mingw.sh could not prepare libspng")
  endif()
  set(TERVANE_PNG_DIR "${png_dir}" CACHE PATH "libspng prepared by scripts/build-png-mingw.sh" FORCE)
endif()
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
