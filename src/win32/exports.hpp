// The two functions VELTRUM.DLL exports (listed in resources/VELTRUM.def).  Both are stdcall with
// 12 bytes of arguments and are exported under their plain names, "LIBMAIN" and "Veltrum".
#pragma once

#include <windows.h>

extern "C" {

// The loader notification: DllMain forwards every notification here.  Always 1.
LONG WINAPI LIBMAIN(HINSTANCE instance, DWORD reason, LPVOID reserved);

// Runs one test until the user cancels.  The strings are OLE byte strings (as made by
// SysAllocStringByteLen) owned by the caller; they are copied, never changed or freed.  Always 0.
LONG WINAPI Veltrum(HWND host_window, char* data_file_name, char* test_letter);

}  // extern "C"
