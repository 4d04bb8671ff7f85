# The Windows side, cross-compiled with cmake/mingw-i686.cmake:
#   VELTRUM.DLL  the plug-in: the core's libraries, src/win32, the resource script
#   OSTREL.DLL   our output viewer (tools/ostrel), whose import library VELTRUM.DLL links against
#   testhost.exe the host stand-in of the Wine end-to-end tests (tests/wine)
# Included from the root CMakeLists.txt when WIN32, after the core's libraries (cmake/core.cmake).

# --- Boost: the header-only libraries of the build machine -----------------------------------------
# Only the boost/ tree is made visible (through a link in the build tree), never the rest of the
# machine's /usr/include, which belongs to another compiler.
set(VELTRUM_BOOST_INCLUDE_DIR "/usr/include" CACHE PATH "Directory that holds the boost/ header tree")
if(NOT EXISTS "${VELTRUM_BOOST_INCLUDE_DIR}/boost/version.hpp")
  message(FATAL_ERROR "Boost headers not found under ${VELTRUM_BOOST_INCLUDE_DIR} (Debian: libboost-dev)")
endif()
file(STRINGS "${VELTRUM_BOOST_INCLUDE_DIR}/boost/version.hpp" _veltrum_boost_version
     REGEX "^#define BOOST_VERSION [0-9]+")
string(REGEX REPLACE ".* ([0-9]+)$" "\\1" _veltrum_boost_version "${_veltrum_boost_version}")
if(_veltrum_boost_version LESS 107400)
  message(FATAL_ERROR "Boost ${_veltrum_boost_version} found, 1.74 or newer needed")
