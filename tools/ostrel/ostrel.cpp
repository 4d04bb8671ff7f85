// OSTREL.DLL: the output viewer.  Shows a report file read-only in a resizable window placed on
// the caller's window rectangle; see ostrel.h for the interface and the test mode.

#define OSTREL_BUILD
#include "ostrel.h"

#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr char window_class[] = "OstrelViewer";
constexpr int edit_id = 100;

struct Request {
  std::string path;       // "C:\Ausgabe."
  std::string rectangle;  // "   0   0 640 480"
};

// The path ends at the first "." after its last "\" (the module's paths all end in a bare dot);
// the rectangle text follows.  Without such a dot the rectangle is the tail of blanks, digits and
// minus signs.
Request split(std::string_view text) {
  const std::size_t slash = text.rfind('\\');
  const std::size_t dot = text.find('.', slash == std::string_view::npos ? 0 : slash + 1);
  std::size_t cut = text.size();
  if (dot != std::string_view::npos) {
    cut = dot + 1;
  } else {
    while (cut > 0 && (text[cut - 1] == ' ' || text[cut - 1] == '-' || (text[cut - 1] >= '0' && text[cut - 1] <= '9')))
      --cut;
  }
  return Request{std::string(text.substr(0, cut)), std::string(text.substr(cut))};
}

// A whole number as the "####" picture writes it: optional leading blanks (only in a four-character
// field), an optional minus sign, digits.
bool parse_field(std::string_view field, bool padded, long& value) {
  std::size_t i = 0;
  if (padded)
    while (i < field.size() && field[i] == ' ') ++i;
  bool negative = false;
  if (i < field.size() && field[i] == '-') negative = true, ++i;
  if (i == field.size()) return false;
  long v = 0;
  for (; i < field.size(); ++i) {
    if (field[i] < '0' || field[i] > '9') return false;
    v = v * 10 + (field[i] - '0');
    if (v > 1000000) return false;
  }
  value = negative ? -v : v;
  return true;
}

// The rectangle text: `count` right-aligned fields of four characters, a field wider only when its
// number needs more room (then without padding).  Tries the widths from the left, backtracking.
bool parse_fields(std::string_view text, int count, long* out) {
  if (count == 0) return text.empty();
  for (std::size_t width = 4; width <= text.size(); ++width) {
    const bool padded = width == 4;
    if (!padded && text[0] == ' ') break;
    if (parse_field(text.substr(0, width), padded, out[0]) && parse_fields(text.substr(width), count - 1, out + 1))
      return true;
  }
  return false;
}

// Four numbers separated by blanks, for a text not written with the picture.
bool parse_words(std::string_view text, long* out) {
  int n = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    if (i == text.size()) break;
    std::size_t j = i;
    while (j < text.size() && text[j] != ' ') ++j;
    if (n == 4 || !parse_field(text.substr(i, j - i), false, out[n])) return false;
    ++n;
    i = j;
  }
  return n == 4;
}

bool parse_rectangle(std::string_view text, RECT& rect) {
  long v[4] = {};
  if (!parse_fields(text, 4, v) && !parse_words(text, v)) return false;
  rect = RECT{v[0], v[1], v[2], v[3]};
  return true;
}

std::string environment(const char* name) {
  char buffer[MAX_PATH * 2] = {};
  const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return {};
  return std::string(buffer, n);
}

// Test mode: one line in the log, and a copy of the shown file when asked.
void log_request(const std::string& log, const Request& request) {
  const HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    const std::string line = "Ausgabe|" + request.path + "|" + request.rectangle + "\r\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
  }
  const std::string save = environment("OSTREL_SAVE");
  if (save.empty()) return;
  for (int n = 1; n < 10000; ++n) {
    const std::string target = save + "\\ausgabe-" + std::to_string(n) + ".txt";
    if (CopyFileA(request.path.c_str(), target.c_str(), TRUE)) return;
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return;
  }
}

// The file's bytes with every line ending as CR LF, as the edit control wants them.
std::string read_for_display(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "Die Datei " + path + " kann nicht gelesen werden.";
  std::string bytes;
  char chunk[8192];
  DWORD n = 0;
  while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
  CloseHandle(file);

  std::string text;
  text.reserve(bytes.size() + bytes.size() / 32);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      text += "\r\n";
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      text += "\r\n";
    } else if (c == '\0') {
      text += ' ';
    } else {
      text += c;
    }
  }
  return text;
}

LRESULT CALLBACK viewer_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE: {
      const HWND edit = GetDlgItem(window, edit_id);
      if (edit) MoveWindow(edit, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
      return 0;
    }
    case WM_SETFOCUS: {
      const HWND edit = GetDlgItem(window, edit_id);
      if (edit) SetFocus(edit);
      return 0;
    }
    case WM_CLOSE: {
      // Give the owner back its input before the window goes, so that it gets the activation.
      const HWND owner = GetWindow(window, GW_OWNER);
      if (owner) EnableWindow(owner, TRUE);
      DestroyWindow(window);
      return 0;
    }
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

HINSTANCE this_module() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&viewer_procedure), &module);
  return module;
}

void show(HWND owner, const Request& request) {
  const HINSTANCE instance = this_module();
  WNDCLASSA wc{};
  wc.lpfnWndProc = viewer_procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = window_class;
  RegisterClassA(&wc);  // fails harmlessly when the class is there from an earlier call

  RECT place{};
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, w = 640, h = 480;
  if (parse_rectangle(request.rectangle, place) && place.right - place.left >= 200 && place.bottom - place.top >= 120) {
    x = place.left, y = place.top, w = place.right - place.left, h = place.bottom - place.top;
  }

  const std::string caption = "Ausgabe - " + request.path;
  const HWND viewer = CreateWindowExA(0, window_class, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, w,
                                      h, IsWindow(owner) ? owner : nullptr, nullptr, instance, nullptr);
  if (!viewer) return;

  const HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                                        ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
                                    0, 0, 0, 0, viewer, reinterpret_cast<HMENU>(edit_id), instance, nullptr);
  HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
  if (edit) {
    SendMessageA(edit, WM_SETFONT,
                 reinterpret_cast<WPARAM>(font ? font : static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT))), FALSE);
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextA(edit, read_for_display(request.path).c_str());
  }
  RECT client{};
  GetClientRect(viewer, &client);
  if (edit) MoveWindow(edit, 0, 0, client.right, client.bottom, FALSE);

  // Modal: the owner takes no input until the viewer is closed.
  const bool owner_was_enabled = IsWindow(owner) && IsWindowEnabled(owner);
  if (owner_was_enabled) EnableWindow(owner, FALSE);
  ShowWindow(viewer, SW_SHOWNORMAL);
  UpdateWindow(viewer);
  if (edit) SetFocus(edit);

  MSG msg;
  while (IsWindow(viewer)) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the quit belongs to the caller's loop
      break;
    }
    if (got < 0) break;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && (msg.hwnd == viewer || IsChild(viewer, msg.hwnd))) {
      SendMessageA(viewer, WM_CLOSE, 0, 0);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (IsWindow(viewer)) DestroyWindow(viewer);
  if (owner_was_enabled) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  if (font) DeleteObject(font);
}

}  // namespace

extern "C" LONG WINAPI Ausgabe(HWND window, char* text) {
  const Request request = split(text ? std::string_view(text, std::strlen(text)) : std::string_view{});
  const std::string log = environment("OSTREL_LOG");
  if (!log.empty()) {
    log_request(log, request);
    return 0;
  }
  show(window, request);
  return 0;
}
