#include "headless/headless_host.hpp"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <stdexcept>

#include "frame/messages.hpp"
#include "headless/codepage.hpp"

namespace veltrum::headless {

namespace fs = std::filesystem;

// ---- the dialog ------------------------------------------------------------------------------

HeadlessDialog::HeadlessDialog(const DialogTemplate& tmpl, Rect rect, bool refuse_long_input)
    : name_(tmpl.name), caption_(tmpl.caption), rect_(rect), refuse_long_input_(refuse_long_input) {
  for (const auto& c : tmpl.controls) {
    if (c.id < 0) continue;
    ControlState s;
    s.tmpl = c;
    if (c.kind != ControlKind::edit && c.kind != ControlKind::combo_box && c.kind != ControlKind::list_box)
      s.text = c.text;
    controls_[c.id] = s;
  }
}

const ControlState& HeadlessDialog::control(int id) const {
  const auto it = controls_.find(id);
  if (it == controls_.end()) throw std::out_of_range("dialog " + name_ + " has no control " + std::to_string(id));
  return it->second;
}

ControlState& HeadlessDialog::state(int id) { return const_cast<ControlState&>(control(id)); }

// A missing control behaves as Windows does for a bad id: reads give nothing, writes do nothing.
std::string HeadlessDialog::text(int id, int limit) const {
  if (!has_control(id) || limit <= 0) return {};
  const ControlState& c = control(id);
  if (refuse_long_input_ && c.typed && c.text.size() > static_cast<std::size_t>(limit)) throw LongInput{id, limit};
  return c.text.substr(0, static_cast<std::size_t>(limit));
}

void HeadlessDialog::set_text(int id, std::string_view text) {
  if (!has_control(id)) return;
  state(id).text = std::string(text);
  state(id).all_selected = false;
  state(id).typed = false;
}

void HeadlessDialog::mark_typed(int id, const script::Action& by) {
  if (!has_control(id)) return;
  state(id).typed = true;
  state(id).typed_by = by;
}

void HeadlessDialog::focus(int id) {
  if (has_control(id)) focus_ = id;
}

void HeadlessDialog::select_text(int id) {
  if (has_control(id)) state(id).all_selected = true;
}

void HeadlessDialog::enable(int id, bool on) {
  if (has_control(id)) state(id).enabled = on;
}

void HeadlessDialog::clear_items(int id) {
  if (!has_control(id)) return;
  auto& s = state(id);
  s.items.clear(), s.selected.clear(), s.selection = -1;
}

void HeadlessDialog::insert_item(int id, int position, std::string_view text) {
  if (!has_control(id)) return;
  auto& s = state(id);
  const auto at =
      position < 0 || position > static_cast<int>(s.items.size()) ? s.items.size() : static_cast<std::size_t>(position);
  s.items.insert(s.items.begin() + static_cast<std::ptrdiff_t>(at), std::string(text));
  s.selected.insert(s.selected.begin() + static_cast<std::ptrdiff_t>(at), false);
}

int HeadlessDialog::item_count(int id) const {
  return has_control(id) ? static_cast<int>(control(id).items.size()) : 0;
}

int HeadlessDialog::selection(int id) const { return has_control(id) ? control(id).selection : -1; }

void HeadlessDialog::select(int id, int position) {
  if (!has_control(id)) return;
  auto& s = state(id);
  s.selection = position >= 0 && position < static_cast<int>(s.items.size()) ? position : -1;
  if (s.tmpl.kind == ControlKind::combo_box) s.text = s.selection >= 0 ? s.items[s.selection] : "";
}

void HeadlessDialog::close_dropdown(int id) {
  if (has_control(id)) state(id).dropped = false;
}

bool HeadlessDialog::item_selected(int id, int position) const {
  if (!has_control(id)) return false;
  const auto& s = control(id);
  return position >= 0 && position < static_cast<int>(s.selected.size()) && s.selected[position];
}

void HeadlessDialog::set_item_selected(int id, int position, bool on) {
  if (!has_control(id)) return;
  auto& s = state(id);
  if (position >= 0 && position < static_cast<int>(s.selected.size())) s.selected[position] = on;
}

bool HeadlessDialog::checked(int id) const { return has_control(id) && control(id).checked; }

void HeadlessDialog::check(int id, bool on) {
  if (has_control(id)) state(id).checked = on;
}

void HeadlessDialog::move(int x, int y) {
  const int w = rect_.width(), h = rect_.height();
  rect_ = {x, y, x + w, y + h};
}

void HeadlessDialog::end(int result) {
  if (!result_) result_ = result;
}

// ---- the host --------------------------------------------------------------------------------

std::string default_drive_c() {
  if (const char* d = std::getenv("VELTRUM_DRIVE_C"); d && *d) return d;
  if (const char* s = std::getenv("XDG_STATE_HOME"); s && *s) return std::string(s) + "/veltrum/C";
  if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + "/.local/state/veltrum/C";
  return "veltrum-C";
}

HeadlessHost::HeadlessHost(Settings settings)
    : settings_(std::move(settings)), templates_(module_templates()), strings_(module_strings()) {
  if (settings_.drive_c.empty()) settings_.drive_c = default_drive_c();
}

std::string HeadlessHost::resource_text(int id) {
  const auto it = strings_.find(id);
  return it == strings_.end() ? std::string() : it->second;
}

void HeadlessHost::start_over() {
  actions_.clear();
  messages_.clear(), viewer_calls_.clear(), dialogs_shown_.clear(), help_calls_.clear(), problems_.clear();
  refusals_.clear();
  repaints_ = 0;
  cursor_ = Cursor::arrow;
}

void HeadlessHost::add_actions(std::deque<script::Action> actions) {
  for (auto& a : actions) actions_.push_back(std::move(a));
}

int HeadlessHost::dialog(std::string_view template_name, DialogProcedure& procedure) {
  const auto it = templates_.find(template_name);
  if (it == templates_.end()) throw std::logic_error("no dialog template " + std::string(template_name));
  const DialogTemplate& t = it->second;
  // Window size from dialog units with the base units of MS Sans Serif 8 (6 x 13 pixels),
  // plus a thin frame and the caption.
  const int width = t.cx * 6 / 4 + 6;
  const int height = t.cy * 13 / 8 + 6 + settings_.caption_height;
  HeadlessDialog d(t, Rect{t.x, t.y, t.x + width, t.y + height}, settings_.refuse_long_input);
  dialogs_shown_.push_back(t.name);
  procedure.init(d);

  script::Action last;
  last.verb = script::Verb::escape;
  while (!d.ended()) {
    if (actions_.empty()) {
      if (last.verb == script::Verb::enter || last.verb == script::Verb::type) {
        const bool typed = d.has_control(d.focused()) && d.control(d.focused()).typed;
        refusals_.push_back(
            {Refusal::left_open, t.name, d.focused(), 0, typed ? d.control(d.focused()).typed_by : last, typed});
      }
      // Nobody left at the keyboard: the dialog is cancelled like a user would with Escape.
      procedure.command(d, 2);
      if (!d.ended()) {
        problems_.push_back("dialog " + t.name + " did not close on Escape");
        d.end(0);
      }
      break;
    }
    const script::Action action = actions_.front();
    actions_.pop_front();
    try {
      perform(d, procedure, action);
    } catch (const LongInput& cut) {
      // Cancelled without reading on, the rest of the script with it.
      refusals_.push_back({Refusal::long_input, t.name, cut.id, cut.limit, d.control(cut.id).typed_by});
      actions_.clear();
      d.end(0);
      break;
    }
    last = action;
    if (on_action) on_action(d, action);
  }
  return d.result();
}

void HeadlessHost::perform(HeadlessDialog& d, DialogProcedure& procedure, const script::Action& a) {
  using script::Verb;
  const auto problem = [&](const std::string& why) {
    problems_.push_back(script::where(a) + " (" + script::printable(script::to_string(a)) + "): " + why);
  };
  const bool needs_control = a.verb != Verb::enter && a.verb != Verb::escape && a.verb != Verb::answer;
  if (needs_control && !d.has_control(a.id)) return problem("dialog " + d.template_name() + " has no such control");
  const ControlKind kind = needs_control ? d.control(a.id).tmpl.kind : ControlKind::static_text;
  switch (a.verb) {
    case Verb::type:
      if (kind != ControlKind::edit && kind != ControlKind::combo_box) return problem("not an edit field");
      d.focus(a.id);
      d.set_text(a.id, utf8_to_cp1252(a.text));
      d.mark_typed(a.id, a);
      break;
    case Verb::pick:
      if (kind != ControlKind::combo_box && kind != ControlKind::list_box) return problem("not a list");
      if (a.index < 0 || a.index >= d.item_count(a.id)) return problem("no such entry");
      d.select(a.id, a.index);
      break;
    case Verb::choose: {
      const auto wanted = utf8_to_cp1252(a.text);
      const auto& items = d.control(a.id).items;
      for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == wanted) return d.select(a.id, static_cast<int>(i));
      return problem("no entry with that text");
    }
    case Verb::select:
    case Verb::unselect:
      if (kind != ControlKind::list_box || !d.control(a.id).tmpl.multi_select)
        return problem("not a multi-selection list box");
      if (a.index < 0 || a.index >= d.item_count(a.id)) return problem("no such entry");
      d.set_item_selected(a.id, a.index, a.verb == Verb::select);
      break;
    case Verb::tick:
    case Verb::untick:
      if (kind != ControlKind::check_box) return problem("not a check box");
      d.check(a.id, a.verb == Verb::tick);
      procedure.command(d, a.id);
      break;
    case Verb::press:
      if (kind != ControlKind::button) return problem("not a button");
      if (!d.control(a.id).enabled) return problem("the control is disabled");
      procedure.command(d, a.id);
      break;
    case Verb::enter:
      procedure.command(d, 1);
      break;
    case Verb::escape:
      procedure.command(d, 2);
      break;
    case Verb::answer:
      return problem("no message box to answer");
  }
}

