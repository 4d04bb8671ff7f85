// The Host and DialogWindow for Linux: dialogs built from the module's templates and worked by a
// script of user actions; message boxes, viewer calls and help requests recorded.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "frame/host.hpp"
#include "headless/script.hpp"
#include "headless/templates.hpp"

namespace veltrum::headless {

struct ControlState {
  ControlTemplate tmpl;
  std::string text;
  std::vector<std::string> items;
  std::vector<bool> selected;  // multi-selection list boxes
  int selection = -1;
  bool checked = false;
  bool enabled = true;
  bool dropped = false;
  bool all_selected = false;  // edit fields: the whole text is selected
  bool typed = false;         // edit fields: the text was typed by a script action,
  script::Action typed_by;    // this one
};

// Thrown by a dialog that reads a typed text cut to the length the module takes from its field,
// when the host refuses such texts (Settings::refuse_long_input).
struct LongInput {
  int id = 0, limit = 0;
};

class HeadlessDialog : public DialogWindow {
 public:
  HeadlessDialog(const DialogTemplate& tmpl, Rect rect, bool refuse_long_input = false);

  std::string text(int id, int limit) const override;
  void set_text(int id, std::string_view text) override;
  void set_caption(std::string_view caption) override { caption_ = caption; }
  void focus(int id) override;
  // The text of edit field `id` was typed by `by` (setting the text by the module clears the mark).
  void mark_typed(int id, const script::Action& by);
  void kill_focus(int) override {}
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
  Rect window_rect() const override { return rect_; }
  void move(int x, int y) override;
  void end(int result) override;

  const std::string& caption() const { return caption_; }
  const std::string& template_name() const { return name_; }
  int focused() const { return focus_; }
  // The focused edit field when its whole text is selected, or -1.
  int selected_text() const { return has_control(focus_) && control(focus_).all_selected ? focus_ : -1; }
  // Whether the whole text of an edit field is selected (a selection outlives the focus).
  bool text_selected(int id) const { return has_control(id) && control(id).all_selected; }
  bool ended() const { return result_.has_value(); }
  int result() const { return result_.value_or(0); }
  bool has_control(int id) const { return controls_.count(id) != 0; }
  const ControlState& control(int id) const;

 private:
  ControlState& state(int id);
  std::string name_, caption_;
  std::map<int, ControlState> controls_;
  Rect rect_;
  int focus_ = -1;
  std::optional<int> result_;
  bool refuse_long_input_ = false;
};

struct MessageRecord {
  std::string caption, text;  // Windows-1252
  unsigned style = 0;
  int answer = 0;
};

struct Settings {
  std::string drive_c;  // the directory that stands for "C:\"
  Rect host_window{0, 0, 640, 480};
  int screen_width = 1024, screen_height = 768, caption_height = 18;
  bool default_yes = false;             // answer to Yes/No questions the script does not answer
  std::optional<LocalTime> fixed_time;  // otherwise SOURCE_DATE_EPOCH, otherwise the clock
  std::string module_path = "C:\\Kalvo\\VELTRUM.DLL";
  // A typed text longer than the module takes from its field cancels the dialog (LongInput) instead
  // of being cut: on a terminal nobody sees what the field holds.
  bool refuse_long_input = false;
  // Paths the module is given (Windows-1252) that stand for other real files: the command line
  // names a converted table by the name the user gave.
  std::map<std::string, std::string> files;
};

// The local time of SOURCE_DATE_EPOCH (seconds since 1970, UTC), or nothing when it is not a whole
// number of seconds from 1970 to the end of 9999.
std::optional<LocalTime> time_from_epoch(std::string_view seconds);

// What the host saw that the script did not lead to: a typed text too long for its field, or a
// dialog left open after the last action (then cancelled with Escape), with the focused control.
struct Refusal {
  enum Kind { long_input, left_open } kind = left_open;
  std::string dialog;     // template name
  int id = -1;            // the field that was too long, or the focused control
  int limit = 0;          // long_input: the length the module takes
  script::Action action;  // the action that typed the field's text; left_open: the last action when
                          // the focused control holds nothing typed
  bool typed = false;     // left_open: the focused control holds a typed text
};

// "C:\" of the headless host: $VELTRUM_DRIVE_C, else $XDG_STATE_HOME/veltrum/C, else
// $HOME/.local/state/veltrum/C.
std::string default_drive_c();

// The real path of a path the module uses (Windows-1252): one under "C:\\" lies in `drive_c`
// (created when missing), without the trailing dots and blanks Windows drops; others are the
// path itself in UTF-8.
std::string path_under(const std::string& drive_c, std::string_view windows_path);

class HeadlessHost : public Host {
 public:
  explicit HeadlessHost(Settings settings = {});

  // Actions to play; a dialog that finds none left is cancelled.
  void add_actions(std::deque<script::Action> actions);
  bool actions_left() const { return !actions_.empty(); }
  // Drops the actions not played yet (the open dialog is then cancelled).
  void drop_actions() { actions_.clear(); }
  // Forgets the actions, messages, viewer calls, dialogs, refusals and problems recorded, as a
  // host made anew would have none (the templates parsed once serve on).
  void start_over();
  const std::vector<Refusal>& refusals() const { return refusals_; }

  // Hooks: every message box, every viewer call, and the dialog after each action it takes.
  std::function<void(const MessageRecord&)> on_message;
  std::function<void(const std::string& text)> on_viewer;
  std::function<void(const HeadlessDialog&, const script::Action&)> on_action;

  const std::vector<MessageRecord>& messages() const { return messages_; }
  const std::vector<std::string>& viewer_calls() const { return viewer_calls_; }
  const std::vector<std::string>& dialogs_shown() const { return dialogs_shown_; }
  const std::vector<std::string>& help_calls() const { return help_calls_; }
  // Script actions that could not be carried out (unknown control, answer without a box, ...).
  const std::vector<std::string>& problems() const { return problems_; }
  int repaints() const { return repaints_; }
  Cursor current_cursor() const { return cursor_; }
  const Settings& settings() const { return settings_; }

  int dialog(std::string_view template_name, DialogProcedure& procedure) override;
  int message_box(std::string_view text, unsigned style, std::string_view caption) override;
  int metric(Metric which) override;
  Rect host_window_rect() override { return settings_.host_window; }
  void repaint_host() override { ++repaints_; }
  void viewer(std::string_view text) override;
  void cursor(Cursor shape) override { cursor_ = shape; }
  void help(std::string_view file, unsigned context) override;
  std::string module_path() override { return settings_.module_path; }
  std::string resource_text(int id) override;
  LocalTime now() override;
  std::string real_path(std::string_view windows_path) override;
  bool file_exists(std::string_view windows_path) override;

 private:
  void perform(HeadlessDialog& dialog, DialogProcedure& procedure, const script::Action& action);

  Settings settings_;
  std::map<std::string, DialogTemplate, std::less<>> templates_;
  std::map<int, std::string> strings_;
  std::deque<script::Action> actions_;
  std::vector<MessageRecord> messages_;
  std::vector<std::string> viewer_calls_, dialogs_shown_, help_calls_, problems_;
  std::vector<Refusal> refusals_;
  int repaints_ = 0;
  Cursor cursor_ = Cursor::arrow;
};

}  // namespace veltrum::headless
