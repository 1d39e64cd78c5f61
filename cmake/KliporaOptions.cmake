# Flags every Klipora target shares. Warnings are errors in both trees; the
# native tree runs its tests under AddressSanitizer and UBSan.
option(KLIPORA_SANITIZE "Build native code with ASan and UBSan" ON)

add_library(klipora_flags INTERFACE)
target_compile_options(klipora_flags INTERFACE -Wall -Wextra -Werror)

if(WIN32)
  target_compile_definitions(klipora_flags INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # One static executable: no libstdc++/libgcc/winpthread DLLs to ship.
  target_link_options(klipora_flags INTERFACE
    -static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
elseif(KLIPORA_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(klipora_flags INTERFACE ${_san})
  target_link_options(klipora_flags INTERFACE ${_san})
endif()

# klipora_add_library(name SOURCES...): a core or shell library with the
# project's flags and src/ as include root.
function(klipora_add_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC klipora_flags)
endfunction()
