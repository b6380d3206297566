# Warning and sanitizer flags live in INTERFACE targets: each of our targets links them,
# third-party code never sees them.
add_library(tarvex_warnings INTERFACE)
if(MSVC)
  target_compile_options(tarvex_warnings INTERFACE /W4 /WX /permissive-)
else()
  target_compile_options(tarvex_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Werror)
  # GCC 12 reports impossible overlaps inside std::string at -O3 (a known false positive).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(tarvex_warnings INTERFACE -Wno-restrict)
  endif()
endif()

# Test code may be looser about conversions (test literals), but stays warning-clean otherwise.
add_library(tarvex_test_warnings INTERFACE)
if(NOT MSVC)
  target_compile_options(tarvex_test_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror)
endif()

add_library(tarvex_sanitize INTERFACE)
if(TARVEX_SANITIZE AND NOT MSVC)
  target_compile_options(tarvex_sanitize INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(tarvex_sanitize INTERFACE -fsanitize=address,undefined)
endif()

# Fuzzing: with clang and TARVEX_FUZZ on, everything of ours is instrumented for libFuzzer and
# built with both sanitizers, and tests/fuzz makes one fuzzer program per target.
option(TARVEX_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
set(TARVEX_FUZZER_BUILD OFF)
if(TARVEX_FUZZ)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set(TARVEX_FUZZER_BUILD ON)
    target_compile_options(tarvex_sanitize INTERFACE
      -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(tarvex_sanitize INTERFACE -fsanitize=address,undefined)
  else()
    message(WARNING "TARVEX_FUZZ needs clang (CXX=clang++); the fuzzers are not built")
  endif()
endif()
