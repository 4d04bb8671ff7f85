// testhost.exe: a stand-in for the statistics program that loads VELTRUM.DLL, for the Wine
// end-to-end tests.
//
//   testhost.exe DLL LETTER DATAFILE SCRIPT [--yes] [--pause SECONDS] [--timeout SECONDS] [--x87 HEX]
//
// It opens a plain top-level window at (0, 0, 640, 480) as the host window, loads DLL, and calls
// its export "Veltrum"(window, DATAFILE, LETTER) with OLE byte strings (Windows-1252).  While the
// call runs its modal dialogs on the main thread, a second thread plays the action script (the
// format of src/headless/script.hpp) on the real controls:
//
//   - it waits for a visible dialog (class #32770) or message box of the main thread, polling;
//     nothing new within the step timeout (default 20 s) ends the run loudly (exit code 4);
//   - a dialog takes actions until it is gone; one that appears when no actions are left gets
//     Escape (under --pause, only after that many seconds: time to take a picture);
//   - a message box is logged and answered with the script's next action when that is an "answer",
//     otherwise with OK, or with No (Yes under --yes) when it asks Yes or No;
//   - a viewer window of OSTREL.DLL (when it runs without OSTREL_LOG) is logged and closed (under
//     --pause, the first one only after that many seconds).
//
// Standard output, one event a line, UTF-8, a carriage return inside a text written as "\r" and a
// line feed as "\n":
//   HOST <left> <top> <right> <bottom>     the host window's rectangle
//   DIALOG <caption>
//   ACTION <action as written in the script>
//   MESSAGE <caption>: <text>
//   ANSWER yes|no|ok
//   VIEWER <caption>
//   FPU <x87 control word before the call> <after it>   (hex; the host sets 027f, 53-bit precision,
//                                          or the word of --x87)
//   RESULT <value returned by Veltrum>
//   PAUSE <seconds>                        --pause: the dialog waits before its Escape
//   ERROR <what went wrong>                a script that does not fit what the module showed
// Exit code: 0 when the script was played as written, 1 after an ERROR (actions left over, or the
// library did not give the host its floating-point control word back), 2 for bad arguments or script, 3 when the
// library or its export is missing, 4 when a step timed out.
//
// Keep this file ASCII: it is compiled with the module's execution character set.

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <oleauto.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "headless/script.hpp"

