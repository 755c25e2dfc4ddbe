# Cross-compiling Kib for 64-bit Windows with Debian's MinGW-w64 (package
# g++-mingw-w64-x86-64); the programs and tests run here under Wine.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KIB_MINGW_TRIPLE x86_64-w64-mingw32)

# The compilers of the POSIX thread model: GoogleTest needs std::mutex, which
# GCC 12's win32 thread model lacks (its winpthreads runtime is linked in).
set(CMAKE_C_COMPILER ${KIB_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KIB_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KIB_MINGW_TRIPLE}-windres)

# Libraries, headers and packages come only from the MinGW tree and from the
# prefix KIB_WINDOWS_DEPS (GoogleTest and the other libraries built for Windows,
# see scripts/windows.sh), never from Linux; programs come from Linux.
set(CMAKE_FIND_ROOT_PATH /usr/${KIB_MINGW_TRIPLE})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KIB_WINDOWS_DEPS)
if(KIB_WINDOWS_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${KIB_WINDOWS_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows 7 and later; the wide-character functions throughout.
set(CMAKE_C_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -DUNICODE -D_UNICODE")
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -DUNICODE -D_UNICODE")
# The runtime linked in, so that the .exe files run without MinGW's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Programs built here (the tests, kibgen in the build) run under Wine.
find_program(KIB_WINE NAMES wine wine64)
if(KIB_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KIB_WINE})
endif()
