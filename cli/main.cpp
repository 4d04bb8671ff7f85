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
#include "letters.hpp"

namespace {

using veltrum::script::Action;
using veltrum::script::Verb;

constexpr int exit_report = 0, exit_no_report = 1, exit_usage = 2;

struct Options {
  std::string report_copy, script_file;
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
    app.exit(e);
    return exit_usage;
  }

  std::string letter;
  std::deque<Action> actions;
  for (const auto& l : letters) {
    if (!l.command->parsed()) continue;
    letter = std::string(l.test->letter);
    try {
      actions = l.actions(common);
    } catch (const CLI::Error& e) {
      std::cerr << "veltrum: " << e.what() << "\n";
      return exit_usage;
    }
  }

  if (!opt.script_file.empty()) {
    try {
      actions = veltrum::script::parse(read_file(opt.script_file));
    } catch (const std::exception& e) {
      std::cerr << "veltrum: " << e.what() << "\n";
      return exit_usage;
    }
  }

  if (opt.print_script) {
    for (const auto& action : actions) std::cout << veltrum::script::to_string(action) << "\n";
    return exit_report;
  }

  veltrum::headless::Settings settings;
  settings.default_yes = opt.yes;
  veltrum::headless::HeadlessHost host(settings);
  host.add_actions(std::move(actions));

  host.on_message = [](const veltrum::headless::MessageRecord& msg) {
    std::string text = msg.text;
    for (auto& c : text)
      if (c == '\r') c = '\n';
    std::cerr << veltrum::cp1252_to_utf8(msg.caption) << ": " << veltrum::cp1252_to_utf8(text) << "\n";
  };
  bool viewer_failed = false;
  host.on_viewer = [&](const std::string& text) {
    const std::string path = host.real_path(viewer_path(text));
    std::string bytes;
    try {
      bytes = read_file(path);
    } catch (const std::exception& e) {
      std::cerr << "veltrum: " << e.what() << "\n";
      viewer_failed = true;
      return;
    }
    if (!opt.report_copy.empty()) {
      std::ofstream out(opt.report_copy, std::ios::binary);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (!out) std::cerr << "veltrum: cannot write " << opt.report_copy << "\n", viewer_failed = true;
    }
    if (opt.quiet) return;
    const std::string shown = opt.raw ? bytes : for_terminal(bytes);
    std::fwrite(shown.data(), 1, shown.size(), stdout);
    std::fflush(stdout);
  };

  veltrum::Module module(host);
  veltrum::libmain(module, 0);
  veltrum::run_veltrum(module, 1, common.data_file, letter);

  for (const auto& p : host.problems()) std::cerr << "veltrum: " << p << "\n";
  if (viewer_failed) return exit_no_report;
  return host.viewer_calls().empty() ? exit_no_report : exit_report;
}
