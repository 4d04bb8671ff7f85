# The unit tests as 32-bit x86 Linux programs (Debian package g++-i686-linux-gnu), run under
# qemu-i386 on machines whose kernel runs no 32-bit programs:
#   cmake -S . -B build-i686 -DCMAKE_TOOLCHAIN_FILE=cmake/linux-i686.cmake -DCMAKE_BUILD_TYPE=Release
#   cmake --build build-i686 --target veltrum_tests && qemu-i386 build-i686/tests/veltrum_tests
# Same floating-point code generation as VELTRUM.DLL (cmake/mingw-i686.cmake): float and double on
# SSE, long double on the x87 unit.  The numbers of the 32-bit build are tested this way; the
# platform layer (Win32) is not.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

find_program(CMAKE_C_COMPILER NAMES i686-linux-gnu-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES i686-linux-gnu-g++ REQUIRED)

set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
# -O2 as the shipped DLL (CMake's own default for Release would be -O3).
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the release build")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the release build")
# Static programs: qemu-i386 needs no 32-bit loader or libraries on the machine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test discovery and ctest run the programs through the emulator.
find_program(VELTRUM_QEMU_I386 NAMES qemu-i386)
if(VELTRUM_QEMU_I386)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${VELTRUM_QEMU_I386}")
endif()

# Header-only libraries (Boost, CLI11) come from the build machine's /usr/include, which Debian's
# cross compilers search after their own directories; GoogleTest is compiled from its sources
# (tests/CMakeLists.txt).