endif()
set(_veltrum_boost_link_dir "${CMAKE_BINARY_DIR}/boost-include")
file(MAKE_DIRECTORY "${_veltrum_boost_link_dir}")
file(CREATE_LINK "${VELTRUM_BOOST_INCLUDE_DIR}/boost" "${_veltrum_boost_link_dir}/boost" SYMBOLIC)
add_library(Boost::headers INTERFACE IMPORTED)
set_target_properties(Boost::headers PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${_veltrum_boost_link_dir}")
# Imported include directories are system directories: Boost's own warnings stay quiet.

# --- Export lists -----------------------------------------------------------------------------
# 32-bit: stdcall symbols carry their argument size (_Veltrum@12); the .def files export them under
# their plain names.  The 64-bit stand-in build has one calling convention and plain symbols.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VELTRUM_DEF "${CMAKE_CURRENT_SOURCE_DIR}/resources/VELTRUM.def")
  set(VELTRUM_OSTREL_DEF "${CMAKE_CURRENT_SOURCE_DIR}/tools/ostrel/OSTREL.def")
  set(VELTRUM_OSTREL_IMPORT_DEF "${CMAKE_CURRENT_SOURCE_DIR}/tools/ostrel/OSTREL-import.def")
  set(_veltrum_kill_at --kill-at)
else()
  set(VELTRUM_DEF "${CMAKE_CURRENT_BINARY_DIR}/VELTRUM64.def")
  set(VELTRUM_OSTREL_DEF "${CMAKE_CURRENT_BINARY_DIR}/OSTREL64.def")
  set(VELTRUM_OSTREL_IMPORT_DEF "${VELTRUM_OSTREL_DEF}")
  set(_veltrum_kill_at)
  file(WRITE "${VELTRUM_DEF}" "LIBRARY \"VELTRUM.DLL\"\nEXPORTS\n  LIBMAIN\n  Veltrum\n")
  file(WRITE "${VELTRUM_OSTREL_DEF}" "LIBRARY \"OSTREL.DLL\"\nEXPORTS\n  Ausgabe\n")
endif()

# --- OSTREL.DLL -------------------------------------------------------------------------------
add_library(ostrel SHARED tools/ostrel/ostrel.cpp "${VELTRUM_OSTREL_DEF}")
set_target_properties(ostrel PROPERTIES PREFIX "" OUTPUT_NAME OSTREL SUFFIX ".DLL")
target_include_directories(ostrel PRIVATE tools/ostrel)
target_link_libraries(ostrel PRIVATE user32 gdi32 kernel32)
target_link_options(ostrel PRIVATE -s)
# The import library that callers link: the symbol of Ausgabe (_Ausgabe@8 in 32 bits), imported by
# the plain name "Ausgabe".
set(VELTRUM_OSTREL_IMPLIB "${CMAKE_CURRENT_BINARY_DIR}/libostrel-import.a")
add_custom_command(
  OUTPUT "${VELTRUM_OSTREL_IMPLIB}"
  COMMAND "${VELTRUM_DLLTOOL}" ${_veltrum_kill_at} --dllname OSTREL.DLL
          --input-def "${VELTRUM_OSTREL_IMPORT_DEF}" --output-lib "${VELTRUM_OSTREL_IMPLIB}"
  DEPENDS "${VELTRUM_OSTREL_IMPORT_DEF}"
  COMMENT "Import library of OSTREL.DLL")
add_custom_target(ostrel_import DEPENDS "${VELTRUM_OSTREL_IMPLIB}")
add_dependencies(ostrel_import ostrel)

# --- The resource script --------------------------------------------------------------------------
# Compiled by a command of its own, so that the C++ options of the project never reach windres.
set(VELTRUM_RES "${CMAKE_CURRENT_BINARY_DIR}/VELTRUM_res.o")
add_custom_command(
  OUTPUT "${VELTRUM_RES}"
  COMMAND "${CMAKE_RC_COMPILER}" --input-format=rc --output-format=coff
          -I "${CMAKE_CURRENT_SOURCE_DIR}/resources"
          -i "${CMAKE_CURRENT_SOURCE_DIR}/resources/VELTRUM.rc" -o "${VELTRUM_RES}"
  WORKING_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/resources"
  DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/resources/VELTRUM.rc" "${CMAKE_CURRENT_SOURCE_DIR}/resources/VELTRUM_R.h"
          "${CMAKE_CURRENT_SOURCE_DIR}/resources/veltrum.ico"
  COMMENT "Compiling the resource script VELTRUM.rc")
set_source_files_properties("${VELTRUM_RES}" PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)

# --- VELTRUM.DLL ------------------------------------------------------------------------------
file(GLOB VELTRUM_WIN32_SOURCES CONFIGURE_DEPENDS src/win32/*.cpp)
add_library(veltrum_dll SHARED ${VELTRUM_WIN32_SOURCES} "${VELTRUM_DEF}" "${VELTRUM_RES}")
set_target_properties(veltrum_dll PROPERTIES PREFIX "" OUTPUT_NAME VELTRUM SUFFIX ".DLL")
# The platform layer sees the frame, itself and the catalogue's Veltrum call (cmake/core.cmake).
veltrum_layer(win32 "${CMAKE_CURRENT_SOURCE_DIR}" frame win32 veltrum.hpp)
target_include_directories(veltrum_dll PRIVATE "${VELTRUM_LAYER_DIR}" resources tools/ostrel)
add_dependencies(veltrum_dll ostrel_import)
target_link_libraries(veltrum_dll PRIVATE veltrum_catalogue "${VELTRUM_OSTREL_IMPLIB}" user32 kernel32 oleaut32)
# The host finds the two exports by name; symbols are stripped from the shipped file.
target_link_options(veltrum_dll PRIVATE -Wl,--no-undefined -s)

# --- The test host of the Wine end-to-end tests ------------------------------------------------
add_executable(testhost tests/wine/testhost.cpp src/headless/script.cpp)
target_include_directories(testhost PRIVATE src)
target_link_libraries(testhost PRIVATE user32 kernel32 oleaut32 shell32)
target_link_options(testhost PRIVATE -mconsole)