int HeadlessHost::message_box(std::string_view text, unsigned style, std::string_view caption) {
  MessageRecord m{std::string(caption), std::string(text), style, 1};
  const bool yes_no = (style & 0xF) == 4;
  int answer = yes_no ? (settings_.default_yes ? answer_yes : answer_no) : answer_ok;
  if (!actions_.empty() && actions_.front().verb == script::Verb::answer) {
    const std::string& said = actions_.front().text;
    if (yes_no && (said == "yes" || said == "no"))
      answer = said == "yes" ? answer_yes : answer_no;
    else if (!yes_no && said != "ok")
      problems_.push_back(script::where(actions_.front()) + ": '" + said + "' does not answer an OK box");
    actions_.pop_front();
  }
  m.answer = answer;
  messages_.push_back(m);
  if (on_message) on_message(m);
  return answer;
}

int HeadlessHost::metric(Metric which) {
  switch (which) {
    case Metric::screen_width:
      return settings_.screen_width;
    case Metric::screen_height:
      return settings_.screen_height;
    case Metric::caption_height:
      return settings_.caption_height;
  }
  return 0;
}

void HeadlessHost::viewer(std::string_view text) {
  viewer_calls_.emplace_back(text);
  if (on_viewer) on_viewer(viewer_calls_.back());
}

