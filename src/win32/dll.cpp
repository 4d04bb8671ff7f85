// VELTRUM.DLL: the loader entry, the two exports, and the one module object.

#include <windows.h>

#include <oleauto.h>

#include <new>
#include <string>

#include "frame/dispatch.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "veltrum.hpp"
#include "win32/exports.hpp"
#include "win32/fpu.hpp"
#include "win32/win32_host.hpp"

namespace {

// The plug-in's only module-wide object: the host port and the module state it serves.  It lives
// from the first loader notification until the library is unloaded.
struct Plugin {
  veltrum::win32::Win32Host host;
  veltrum::Module module{host};
  Plugin() { host.bind(module); }
};

Plugin& plugin() {
  static Plugin the_plugin;
  return the_plugin;
}

// The byte string behind an OLE byte string: its length is the 4-byte prefix before the pointer.
std::string copy_byte_string(const char* text) {
  if (text == nullptr) return {};
  const UINT length = SysStringByteLen(reinterpret_cast<BSTR>(const_cast<char*>(text)));
  return std::string(text, length);
}

// Nothing may unwind into the host.  Should the module fail where its own traps do not reach
// (memory for the module object itself), the host gets the module's last-resort message.
void last_resort_message() {
  MessageBoxA(GetForegroundWindow(), std::string(veltrum::last_resort_text).c_str(),
              std::string(veltrum::caption::system_error).c_str(), veltrum::style::stop);
  veltrum::win32::reset_fpu();
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  return LIBMAIN(instance, reason, reserved) != 0;
}

extern "C" LONG WINAPI LIBMAIN(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
  try {
    veltrum::libmain(plugin().module, reinterpret_cast<std::uintptr_t>(instance));
  } catch (...) {
    // The loader gets its 1 in any case; the first Veltrum call will report the failure.
  }
  return 1;
}

extern "C" LONG WINAPI Veltrum(HWND host_window, char* data_file_name, char* test_letter) {
  const veltrum::win32::FpuGuard fpu;
  try {
    const std::string data_file = copy_byte_string(data_file_name);
    const std::string letter = copy_byte_string(test_letter);
    veltrum::run_veltrum(plugin().module, reinterpret_cast<std::uintptr_t>(host_window), data_file, letter);
  } catch (...) {
    last_resort_message();
  }
  return 0;
}
