// The page's dialog sessions.  A browser cannot wait inside a dialog of a synchronous module, so a
// session is replayed: the user's actions so far are played from the start on the headless host,
// and the run stops where the next input is wanted, at a dialog that has no actions left or at a
// Yes/No question nobody answered yet.  What the run showed up to there (message boxes, the
// report, the result value) and the waiting dialog's controls go back to the page as JSON.
#include <emscripten.h>

#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "data_input.hpp"
#include "frame/dispatch.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "headless/codepage.hpp"
#include "headless/headless_host.hpp"
#include "json/run_document.hpp"
#include "veltrum.hpp"

namespace {

using nlohmann::json;
using veltrum::cp1252_to_utf8;
using namespace veltrum::headless;

const char* kind_name(ControlKind kind) {
  switch (kind) {
    case ControlKind::button:
      return "button";
    case ControlKind::check_box:
      return "check_box";
    case ControlKind::edit:
      return "edit";
    case ControlKind::combo_box:
      return "combo_box";
    case ControlKind::list_box:
      return "list_box";
    case ControlKind::static_text:
      return "static";
    case ControlKind::group_box:
      return "group_box";
  }
  return "static";
}

json utf8_list(const std::vector<std::string>& texts) {
  json list = json::array();
  for (const auto& t : texts) list.push_back(cp1252_to_utf8(t));
  return list;
}

// The state of a dialog waiting for the user: what the page draws over the template.
json dialog_state(const HeadlessDialog& d, const std::vector<ControlTemplate>& controls) {
  json state = {{"kind", "dialog"},
                {"template", d.template_name()},
                {"caption", cp1252_to_utf8(d.caption())},
                {"focused", d.focused()}};
  json list = json::array();
  for (const auto& c : controls) {
    if (c.id < 0 || !d.has_control(c.id)) continue;
    const ControlState& s = d.control(c.id);
    json selected = json::array();
    for (std::size_t i = 0; i < s.selected.size(); ++i)
      if (s.selected[i]) selected.push_back(i);
    list.push_back({{"id", c.id},
                    {"text", cp1252_to_utf8(s.text)},
                    {"items", utf8_list(s.items)},
                    {"selection", s.selection},
                    {"selected", selected},
                    {"checked", s.checked},
                    {"enabled", s.enabled}});
  }
  state["controls"] = list;
  return state;
}

// The host of a replayed session: the headless host, stopped at the first input nobody gave yet.
class ReplayHost : public HeadlessHost {
 public:
  explicit ReplayHost(Settings settings) : HeadlessHost(std::move(settings)), templates_(module_templates()) {
    on_action = [this](const HeadlessDialog& d, const veltrum::script::Action&) {
      if (!waiting_ && !actions_left() && !d.ended()) waiting_ = dialog_state(d, controls(d.template_name()));
    };
  }

  int dialog(std::string_view name, veltrum::DialogProcedure& procedure) override {
    const auto it = templates_.find(name);
    if (actions_left() || it == templates_.end()) return HeadlessHost::dialog(name, procedure);
    // A dialog opened with no actions left waits for the user as the module filled it; then it is
    // cancelled, as the user would leave it with Escape, and the run goes no further.
    HeadlessDialog d(it->second, {0, 0, 0, 0});
    procedure.init(d);
    if (!waiting_) waiting_ = dialog_state(d, it->second.controls);
    procedure.command(d, 2);
    if (!d.ended()) d.end(0);
    return d.result();
  }

  int message_box(std::string_view text, unsigned style, std::string_view caption) override {
    const bool yes_no = (style & 0xF) == 4;
    if (!waiting_ && yes_no && !actions_left()) {
      waiting_ = {
          {"kind", "message"}, {"caption", cp1252_to_utf8(caption)}, {"text", cp1252_to_utf8(text)}, {"style", style}};
      return veltrum::answer_no;  // the run goes no further than this question
    }
    if (waiting_) return yes_no ? veltrum::answer_no : veltrum::answer_ok;
    const int answer = HeadlessHost::message_box(text, style, caption);
    shown_.push_back(
        {{"caption", cp1252_to_utf8(caption)}, {"text", cp1252_to_utf8(text)}, {"style", style}, {"answer", answer}});
    return answer;
  }

  void viewer(std::string_view text) override {
    if (!waiting_) HeadlessHost::viewer(text);
  }

  const std::optional<json>& waiting() const { return waiting_; }
  const json& shown() const { return shown_; }

 private:
  const std::vector<ControlTemplate>& controls(const std::string& name) const {
    static const std::vector<ControlTemplate> none;
    const auto it = templates_.find(name);
    return it == templates_.end() ? none : it->second.controls;
  }

