#include "win32/win32_host.hpp"

#include <oleauto.h>

#include <cstring>
#include <vector>

#include "ostrel.h"
#include "win32/fpu.hpp"

namespace veltrum::win32 {
namespace {

// Win32 wants NUL-terminated strings.
std::string z(std::string_view text) { return std::string(text); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// The dialog trampoline.

INT_PTR CALLBACK dialog_trampoline(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  DialogCall* call = nullptr;
  if (message == WM_INITDIALOG) {
    call = reinterpret_cast<DialogCall*>(lparam);
    SetWindowLongPtrA(dialog, GWLP_USERDATA, lparam);
  } else if (message == WM_COMMAND) {
    call = reinterpret_cast<DialogCall*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  } else {
    return FALSE;  // everything else is the dialog manager's
  }
  // After a failure the dialog is on its way out: nothing more reaches the procedure.
  if (call == nullptr || call->procedure == nullptr || call->error) return FALSE;

  Win32DialogWindow window(dialog);
  try {
    if (message == WM_INITDIALOG)
      // FALSE tells the dialog manager that the procedure set the focus itself.
      return call->procedure->init(window) ? FALSE : TRUE;
    return call->procedure->command(window, LOWORD(wparam)) ? TRUE : FALSE;
  } catch (...) {
    call->error = std::current_exception();
    EndDialog(dialog, 0);
    return TRUE;
  }
}

// ---------------------------------------------------------------------------------------------
// Win32DialogWindow.

std::string Win32DialogWindow::text(int id, int limit) const {
  if (limit < 0) limit = 0;
  std::vector<char> buffer(static_cast<std::size_t>(limit) + 1, '\0');
  const UINT n = GetDlgItemTextA(dialog_, id, buffer.data(), limit + 1);
  return std::string(buffer.data(), n);
}

void Win32DialogWindow::set_text(int id, std::string_view text) { SetDlgItemTextA(dialog_, id, z(text).c_str()); }

void Win32DialogWindow::set_caption(std::string_view caption) { SetWindowTextA(dialog_, z(caption).c_str()); }

void Win32DialogWindow::focus(int id) { SetFocus(control(id)); }

void Win32DialogWindow::kill_focus(int id) { send(id, WM_KILLFOCUS, 0, 0); }

void Win32DialogWindow::select_text(int id) { send(id, EM_SETSEL, 0, -1); }

void Win32DialogWindow::enable(int id, bool on) { EnableWindow(control(id), on ? TRUE : FALSE); }

bool Win32DialogWindow::is_combo(int id) const {
  char name[32] = {};
  GetClassNameA(control(id), name, sizeof name);
  return lstrcmpiA(name, "ComboBox") == 0;
}

void Win32DialogWindow::clear_items(int id) { send(id, is_combo(id) ? CB_RESETCONTENT : LB_RESETCONTENT); }

void Win32DialogWindow::insert_item(int id, int position, std::string_view text) {
  const std::string item = z(text);
  send(id, is_combo(id) ? CB_INSERTSTRING : LB_INSERTSTRING, static_cast<WPARAM>(position),
       reinterpret_cast<LPARAM>(item.c_str()));
}

int Win32DialogWindow::item_count(int id) const {
  return static_cast<int>(send(id, is_combo(id) ? CB_GETCOUNT : LB_GETCOUNT));
}

int Win32DialogWindow::selection(int id) const {
  const LRESULT r = send(id, is_combo(id) ? CB_GETCURSEL : LB_GETCURSEL);
  return r < 0 ? -1 : static_cast<int>(r);
}

void Win32DialogWindow::select(int id, int position) {
  send(id, is_combo(id) ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(position));
}

void Win32DialogWindow::close_dropdown(int id) {
  if (is_combo(id)) send(id, CB_SHOWDROPDOWN, FALSE);
}

bool Win32DialogWindow::item_selected(int id, int position) const {
  return send(id, LB_GETSEL, static_cast<WPARAM>(position)) > 0;
}

void Win32DialogWindow::set_item_selected(int id, int position, bool on) {
  send(id, LB_SETSEL, on ? TRUE : FALSE, static_cast<LPARAM>(position));
}

bool Win32DialogWindow::checked(int id) const { return send(id, BM_GETCHECK) == BST_CHECKED; }

void Win32DialogWindow::check(int id, bool on) { send(id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED); }

Rect Win32DialogWindow::window_rect() const {
  RECT r{};
  GetWindowRect(dialog_, &r);
  return Rect{r.left, r.top, r.right, r.bottom};
}

void Win32DialogWindow::move(int x, int y) { SetWindowPos(dialog_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }

void Win32DialogWindow::end(int result) { EndDialog(dialog_, result); }

// ---------------------------------------------------------------------------------------------
// Win32Host.

HINSTANCE Win32Host::instance() const { return module_ ? reinterpret_cast<HINSTANCE>(module_->instance) : nullptr; }

HWND Win32Host::host_window() const { return module_ ? reinterpret_cast<HWND>(module_->host_window) : nullptr; }

int Win32Host::dialog(std::string_view template_name, DialogProcedure& procedure) {
  DialogCall call;
  call.procedure = &procedure;
  const std::string name = z(template_name);
  const INT_PTR result =
      DialogBoxParamA(instance(), name.c_str(), host_window(), dialog_trampoline, reinterpret_cast<LPARAM>(&call));
  if (call.error) std::rethrow_exception(call.error);
  // -1: the dialog could not be created (no such template).  There is no end value then; the
  // test sees a cancelled dialog rather than a report that was never written.
  return result == -1 ? 0 : static_cast<int>(result);
}

int Win32Host::message_box(std::string_view text, unsigned style, std::string_view caption) {
  const int button = MessageBoxA(GetForegroundWindow(), z(text).c_str(), z(caption).c_str(), style);
  reset_fpu();
  return button;
}

int Win32Host::metric(Metric which) { return GetSystemMetrics(static_cast<int>(which)); }

Rect Win32Host::host_window_rect() {
  RECT r{};
  GetWindowRect(host_window(), &r);
  return Rect{r.left, r.top, r.right, r.bottom};
}

void Win32Host::repaint_host() { UpdateWindow(host_window()); }

void Win32Host::viewer(std::string_view text) {
  // The viewer takes an OLE byte string, valid for the length of the call.
  BSTR bytes = SysAllocStringByteLen(text.data(), static_cast<UINT>(text.size()));
  if (bytes == nullptr) return;
  Ausgabe(host_window(), reinterpret_cast<char*>(bytes));
  SysFreeString(bytes);
}

void Win32Host::cursor(Cursor shape) {
  const WORD id = shape == Cursor::wait ? 32514 /* IDC_WAIT */ : 32512 /* IDC_ARROW */;
  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(id)));
}

void Win32Host::help(std::string_view file, unsigned context) {
  WinHelpA(host_window(), z(file).c_str(), HELP_CONTEXT, context);
}

std::string Win32Host::module_path() {
  char buffer[261] = {};
  const DWORD n = GetModuleFileNameA(instance(), buffer, 260);
  if (n == 0) return {};
  return std::string(buffer, strnlen(buffer, 260));
}

std::string Win32Host::resource_text(int id) {
  char buffer[256] = {};
  const int n = LoadStringA(instance(), static_cast<UINT>(id), buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

LocalTime Win32Host::now() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute};
}

std::string Win32Host::real_path(std::string_view windows_path) { return z(windows_path); }

bool Win32Host::file_exists(std::string_view windows_path) {
  if (windows_path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(z(windows_path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace veltrum::win32
