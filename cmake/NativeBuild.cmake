# Native build of the byte-level code. Sanitizers are on unless asked otherwise
# (benchmarks configure a separate tree with TERVANE_SANITIZE=OFF).
option(TERVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(TERVANE_SANITIZE)
  set(sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${sanitize_flags})
  add_link_options(${sanitize_flags})
  # Indexing a standard container past its size aborts too, even inside its capacity, where the
  # address sanitizer sees nothing wrong.
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
endif()
add_compile_options(-Wall -Wextra)

add_library(tervane_portable STATIC ${TERVANE_PORTABLE_SOURCES} ${TERVANE_POSIX_SOURCES})
target_include_directories(tervane_portable PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(tervane_portable PUBLIC TERVANE_NATIVE=1)
# The JPEG to GIF conversion decodes on a thread of its own.
find_package(Threads REQUIRED)
target_link_libraries(tervane_portable PUBLIC Threads::Threads)
if(TARGET tervane_native_deps)
  target_link_libraries(tervane_portable PUBLIC tervane_native_deps)
endif()
