# Compiler settings shared by every target of the project.

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  # The parameter curves and the engine are exact to the last rounding of single- and
  # double-precision steps; a fused multiply-add would change them silently.
  add_compile_options(-ffp-contract=off)
endif()

if(CMAKE_SYSTEM_PROCESSOR MATCHES "i[3-6]86")
  add_compile_options(-msse2 -mfpmath=sse)
endif()

# qvl_sanitize(<kind>) is chosen by the presets through QVL_SANITIZER (address, thread or empty).
set(QVL_SANITIZER "" CACHE STRING "Sanitizer for all targets: address, thread or empty")
if(QVL_SANITIZER STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(QVL_SANITIZER STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
