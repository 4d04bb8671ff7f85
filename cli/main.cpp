// veltrum: the module's tests on the command line.  Each option is typed or picked in the test's
// dialog as a user would, then "&Rechnen" is pressed; the report is written and shown, and the
// dialog that comes back is cancelled.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "frame/dispatch.hpp"
#include "frame/module.hpp"
#include "headless/codepage.hpp"
#include "headless/headless_host.hpp"
#include "headless/script.hpp"
#include "json/run_document.hpp"
#include "letters.hpp"

namespace {

using veltrum::script::Action;
using veltrum::script::Verb;

constexpr int exit_report = 0, exit_no_report = 1, exit_usage = 2;

struct Options {
  std::string report_copy, script_file, json_file;
  bool raw = false, quiet = false, yes = false, print_script = false;
};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The viewer's text is the file's path immediately followed by the window rectangle; the path
// ends at the first "." after its last "\".
std::string viewer_path(const std::string& text) {
  const auto slash = text.rfind('\\');
  const auto dot = text.find('.', slash == std::string::npos ? 0 : slash);
  return dot == std::string::npos ? text : text.substr(0, dot + 1);
}

std::string for_terminal(std::string_view cp1252) {
  std::string text;
  for (std::size_t i = 0; i < cp1252.size(); ++i) {
    if (cp1252[i] == '\r' && i + 1 < cp1252.size() && cp1252[i + 1] == '\n') continue;
    text += cp1252[i] == '\r' ? '\n' : cp1252[i];
  }
  return veltrum::cp1252_to_utf8(text);
}

// A message for the terminal: control characters shown as \xNN.
std::string shown(std::string_view text) { return veltrum::script::printable(text); }

// The letters of this build, "H, M, A, ...".
std::string letter_list() {
  std::string list;
  for (const auto& test : veltrum::test_catalogue())
    if (test.entry) list += (list.empty() ? "" : ", ") + std::string(test.letter);
  return list;
}

// The first word of the command line that is neither an option, an option's value nor a letter.
std::string unknown_letter(CLI::App& app, int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word.rfind("-", 0) == 0) {
      const auto* option = word.find('=') == std::string::npos ? app.get_option_no_throw(word) : nullptr;
      if (option && option->get_type_size() != 0) ++i;  // its value follows
      continue;
    }
    try {
      app.get_subcommand(word);
      return {};
    } catch (const CLI::OptionNotFound&) {
      return word;
    }
  }
  return {};
}

