# The Windows program: 32-bit, ANSI API, code page 936 literals, one static executable.
add_compile_options(-finput-charset=UTF-8 -fexec-charset=GBK -Wall -Wextra
                    -Wno-cast-function-type -Wno-missing-field-initializers)
# GCC's identical-code folding merges functions of different calling conventions on i686 (an
# empty free function with an empty member function taking one argument, which pops it), and
# the caller's stack is left 4 bytes off: a crash at the caller's return.
add_compile_options(-fno-ipa-icf)
add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 NOMINMAX STRICT)
add_link_options(-static -static-libgcc -static-libstdc++)

add_library(tervane_portable STATIC ${TERVANE_PORTABLE_SOURCES})
target_include_directories(tervane_portable PUBLIC ${CMAKE_SOURCE_DIR})
# The portable codecs call the libraries directly (the JPEG glue, for one).
if(TARGET tervane_win_deps)
  target_link_libraries(tervane_portable PUBLIC tervane_win_deps)
endif()

add_library(tervane_win STATIC ${TERVANE_WIN_SOURCES})
target_link_libraries(tervane_win PUBLIC tervane_portable
  gdi32 user32 kernel32 comctl32 msimg32 advapi32)

file(GLOB TERVANE_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/*.rc)
# The resource compiler's dependencies are not scanned: the files the scripts name are listed,
# so that a redrawn icon or a changed manifest reaches the program.
file(GLOB TERVANE_ART CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/art/*)
set_source_files_properties(${CMAKE_SOURCE_DIR}/app/Tervane.rc PROPERTIES OBJECT_DEPENDS "${TERVANE_ART}")
set_source_files_properties(${CMAKE_SOURCE_DIR}/app/Manifest.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/app/Tervane.exe.manifest)
add_executable(Tervane WIN32 ${TERVANE_ENTRY_SOURCE} ${TERVANE_RESOURCES})
target_link_libraries(Tervane PRIVATE tervane_win)
set_target_properties(Tervane PROPERTIES OUTPUT_NAME Tervane RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# The help file the program opens with F1 lies beside it, in the program's own code page.
set(TERVANE_README_SOURCE ${CMAKE_SOURCE_DIR}/app/readme.txt)
set(TERVANE_README_OUTPUT ${CMAKE_BINARY_DIR}/bin/readme.txt)
add_custom_command(OUTPUT ${TERVANE_README_OUTPUT}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin
  COMMAND sh ${CMAKE_SOURCE_DIR}/tools/text_to_utf16.sh ${TERVANE_README_SOURCE} ${TERVANE_README_OUTPUT}
  DEPENDS ${TERVANE_README_SOURCE} ${CMAKE_SOURCE_DIR}/tools/text_to_utf16.sh
  COMMENT "Help file readme.txt in UTF-16")
add_custom_target(tervane_readme ALL DEPENDS ${TERVANE_README_OUTPUT})
