# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model,
# so std::thread and std::mutex compile).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

if(NOT KLIPORA_DEPS_PREFIX)
  get_filename_component(KLIPORA_DEPS_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../build/deps/mingw" ABSOLUTE)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${KLIPORA_DEPS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Otherwise FindZLIB picks libz.dll.a and the program would need zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
