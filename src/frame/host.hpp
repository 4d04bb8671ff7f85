// The two ports through which the module reaches the world: the Host (one per platform) and the
// DialogWindow (a running modal dialog as its procedure sees it).  The Win32 build implements them
// on USER32/KERNEL32, the headless build with scripted dialogs, tests with their own doubles.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltrum {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

struct LocalTime {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0;
};

enum class Cursor { arrow, wait };

// System metrics of the primary screen, as GetSystemMetrics numbers them.
enum class Metric { screen_width = 0, screen_height = 1, caption_height = 4 };

// The running dialog.  Control texts are Windows-1252 bytes.
class DialogWindow {
 public:
  virtual ~DialogWindow() = default;

  // Text of a control, at most `limit` characters (GetDlgItemText with a buffer of limit + 1).
  virtual std::string text(int id, int limit) const = 0;
  virtual void set_text(int id, std::string_view text) = 0;
  virtual void set_caption(std::string_view caption) = 0;
  virtual void focus(int id) = 0;
  // Tell a control that it lost the focus (WM_KILLFOCUS), so it drops its focus mark.
  virtual void kill_focus(int id) = 0;
  // Select the whole text of an edit field.
  virtual void select_text(int id) = 0;
  virtual void enable(int id, bool on) = 0;

  // Combo boxes and list boxes.
  virtual void clear_items(int id) = 0;
  virtual void insert_item(int id, int position, std::string_view text) = 0;
  virtual int item_count(int id) const = 0;
  virtual int selection(int id) const = 0;  // -1 when nothing is selected
  virtual void select(int id, int position) = 0;
  virtual void close_dropdown(int id) = 0;
  // Multi-selection list boxes.
  virtual bool item_selected(int id, int position) const = 0;
  virtual void set_item_selected(int id, int position, bool on) = 0;

  // Check boxes.
  virtual bool checked(int id) const = 0;
  virtual void check(int id, bool on) = 0;

  // Placement in screen pixels.
  virtual Rect window_rect() const = 0;
  virtual void move(int x, int y) = 0;

  virtual void end(int result) = 0;
};

// A dialog procedure: WM_INITDIALOG and WM_COMMAND of one dialog.
class DialogProcedure {
 public:
  virtual ~DialogProcedure() = default;
  // Returns true when the procedure set the focus itself.
  virtual bool init(DialogWindow& dialog) = 0;
  // Returns true when the command was handled.
  virtual bool command(DialogWindow& dialog, int id) = 0;
};

class Host {
 public:
  virtual ~Host() = default;

  // Runs the named template modally, owned by the host window; returns the value given to end().
  virtual int dialog(std::string_view template_name, DialogProcedure& procedure) = 0;
  // MessageBoxA owned by the foreground window; returns the button (1 OK, 6 Yes, 7 No).
  virtual int message_box(std::string_view text, unsigned style, std::string_view caption) = 0;
  virtual int metric(Metric which) = 0;

  virtual Rect host_window_rect() = 0;
  virtual void repaint_host() = 0;
  // Ausgabe(host window, text) of the viewer library.
  virtual void viewer(std::string_view text) = 0;
  virtual void cursor(Cursor shape) = 0;
  // WinHelpA(host window, file, HELP_CONTEXT, context).
  virtual void help(std::string_view file, unsigned context) = 0;
  // The module's own file path (GetModuleFileNameA), empty when unknown.
  virtual std::string module_path() = 0;
  // A text of the module's string table (LoadStringA), empty when there is none.
  virtual std::string resource_text(int id) = 0;

  virtual LocalTime now() = 0;
  // The file system path for a Windows path such as "C:\Ausgabe." (identity on Windows).
  virtual std::string real_path(std::string_view windows_path) = 0;
  virtual bool file_exists(std::string_view windows_path) = 0;
};

}  // namespace veltrum
