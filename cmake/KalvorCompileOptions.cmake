# Warning, sanitizer and fuzzing flags shared by every target of the project.
add_library(kalvor_options INTERFACE)
target_compile_options(kalvor_options INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
if(KALVOR_WERROR)
  target_compile_options(kalvor_options INTERFACE -Werror)
endif()

if(KALVOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(KALVOR_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KALVOR_FUZZ needs clang (use the 'fuzz' preset)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
