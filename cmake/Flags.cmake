# Warning and sanitizer flags live in INTERFACE targets: each of our targets links them,
# third-party code never sees them.
#
# Warnings are always on; turning them into errors is for our own checks (test.sh, CI), not for
# everyone who builds the program with another compiler or another optimisation level.
option(TARVEX_WERROR "Treat warnings in our code as errors" OFF)

add_library(tarvex_warnings INTERFACE)
add_library(tarvex_test_warnings INTERFACE)
if(MSVC)
  target_compile_options(tarvex_warnings INTERFACE /W4 /permissive-)
  target_compile_options(tarvex_test_warnings INTERFACE /W4 /permissive-)
  if(TARVEX_WERROR)
    target_compile_options(tarvex_warnings INTERFACE /WX)
    target_compile_options(tarvex_test_warnings INTERFACE /WX)
  endif()
else()
  target_compile_options(tarvex_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion)
  # Test code may be looser about conversions (test literals), but stays warning-clean otherwise.
  target_compile_options(tarvex_test_warnings INTERFACE -Wall -Wextra -Wpedantic)
  # GCC 12 reports impossible overlaps inside std::string at -O2 and -O3 (a known false
  # positive), in our code and in the tests alike.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(tarvex_warnings INTERFACE -Wno-restrict)
    target_compile_options(tarvex_test_warnings INTERFACE -Wno-restrict)
  endif()
  if(TARVEX_WERROR)
    target_compile_options(tarvex_warnings INTERFACE -Werror)
    target_compile_options(tarvex_test_warnings INTERFACE -Werror)
  endif()
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