// What the host saw the dialog refuse, said in terms of the command line.
std::string refusal_text(const veltrum::headless::Refusal& r, const veltrum::CatalogueEntry* test, bool from_script) {
  using veltrum::headless::Refusal;
  const std::string option = test && !from_script ? veltrum::cli::option_for(*test, r.id) : std::string();
  if (r.kind == Refusal::long_input) {
    const std::string who = option.empty() ? veltrum::script::where(r.action) : option;
    return who + ": \"" + shown(r.action.text) + "\" is longer than the dialog's field takes (" +
           std::to_string(r.limit) + " characters)";
  }
  if (!option.empty() && r.typed) return "the dialog did not accept " + option + " \"" + shown(r.action.text) + "\"";
  if (!option.empty()) return "the dialog needs a value for " + option;
  return "the dialog " + r.dialog + " did not accept the input (after " + shown(veltrum::script::where(r.action)) +
         ") and was cancelled";
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "veltrum - distribution-free tests with German reports.\n"
      "Runs one test as a user would through its dialog: each option is typed or picked in the\n"
      "dialog, then \"&Rechnen\" is pressed; the report is written to C:\\Ausgabe (the directory\n"
      "standing for C:\\ is $VELTRUM_DRIVE_C, default $HOME/.local/state/veltrum/C) and shown.\n"
      "Messages go to standard error as 'CAPTION: text'.\n"
      "Exit status: 0 a report was shown, 1 the test ended without a report, 2 wrong usage.",
      "veltrum"};
  app.require_subcommand(1);
  app.fallthrough();

  Options opt;
  app.add_option("--report", opt.report_copy, "Also copy the report file to FILE")->type_name("FILE");
  app.add_flag("--raw", opt.raw, "Show the report's bytes unchanged (Windows-1252, CR LF)");
  app.add_flag("--quiet", opt.quiet, "Show nothing; only write the report file");
  app.add_option("--json", opt.json_file,
                 "Write the run's results as one JSON document to FILE ('-': standard output, which then shows "
                 "nothing else)")
      ->type_name("FILE|-");
  app.add_flag("--yes", opt.yes, "Answer Yes to Yes/No questions (default: No)");
  app.add_flag("--print-script", opt.print_script,
               "Print the dialog actions the options stand for, as a --script file, and run nothing");
  app.add_option("--script", opt.script_file,
                 "Play a recorded session of dialog actions (see the README) instead of the letter's options")
      ->type_name("FILE");

  veltrum::cli::CommonOptions common;
  app.add_option("--data", common.data_file, "The active data file (tests that read one)")->type_name("FILE");

  // One subcommand for every letter available in this build, from its catalogue entry.
  std::vector<veltrum::cli::LetterCommand> letters;
  for (const auto& test : veltrum::test_catalogue())
    if (test.entry) letters.push_back(veltrum::cli::add_letter(app, test));

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    const std::string word = unknown_letter(app, argc, argv);
    if (!word.empty()) {
      std::cerr << "veltrum: unknown letter '" << shown(word) << "'; the letters are " << letter_list() << "\n";
      return exit_usage;
    }
    std::cerr << shown(e.what()) << "\nRun with --help for more information.\n";
    return exit_usage;
  }

  // The JSON document of the run (--json): the result, every message shown, and the outcome; it is
  // written whatever the exit status once the command line has been read.
  veltrum::json::RunDocument document(common.data_file);
  const veltrum::CatalogueEntry* test = nullptr;
  for (const auto& l : letters)
    if (l.command->parsed()) test = l.test;
  bool json_failed = false;
  const auto finish = [&](int status) {
    if (opt.json_file.empty()) return status;
    // A text that is no UTF-8 (a file name or a typed value as given) is written with U+FFFD.
    const std::string text =
        document.document(test, status == exit_report).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
        "\n";
    if (opt.json_file == "-") {
      std::fwrite(text.data(), 1, text.size(), stdout);
      std::fflush(stdout);
    } else {
      std::ofstream out(opt.json_file, std::ios::binary);
      out << text;
      out.close();
      if (!out) {
        std::cerr << "veltrum: cannot write " << shown(opt.json_file) << "\n";
        json_failed = true;
      }
    }
    return json_failed && status == exit_report ? exit_no_report : status;
  };
  // A message of the command line on standard error, kept for the JSON document too.
  const auto say = [&](const std::string& text) {
    std::cerr << "veltrum: " << shown(text) << "\n";
    document.command_line_message(text);
  };

  // Checked before any dialog: a date the report header cannot show, a path the module cannot hold.
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
      epoch && *epoch && !veltrum::headless::time_from_epoch(epoch)) {
    say(std::string("SOURCE_DATE_EPOCH=") + epoch + " is not a whole number of seconds from 1970 to the end of 9999");
    return finish(exit_usage);
  }
  const std::string data_file = veltrum::utf8_to_cp1252(common.data_file);
  if (veltrum::cp1252_to_utf8(data_file) != common.data_file) {
    say("--data: the path \"" + common.data_file +
        "\" has characters the module cannot hold (it takes Windows-1252 only)");
    return finish(exit_usage);
  }

  std::string letter;
  veltrum::cli::Plan plan;
  for (const auto& l : letters) {
    if (!l.command->parsed()) continue;
    letter = std::string(l.test->letter);
    test = l.test;
    try {
      plan = l.actions(common);
    } catch (const CLI::Error& e) {
      say(e.what());
      return finish(exit_usage);
    }
  }
  std::deque<Action>& actions = plan.actions;

  const bool from_script = !opt.script_file.empty();
  if (from_script) {
    try {
      actions = veltrum::script::parse(read_file(opt.script_file));
      plan.checks.clear();
    } catch (const std::exception& e) {
      say(e.what());
      return finish(exit_usage);
    }
  }

  if (opt.print_script) {
    for (const auto& action : actions) std::cout << veltrum::script::to_string(action) << "\n";
    return exit_report;
  }

  veltrum::headless::Settings settings;
  settings.default_yes = opt.yes;
  settings.refuse_long_input = true;
  veltrum::headless::HeadlessHost host(settings);
  const std::vector<veltrum::cli::RowCheck> checks = plan.checks;
  host.add_actions(std::move(actions));

  // A row of entries the dialog refused keeps its text in the fields; the next row would type over
  // it, so the session stops there.
  std::size_t played = 0;
  std::string refused_row;
  host.on_action = [&](const veltrum::headless::HeadlessDialog& d, const Action&) {
    for (const auto& check : checks) {
      if (check.after != played || !refused_row.empty()) continue;
      for (const int field : check.fields)
        if (d.has_control(field) && !d.control(field).text.empty() && !d.ended()) refused_row = check.what;
      if (!refused_row.empty()) host.drop_actions();
    }
    ++played;
  };

  host.on_message = [&](const veltrum::headless::MessageRecord& msg) {
    document.message(msg.caption, msg.text);
    std::string text = msg.text;
    for (auto& c : text)
      if (c == '\r') c = '\n';
    // Other control characters (from a typed text quoted in a message) are shown, not obeyed.
    std::string kept;
    for (const char c : text) kept += c == '\n' ? std::string(1, c) : shown(std::string(1, c));
    text = kept;
    std::cerr << shown(veltrum::cp1252_to_utf8(msg.caption)) << ": " << veltrum::cp1252_to_utf8(text) << "\n";
  };
  bool viewer_failed = false;
  host.on_viewer = [&](const std::string& text) {
    const std::string path = host.real_path(viewer_path(text));
    std::string bytes;
    try {
      bytes = read_file(path);
    } catch (const std::exception& e) {
      say(e.what());
      viewer_failed = true;
      return;
    }
    if (!opt.report_copy.empty()) {
      std::ofstream out(opt.report_copy, std::ios::binary);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      out.close();  // the bytes are on their way only once flushed
      if (!out) std::cerr << "veltrum: cannot write " << shown(opt.report_copy) << "\n", viewer_failed = true;
    }
    if (opt.quiet || opt.json_file == "-") return;
    const std::string shown = opt.raw ? bytes : for_terminal(bytes);
    std::fwrite(shown.data(), 1, shown.size(), stdout);
    std::fflush(stdout);
  };

  veltrum::Module module(host);
  if (!opt.json_file.empty()) module.result_sink = &document;
  veltrum::libmain(module, 0);
  veltrum::run_veltrum(module, 1, data_file, letter);

  for (const auto& p : host.problems()) say(p);
  if (!refused_row.empty()) {
    say("the dialog did not accept " + refused_row);
    return finish(exit_no_report);
  }
  bool too_long = false;
  for (const auto& r : host.refusals()) {
    // A dialog left open after a message has said why already.
    if (r.kind == veltrum::headless::Refusal::left_open && !host.messages().empty()) continue;
    say(refusal_text(r, test, from_script));
    too_long = too_long || r.kind == veltrum::headless::Refusal::long_input;
  }
  if (too_long) return finish(exit_usage);
  if (viewer_failed) return finish(exit_no_report);
  return finish(host.viewer_calls().empty() ? exit_no_report : exit_report);
}
