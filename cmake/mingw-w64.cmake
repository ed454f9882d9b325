# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread model, which
# std::thread and std::mutex need), running the results under Wine.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_PREFIX_PATH=QT_PREFIX
# (QT_PREFIX: Qt 6 built for Windows, see tools/windows-qt; without it, -DKELVARA_GUI=OFF).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KELVARA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KELVARA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVARA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVARA_MINGW_PREFIX}-windres)

# The Windows Qt prefix is searched too: otherwise CMake re-roots CMAKE_PREFIX_PATH under the
# MinGW root and does not find Qt6.
set(CMAKE_FIND_ROOT_PATH /usr/${KELVARA_MINGW_PREFIX} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime (libstdc++, libgcc, winpthread) stays in its DLLs: Qt's DLLs use
# them already, and one copy of the C++ runtime serves the programs and Qt alike. The packaging
# step (cmake/WindowsPackage.cmake) puts them beside the programs.
# GCC 12 warns falsely about overlapping copies in std::string concatenation when it inlines
# across the library (its bug 105329); the warning says nothing about our code.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")

# ctest runs the test programs through Wine (Debian's wine64 puts its loader outside PATH).
find_program(KELVARA_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(KELVARA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KELVARA_WINE})
endif()
