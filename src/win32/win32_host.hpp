// The ports on USER32/KERNEL32: the Host of VELTRUM.DLL and the running dialog as its procedure
// sees it.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

#include "frame/host.hpp"
#include "frame/module.hpp"

namespace veltrum::win32 {

// A dialog while DialogBoxParamA runs it; its address travels as the dialog's initialisation value
// and then lives in GWLP_USERDATA.  A C++ exception must not unwind through USER32's frames: the
// trampoline keeps it here, ends the dialog, and Win32Host::dialog throws it again.
struct DialogCall {
  DialogProcedure* procedure = nullptr;
  std::exception_ptr error;
};

// The one DLGPROC of the module: forwards WM_INITDIALOG and WM_COMMAND to the DialogProcedure.
INT_PTR CALLBACK dialog_trampoline(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

class Win32DialogWindow final : public DialogWindow {
 public:
  explicit Win32DialogWindow(HWND dialog) : dialog_(dialog) {}

  std::string text(int id, int limit) const override;
  void set_text(int id, std::string_view text) override;
  void set_caption(std::string_view caption) override;
  void focus(int id) override;
  void kill_focus(int id) override;
  void select_text(int id) override;
  void enable(int id, bool on) override;

  void clear_items(int id) override;
  void insert_item(int id, int position, std::string_view text) override;
  int item_count(int id) const override;
  int selection(int id) const override;
  void select(int id, int position) override;
  void close_dropdown(int id) override;
  bool item_selected(int id, int position) const override;
  void set_item_selected(int id, int position, bool on) override;

  bool checked(int id) const override;
  void check(int id, bool on) override;

  Rect window_rect() const override;
  void move(int x, int y) override;

  void end(int result) override;

 private:
  HWND control(int id) const { return GetDlgItem(dialog_, id); }
  // Combo box or list box: the messages differ, the class name tells.
  bool is_combo(int id) const;
  LRESULT send(int id, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
    return SendDlgItemMessageA(dialog_, id, message, wparam, lparam);
  }

  HWND dialog_;
};

// The Host of the plug-in.  It reads the instance handle and the host window from the module it
// serves, which LIBMAIN and each Veltrum call record.
class Win32Host final : public Host {
 public:
  Win32Host() = default;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  void bind(const Module& module) { module_ = &module; }

  int dialog(std::string_view template_name, DialogProcedure& procedure) override;
  int message_box(std::string_view text, unsigned style, std::string_view caption) override;
  int metric(Metric which) override;

  Rect host_window_rect() override;
  void repaint_host() override;
  void viewer(std::string_view text) override;
  void cursor(Cursor shape) override;
  void help(std::string_view file, unsigned context) override;
  std::string module_path() override;
  std::string resource_text(int id) override;

  LocalTime now() override;
  std::string real_path(std::string_view windows_path) override;
  bool file_exists(std::string_view windows_path) override;

 private:
  HINSTANCE instance() const;
  HWND host_window() const;

  const Module* module_ = nullptr;
};

}  // namespace veltrum::win32
