# Cross compilation for 32-bit Windows with MinGW-w64 (Debian package g++-mingw-w64-i686).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
# cmake/mingw-x86_64.cmake sets VELTRUM_MINGW_PREFIX first and reuses this file for the 64-bit
# stand-in build of the Wine tests.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT DEFINED VELTRUM_MINGW_PREFIX)
  set(VELTRUM_MINGW_PREFIX i686-w64-mingw32)
  set(CMAKE_SYSTEM_PROCESSOR x86)
endif()

# The win32 thread model: no winpthread DLL at run time.  The module is single-threaded.
find_program(CMAKE_C_COMPILER NAMES ${VELTRUM_MINGW_PREFIX}-gcc-win32 ${VELTRUM_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VELTRUM_MINGW_PREFIX}-g++-win32 ${VELTRUM_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VELTRUM_MINGW_PREFIX}-windres REQUIRED)
find_program(VELTRUM_DLLTOOL NAMES ${VELTRUM_MINGW_PREFIX}-dlltool REQUIRED)
find_program(VELTRUM_OBJDUMP NAMES ${VELTRUM_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${VELTRUM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# float and double on SSE as on x86-64, so both builds compute alike; long double stays x87.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
# -O2 for the release build (CMake's own default would be -O3).
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the release build")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the release build")
# No MinGW run-time DLLs (libgcc_s_*, libstdc++-6) beside the plug-in.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# The plug-in ships optimised: Release unless asked otherwise.
if(NOT DEFINED CMAKE_BUILD_TYPE OR CMAKE_BUILD_TYPE STREQUAL "")
  set(CMAKE_BUILD_TYPE Release CACHE STRING "Build type")
endif()
