# Cross compilation for 64-bit Windows with MinGW-w64 (Debian package g++-mingw-w64-x86-64).
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
# The plug-in ships as the 32-bit VELTRUM.DLL (cmake/mingw-i686.cmake).  This 64-bit build of the
# same sources exists for the Wine end-to-end tests on machines that cannot run 32-bit processes
# (a Linux kernel without 32-bit emulation runs 64-bit Wine only); see tests/wine/README.md.
set(VELTRUM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake")