  std::map<std::string, DialogTemplate, std::less<>> templates_;
  std::optional<json> waiting_;
  json shown_ = json::array();
};

veltrum::script::Action action_from(const json& a) {
  using veltrum::script::Verb;
  static const std::map<std::string, Verb> verbs = {
      {"type", Verb::type},         {"pick", Verb::pick},     {"choose", Verb::choose}, {"select", Verb::select},
      {"unselect", Verb::unselect}, {"tick", Verb::tick},     {"untick", Verb::untick}, {"press", Verb::press},
      {"enter", Verb::enter},       {"escape", Verb::escape}, {"answer", Verb::answer}};
  const auto verb = verbs.find(a.value("verb", ""));
  if (verb == verbs.end()) throw std::invalid_argument("unknown action " + a.dump());
  veltrum::script::Action action;
  action.verb = verb->second;
  action.id = a.value("id", 0);
  action.index = a.value("index", 0);
  action.text = a.value("text", "");
  action.origin = "the page";
  return action;
}

// The viewer's text is the file's path immediately followed by the window rectangle.
std::string viewer_path(const std::string& text) {
  const auto slash = text.rfind('\\');
  const auto dot = text.find('.', slash == std::string::npos ? 0 : slash);
  return dot == std::string::npos ? text : text.substr(0, dot + 1);
}

// One replay: {letter, data (a file name in the working folder, or ""), data_format, sep, decimal,
// encoding, actions: [{verb, id, index, text}]}.
json replay(const json& request) {
  const std::string letter = request.value("letter", "");
  const veltrum::CatalogueEntry* test = veltrum::find_test(veltrum::test_catalogue(), letter);
  if (!test || !test->entry) return {{"ok", false}, {"error", "unknown letter '" + letter + "'"}};

  veltrum::cli::CommonOptions common;
  common.data_file = test->needs_data_file ? request.value("data", "") : "";
  veltrum::cli::DataOptions options;
  options.format = request.value("data_format", "");
  options.separator = request.value("sep", "");
  options.decimal = request.value("decimal", "");
  options.encoding = request.value("encoding", "");
  std::string data_file = veltrum::utf8_to_cp1252(common.data_file);
  veltrum::cli::DataInput data_input;
  if (data_input.prepare(common, options, true, data_file) != 0)
    return {{"ok", false}, {"error", "the data file cannot be read"}};

  Settings settings;
  data_input.name_files(settings);
  ReplayHost host(settings);
  std::deque<veltrum::script::Action> actions;
  for (const auto& a : request.value("actions", json::array())) actions.push_back(action_from(a));
  host.add_actions(std::move(actions));

  veltrum::json::RunDocument document(request.value("data", ""));
  if (const auto& table = data_input.table())
    for (std::size_t c = 0; c < table->columns.size(); ++c)
      if (table->columns[c].text) document.label_groups(static_cast<int>(c) + 1, table->columns[c].labels);
  std::string report_path;
  host.on_viewer = [&](const std::string& text) { report_path = host.real_path(viewer_path(text)); };
  host.on_message = [&](const MessageRecord& m) { document.message(m.caption, m.text); };
  {
    veltrum::Module module(host);
    module.result_sink = &document;
    veltrum::libmain(module, 0);
    veltrum::run_veltrum(module, 1, data_file, letter);
  }
  const bool reported = !report_path.empty();
  json result = {{"ok", true},
                 {"messages", host.shown()},
                 {"report_path", report_path},
                 {"problems", host.problems()},
                 {"waiting", host.waiting() ? *host.waiting() : json(nullptr)}};
  // The document as the command line writes it, parsed by the worker.
  if (reported) result["json_text"] = document.text(test, true);
  return result;
}

}  // namespace

extern "C" {

// Every dialog template of the resource script and the catalogue's letters, as JSON (UTF-8); the
// text lives until the next call.
EMSCRIPTEN_KEEPALIVE const char* veltrum_templates() {
  static std::string text;
  json dialogs = json::object();
  for (const auto& [name, t] : module_templates()) {
    json controls = json::array();
    for (const auto& c : t.controls)
      controls.push_back({{"kind", kind_name(c.kind)},
                          {"id", c.id},
                          {"text", cp1252_to_utf8(c.text)},
                          {"multi_select", c.multi_select},
                          {"rect", {c.x, c.y, c.cx, c.cy}}});
    dialogs[name] = {{"caption", cp1252_to_utf8(t.caption)},
                     {"rect", {t.x, t.y, t.cx, t.cy}},
                     {"font", t.font},
                     {"font_size", t.font_size},
                     {"style", t.style},
                     {"controls", controls}};
  }
  json letters = json::array();
  for (const auto& test : veltrum::test_catalogue())
    if (test.entry)
      letters.push_back({{"letter", test.letter},
                         {"title", cp1252_to_utf8(test.title)},
                         {"template", test.dialog_template},
                         {"needs_data_file", test.needs_data_file}});
  text = json{{"dialogs", dialogs}, {"letters", letters}}.dump(-1, ' ', false, json::error_handler_t::replace);
  return text.c_str();
}

// One replayed session (see replay); the JSON text lives until the next call.
EMSCRIPTEN_KEEPALIVE const char* veltrum_session(const char* request) {
  static std::string text;
  json result;
  try {
    result = replay(json::parse(request));
  } catch (const std::exception& e) {
    result = {{"ok", false}, {"error", e.what()}};
  }
  text = result.dump(-1, ' ', false, json::error_handler_t::replace);
  return text.c_str();
}
}
