# The seven stored skins: drawn by tools/skingen on the build machine, packed by the host
# tool tools/skinpack, and compiled into the program as RCDATA resources. The native build
# only builds the packer's library, for the round-trip tests.
set(TERVANE_SKINPACK_SOURCES
    ${CMAKE_SOURCE_DIR}/tools/skinpack/LzhufEncoder.cpp
    ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinArchiveWriter.cpp)

if(NOT WIN32)
  add_library(skinpack_lib STATIC ${TERVANE_SKINPACK_SOURCES})
  target_link_libraries(skinpack_lib PUBLIC tervane_portable)
  if(TARGET portable_skin_tests)
    target_link_libraries(portable_skin_tests PRIVATE skinpack_lib)
  endif()
  return()
endif()

# The packer runs on the build machine, so it is compiled with the host's compiler, not the
# cross compiler this tree is configured with.
find_program(TERVANE_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
# Debian's python3 (any python3 will do: the generator needs nothing beyond the standard library).
find_program(TERVANE_SKIN_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(TERVANE_SKIN_PYTHON python3 REQUIRED)
set(skin_out ${CMAKE_BINARY_DIR}/skins)
set(skinpack ${CMAKE_BINARY_DIR}/skintools/skinpack)
add_custom_command(
  OUTPUT ${skinpack}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/skintools
  COMMAND ${TERVANE_HOST_CXX} -std=c++17 -O2 -I${CMAKE_SOURCE_DIR} -o ${skinpack}
          ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPackMain.cpp ${TERVANE_SKINPACK_SOURCES}
          ${CMAKE_SOURCE_DIR}/skin/stored/LzhufTree.cpp ${CMAKE_SOURCE_DIR}/base/Exceptions.cpp
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPackMain.cpp ${TERVANE_SKINPACK_SOURCES}
          ${CMAKE_SOURCE_DIR}/tools/skinpack/LzhufEncoder.h ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinArchiveWriter.h
          ${CMAKE_SOURCE_DIR}/skin/stored/LzhufTree.cpp ${CMAKE_SOURCE_DIR}/skin/stored/LzhufTree.h
  COMMENT "Building the skin packer for the build machine"
  VERBATIM)

file(GLOB skingen_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/skingen/*.py)
set(skin_items SkinItem6 SkinItem12 SkinItem1 SkinItem7 SkinItem8 SkinItem2 SkinItem11)
set(skin_files)
foreach(item IN LISTS skin_items)
  list(APPEND skin_files ${skin_out}/${item}.skn)
endforeach()
add_custom_command(
  OUTPUT ${skin_files} ${skin_out}/Skins.rc
  COMMAND ${TERVANE_SKIN_PYTHON} ${CMAKE_SOURCE_DIR}/tools/skingen/generate_skins.py
          --out ${skin_out} --packer ${skinpack}
  DEPENDS ${skingen_sources} ${skinpack}
  COMMENT "Drawing and packing the stored skins"
  VERBATIM)
add_custom_target(stored_skins DEPENDS ${skin_files} ${skin_out}/Skins.rc)
set_source_files_properties(${skin_out}/Skins.rc PROPERTIES GENERATED TRUE OBJECT_DEPENDS "${skin_files}")

target_sources(Tervane PRIVATE ${skin_out}/Skins.rc)
add_dependencies(Tervane stored_skins)
if(TARGET win_skin_tests)
  target_sources(win_skin_tests PRIVATE ${skin_out}/Skins.rc ${TERVANE_SKINPACK_SOURCES})
  add_dependencies(win_skin_tests stored_skins)
endif()
# The main window's tests build the window with its skin store.
if(TARGET win_app_tests)
  target_sources(win_app_tests PRIVATE ${skin_out}/Skins.rc)
  add_dependencies(win_app_tests stored_skins)
endif()
# Benchmarks of the skin engine build the main window with its skins and pictures.
foreach(bench IN ITEMS skin_controls_bench_win skin_manager_bench_win)
  if(TARGET ${bench})
    target_sources(${bench} PRIVATE ${skin_out}/Skins.rc ${CMAKE_SOURCE_DIR}/app/Tervane.rc)
    add_dependencies(${bench} stored_skins)
  endif()
endforeach()