namespace {

using veltrum::script::Action;
using veltrum::script::Verb;

using VeltrumEntry = LONG(WINAPI*)(HWND, char*, char*);

// ---------------------------------------------------------------------------------------------
// Text conversion and output.

std::wstring to_wide(const std::string& text, UINT code_page) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string from_wide(const std::wstring& wide, UINT code_page) {
  if (wide.empty()) return {};
  const int n =
      WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
  return text;
}

std::string utf8_to_cp1252(const std::string& text) { return from_wide(to_wide(text, CP_UTF8), 1252); }
std::string cp1252_to_utf8(const std::string& text) { return from_wide(to_wide(text, 1252), CP_UTF8); }

// One line on standard output, at once (both threads write).
void say(const std::string& line) {
  std::string out;
  for (const char c : line) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  out += '\n';
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

std::string window_text(HWND window) {
  char buffer[1024] = {};
  const int n = GetWindowTextA(window, buffer, sizeof buffer);
  return cp1252_to_utf8(std::string(buffer, n > 0 ? n : 0));
}

std::string class_name(HWND window) {
  char buffer[64] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

// ---------------------------------------------------------------------------------------------
// The session shared by the two threads.

struct Options {
  std::wstring dll;
  std::string letter;     // Windows-1252
  std::string data_file;  // Windows-1252
  std::wstring script;
  bool yes = false;
  DWORD pause_ms = 0;
  DWORD step_timeout_ms = 20000;
  unsigned short x87 = 0x027F;  // the host's x87 control word during the call
};

struct Session {
  Options options;
  DWORD main_thread = 0;
  HMODULE dll = nullptr;
  HANDLE ready = nullptr;     // the player runs
  HANDLE finished = nullptr;  // Veltrum has returned
  std::deque<Action> actions;
  int errors = 0;
  bool viewer_paused = false;     // --pause holds the first viewer too
  std::deque<std::string> texts;  // texts handed to controls live as long as the session
};

void error(Session& session, const std::string& what) {
  ++session.errors;
  say("ERROR " + what);
}

[[noreturn]] void timed_out(const std::string& what) {
  say("ERROR timeout: " + what);
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 4);
  for (;;) Sleep(1000);
}

// ---------------------------------------------------------------------------------------------
// Finding the module's windows.

// A dialog of the module runs the module's dialog procedure; a message box runs USER32's.
bool is_module_dialog(const Session& session, HWND window) {
  const LONG_PTR procedure = GetWindowLongPtrA(window, DWLP_DLGPROC);
  HMODULE owner = nullptr;
  if (procedure != 0 &&
      GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(procedure), &owner))
    return owner == session.dll;
  // No procedure to go by: a message box has its text in the static control 0xFFFF and no input
  // fields.
  return GetDlgItem(window, 0xFFFF) == nullptr;
}

struct Windows {
  HWND dialog = nullptr;
  HWND box = nullptr;
  HWND viewer = nullptr;
};

struct Search {
  const Session* session;
  Windows found;
};

BOOL CALLBACK collect(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  if (!IsWindowVisible(window)) return TRUE;
  const std::string name = class_name(window);
  if (name == "#32770") {
    if (is_module_dialog(*search.session, window))
      search.found.dialog = window;
    else
      search.found.box = window;
  } else if (name == "OstrelViewer") {
    search.found.viewer = window;
  }
  return TRUE;
}

Windows find_windows(const Session& session) {
  Search search{&session, {}};
  EnumThreadWindows(session.main_thread, collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void wait_gone(HWND window, const std::string& what, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start > timeout_ms) timed_out(what + " does not close");
    Sleep(10);
  }
}

// ---------------------------------------------------------------------------------------------
// Message boxes.

void answer_box(Session& session, HWND box) {
  char text[4096] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  say("MESSAGE " + window_text(box) + ": " + cp1252_to_utf8(text));

  const bool yes_no = GetDlgItem(box, IDYES) != nullptr;
  int button = yes_no ? (session.options.yes ? IDYES : IDNO) : IDOK;
  if (!session.actions.empty() && session.actions.front().verb == Verb::answer) {
    const Action a = session.actions.front();
    session.actions.pop_front();
    const int wanted = a.text == "yes" ? IDYES : a.text == "no" ? IDNO : IDOK;
    if (GetDlgItem(box, wanted) != nullptr)
      button = wanted;
    else
      error(session, "script line " + std::to_string(a.line) + ": '" + to_string(a) + "' does not fit a box with " +
                         (yes_no ? "Yes and No" : "OK"));
  }
  say(std::string("ANSWER ") + (button == IDYES ? "yes" : button == IDNO ? "no" : "ok"));
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
  wait_gone(box, "the message box", session.options.step_timeout_ms);
}

void close_viewer(Session& session, HWND viewer) {
  say("VIEWER " + window_text(viewer));
  if (session.options.pause_ms && !session.viewer_paused) {
    session.viewer_paused = true;
    say("PAUSE " + std::to_string(session.options.pause_ms / 1000));
    Sleep(session.options.pause_ms);
  }
  PostMessageA(viewer, WM_CLOSE, 0, 0);
  wait_gone(viewer, "the viewer", session.options.step_timeout_ms);
}

// ---------------------------------------------------------------------------------------------
// Actions on a dialog.

VOID CALLBACK action_done(HWND, UINT, ULONG_PTR data, LRESULT) { *reinterpret_cast<bool*>(data) = true; }

// Sends a message that may start the module's procedure (and with it a message box) and waits
// until the dialog has handled it, answering message boxes meanwhile.
void send_and_wait(Session& session, HWND target, UINT message, WPARAM wparam, LPARAM lparam) {
  bool done = false;
  if (!SendMessageCallbackA(target, message, wparam, lparam, action_done, reinterpret_cast<ULONG_PTR>(&done))) {
    error(session, "cannot send message " + std::to_string(message));
    return;
  }
  DWORD start = GetTickCount();
  while (!done) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);  // delivers action_done
    if (done) break;
    const Windows now = find_windows(session);
    if (now.box) {
      answer_box(session, now.box);
      start = GetTickCount();
      continue;
    }
    if (now.viewer) {
      close_viewer(session, now.viewer);
      start = GetTickCount();
      continue;
    }
    if (GetTickCount() - start > session.options.step_timeout_ms) timed_out("the dialog does not answer");
    Sleep(10);
  }
}

// A message that carries a pointer cannot go asynchronously: sent and waited for, with a limit.
LRESULT send_now(Session& session, HWND target, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(target, message, wparam, lparam, SMTO_NORMAL, session.options.step_timeout_ms, &result))
    error(session, "message " + std::to_string(message) + " not handled in time");
  return static_cast<LRESULT>(result);
}