void HeadlessHost::help(std::string_view file, unsigned context) {
  help_calls_.push_back(std::string(file) + "|" + std::to_string(context));
}

LocalTime HeadlessHost::now() {
  if (settings_.fixed_time) return *settings_.fixed_time;
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch)
    if (const auto t = time_from_epoch(epoch)) return *t;
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

std::optional<LocalTime> time_from_epoch(std::string_view seconds) {
  // 9999-12-31 23:59:59 UTC: the report's date has four places for the year.
  constexpr long long last = 253402300799LL;
  long long s = 0;
  if (seconds.empty() || seconds.size() > 12 || seconds.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  for (const char c : seconds) s = s * 10 + (c - '0');
  if (s > last) return std::nullopt;
  // The calendar in 64-bit seconds, whatever the width of time_t (32 bits on i686 Linux).
  namespace ch = std::chrono;
  const ch::sys_seconds instant{ch::seconds{s}};
  const auto day = ch::floor<ch::days>(instant);
  const ch::year_month_day date{day};
  const ch::hh_mm_ss time{instant - day};
  return LocalTime{static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                   static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(time.hours().count()),
                   static_cast<int>(time.minutes().count())};
}

// The module's paths are Windows-1252, the file system's UTF-8.
std::string HeadlessHost::real_path(std::string_view windows_path) {
  if (const auto file = settings_.files.find(std::string(windows_path)); file != settings_.files.end())
    return file->second;
  return path_under(settings_.drive_c, windows_path);
}

std::string path_under(const std::string& drive_c, std::string_view windows_path) {
  if (windows_path.size() < 3 || (windows_path[0] != 'C' && windows_path[0] != 'c') || windows_path[1] != ':' ||
      windows_path[2] != '\\')
    return cp1252_to_utf8(windows_path);
  std::string rest = cp1252_to_utf8(windows_path.substr(3));
  for (auto& c : rest)
    if (c == '\\') c = '/';
  // Windows drops trailing dots and blanks from a file name.
  while (!rest.empty() && (rest.back() == '.' || rest.back() == ' ')) rest.pop_back();
  std::error_code ec;
  fs::create_directories(drive_c, ec);
  return (fs::path(drive_c) / rest).string();
}

bool HeadlessHost::file_exists(std::string_view windows_path) {
  if (windows_path.empty()) return false;
  std::error_code ec;
  return fs::is_regular_file(real_path(windows_path), ec);
}

}  // namespace veltrum::headless