void notify(Session& session, HWND dialog, int id, WORD code) {
  send_and_wait(session, dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void perform(Session& session, HWND dialog, const Action& a) {
  const HWND control = GetDlgItem(dialog, a.id);
  const bool takes_control = a.verb != Verb::enter && a.verb != Verb::escape && a.verb != Verb::answer;
  if (takes_control && control == nullptr) {
    error(session, "script line " + std::to_string(a.line) + ": the dialog has no control " + std::to_string(a.id));
    return;
  }
  const bool combo = takes_control && lstrcmpiA(class_name(control).c_str(), "ComboBox") == 0;
  switch (a.verb) {
    case Verb::type: {
      // Into the field as a user goes there (the dialog manager moves the focus), then the text.
      send_and_wait(session, dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
      session.texts.push_back(utf8_to_cp1252(a.text));
      send_now(session, control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(session.texts.back().c_str()));
      break;
    }
    case Verb::pick:
      send_now(session, control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(a.index), 0);
      notify(session, dialog, a.id, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
      break;
    case Verb::choose: {
      session.texts.push_back(utf8_to_cp1252(a.text));
      const LRESULT found = send_now(session, control, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT,
                                     static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(session.texts.back().c_str()));
      if (found < 0) {
        error(session, "script line " + std::to_string(a.line) + ": no entry '" + a.text + "'");
        break;
      }
      send_now(session, control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(found), 0);
      notify(session, dialog, a.id, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
      break;
    }
    case Verb::select:
    case Verb::unselect:
      send_now(session, control, LB_SETSEL, a.verb == Verb::select ? TRUE : FALSE, static_cast<LPARAM>(a.index));
      notify(session, dialog, a.id, LBN_SELCHANGE);
      break;
    case Verb::tick:
    case Verb::untick: {
      const WPARAM state = a.verb == Verb::tick ? BST_CHECKED : BST_UNCHECKED;
      if (static_cast<WPARAM>(send_now(session, control, BM_GETCHECK, 0, 0)) != state) {
        send_now(session, control, BM_SETCHECK, state, 0);
        notify(session, dialog, a.id, BN_CLICKED);  // as a click on the box does
      }
      break;
    }
    case Verb::press:
      notify(session, dialog, a.id, BN_CLICKED);
      break;
    case Verb::enter:
      notify(session, dialog, IDOK, BN_CLICKED);
      break;
    case Verb::escape:
      notify(session, dialog, IDCANCEL, BN_CLICKED);
      break;
    case Verb::answer:
      break;
  }
}

void play_dialog(Session& session, HWND dialog) {
  say("DIALOG " + window_text(dialog));
  int escapes = 0;
  bool paused = false;
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    const Windows now = find_windows(session);
    if (now.box) {
      answer_box(session, now.box);
      continue;
    }
    if (session.actions.empty()) {
      if (!paused && session.options.pause_ms) {
        paused = true;
        say("PAUSE " + std::to_string(session.options.pause_ms / 1000));
        Sleep(session.options.pause_ms);
        continue;  // a message box may have come meanwhile
      }
      if (++escapes > 3) timed_out("the dialog does not end on Escape");
      say("ACTION escape (no actions left)");
      Action escape;
      escape.verb = Verb::escape;
      perform(session, dialog, escape);
      continue;
    }
    const Action a = session.actions.front();
    session.actions.pop_front();
    if (a.verb == Verb::answer) {
      error(session, "script line " + std::to_string(a.line) + ": '" + to_string(a) + "' but no message box is open");
      continue;
    }
    say("ACTION " + to_string(a));
    perform(session, dialog, a);
  }
}

DWORD WINAPI player(LPVOID data) {
  auto& session = *static_cast<Session*>(data);
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // a message queue for the send callbacks
  SetEvent(session.ready);
  DWORD start = GetTickCount();
  for (;;) {
    const Windows now = find_windows(session);
    if (now.box) {
      answer_box(session, now.box);
    } else if (now.dialog) {
      play_dialog(session, now.dialog);
    } else if (now.viewer) {
      close_viewer(session, now.viewer);
    } else if (WaitForSingleObject(session.finished, 0) == WAIT_OBJECT_0) {
      return 0;
    } else {
      if (GetTickCount() - start > session.options.step_timeout_ms) timed_out("no dialog or message box appears");
      Sleep(10);
      continue;
    }
    start = GetTickCount();
  }
}

// ---------------------------------------------------------------------------------------------
// The host.

LRESULT CALLBACK host_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

bool read_file(const std::wstring& path, std::string& bytes) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char chunk[4096];
  DWORD n = 0;
  while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
  CloseHandle(file);
  return true;
}

// Many hosts run the x87 unit at 53-bit precision (027f, the default here); the library must
// compute at 64 bits anyway and hand the host's setting back.
unsigned short x87_control_word() {
  unsigned short cw = 0;
  asm volatile("fnstcw %0" : "=m"(cw) : : "memory");
  return cw;
}

void set_x87_control_word(unsigned short cw) { asm volatile("fnclex\n\tfldcw %0" : : "m"(cw) : "memory"); }

std::string hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", value & 0xFFFFu);
  return text;
}

int usage() {
  say("usage: testhost.exe DLL LETTER DATAFILE SCRIPT [--yes] [--pause SECONDS] [--timeout SECONDS] [--x87 HEX]");
  return 2;
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);

  // The arguments as the system has them, converted to the module's code page here.
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 5) return usage();
  Session session;
  session.options.dll = argv[1];
  session.options.letter = from_wide(argv[2], 1252);
  session.options.data_file = from_wide(argv[3], 1252);
  session.options.script = argv[4];
  for (int i = 5; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--yes") {
      session.options.yes = true;
    } else if ((arg == L"--pause" || arg == L"--timeout") && i + 1 < argc) {
      const DWORD ms = static_cast<DWORD>(_wtoi(argv[++i])) * 1000;
      (arg == L"--pause" ? session.options.pause_ms : session.options.step_timeout_ms) = ms;
    } else if (arg == L"--x87" && i + 1 < argc) {
      session.options.x87 = static_cast<unsigned short>(std::wcstoul(argv[++i], nullptr, 16));
    } else {
      return usage();
    }
  }

  std::string script;
  if (!read_file(session.options.script, script)) {
    say("ERROR cannot read the script " + from_wide(session.options.script, CP_UTF8));
    return 2;
  }
  try {
    session.actions = veltrum::script::parse(script);
  } catch (const std::invalid_argument& e) {
    say(std::string("ERROR ") + e.what());
    return 2;
  }

  WNDCLASSA wc{};
  wc.lpfnWndProc = host_procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = "VeltrumTestHost";
  RegisterClassA(&wc);
  const HWND host = CreateWindowExA(0, wc.lpszClassName, "Veltrum test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                    640, 480, nullptr, nullptr, wc.hInstance, nullptr);
  RECT r{};
  GetWindowRect(host, &r);
  say("HOST " + std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
      std::to_string(r.bottom));

  session.dll = LoadLibraryW(session.options.dll.c_str());
  if (session.dll == nullptr) {
    say("ERROR cannot load " + from_wide(session.options.dll, CP_UTF8) + " (error " + std::to_string(GetLastError()) +
        ")");
    return 3;
  }
  const auto veltrum = reinterpret_cast<VeltrumEntry>(reinterpret_cast<void*>(GetProcAddress(session.dll, "Veltrum")));
  if (veltrum == nullptr) {
    say("ERROR the library has no export Veltrum");
    return 3;
  }

  // The player starts before the call, so that its thread notifications reach the library first.
  session.main_thread = GetCurrentThreadId();
  session.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  session.finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const HANDLE thread = CreateThread(nullptr, 0, player, &session, 0, nullptr);
  WaitForSingleObject(session.ready, INFINITE);

  BSTR data =
      SysAllocStringByteLen(session.options.data_file.data(), static_cast<UINT>(session.options.data_file.size()));
  BSTR letter = SysAllocStringByteLen(session.options.letter.data(), static_cast<UINT>(session.options.letter.size()));
  set_x87_control_word(session.options.x87);
  const unsigned short before = x87_control_word();
  const LONG result = veltrum(host, reinterpret_cast<char*>(data), reinterpret_cast<char*>(letter));
  const unsigned short after = x87_control_word();
  SysFreeString(data);
  SysFreeString(letter);
  say("FPU " + hex4(before) + " " + hex4(after));
  if (after != before) error(session, "the x87 control word was not given back");
  say("RESULT " + std::to_string(result));

  SetEvent(session.finished);
  WaitForSingleObject(thread, session.options.step_timeout_ms);
  CloseHandle(thread);
  if (!session.actions.empty()) {
    std::string left;
    for (const Action& a : session.actions) left += " [" + to_string(a) + "]";
    error(session, std::to_string(session.actions.size()) + " actions left over:" + left);
  }
  FreeLibrary(session.dll);
  DestroyWindow(host);
  LocalFree(argv);
  return session.errors == 0 ? 0 : 1;
}
