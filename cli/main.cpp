// veltrum: the module's tests on the command line.  Each option is typed or picked in the test's
// dialog as a user would, then "&Rechnen" is pressed; the report is written and shown, and the
// dialog that comes back is cancelled.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "data_input.hpp"
#include "frame/dispatch.hpp"
#include "frame/module.hpp"
#include "frequency/information.hpp"
#include "headless/codepage.hpp"
#include "headless/headless_host.hpp"
#include "headless/script.hpp"
#include "json/number_text.hpp"
#include "json/run_document.hpp"
#include "letters.hpp"
#include "memory_file.hpp"
#include "private_folder.hpp"
#include "strata.hpp"
#include "veltrum.hpp"

namespace {

using veltrum::script::Action;
using veltrum::script::Verb;

constexpr int exit_report = 0, exit_no_report = 1, exit_usage = 2;

struct Options {
  std::string report_copy, script_file, json_file, by;
  bool raw = false, quiet = false, yes = false, print_script = false;
};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  // In blocks: libc++ copies `<< rdbuf()` one character at a time.
  std::string bytes;
  std::vector<char> block(std::size_t{1} << 16);
  while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)
    bytes.append(block.data(), static_cast<std::size_t>(in.gcount()));
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  return bytes;
}

// The viewer's text is the file's path immediately followed by the window rectangle; the path
// ends at the first "." after its last "\".
std::string viewer_path(const std::string& text) {
  const auto slash = text.rfind('\\');
  const auto dot = text.find('.', slash == std::string::npos ? 0 : slash);
  return dot == std::string::npos ? text : text.substr(0, dot + 1);
}

// A message for the terminal: control characters shown as \xNN.
std::string shown(std::string_view text) { return veltrum::script::printable(text); }

// The report for a terminal: UTF-8, CR LF as LF, and any other control character (from a variable
// name or a keyword) shown as \xNN rather than obeyed.  The report file keeps its bytes.
std::string for_terminal(std::string_view cp1252) {
  std::string text;
  text.reserve(cp1252.size());
  for (std::size_t i = 0; i < cp1252.size(); ++i) {
    const char c = cp1252[i];
    if (c == '\r' && i + 1 < cp1252.size() && cp1252[i + 1] == '\n') continue;
    const auto b = static_cast<unsigned char>(c);
    if (c == '\n' || (b >= 0x20 && b != 0x7F))
      text += c;
    else
      text += shown(cp1252.substr(i, 1));
  }
  return veltrum::cp1252_to_utf8(text);
}

// Standard output: whether a write failed (a full disk, a closed descriptor).
struct Output {
  bool closed = false;  // standard output was closed when veltrum started
  bool failed = false;
  void write(std::string_view bytes) {
    if (bytes.empty()) return;
    failed = failed || closed || std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size();
  }
  // False when anything written to standard output did not get there.
  bool flush() { return !(std::fflush(stdout) != 0 || std::ferror(stdout) || failed); }
};

// A message of the command line on standard error, kept for the run's JSON document too; with
// --by, the stratum's name comes first on standard error ("dose = 0.5: ").
struct Say {
  veltrum::json::RunDocument& document;
  std::string stratum = {};
  void operator()(const std::string& text) const {
    std::cerr << "veltrum: " << shown(stratum) << shown(text) << "\n";
    document.command_line_message(text);
  }
};

// Standard input, output and error closed when veltrum starts are opened on /dev/null, so that no
// file the run opens takes their place (the report would receive what is shown); says whether
// standard output was closed.
bool fill_closed_descriptors() {
  bool output_closed = false;
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1) continue;
    if (open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd) break;
    output_closed = output_closed || fd == 1;
  }
  return output_closed;
}

// Runs sharing a drive C take turns: the lock is held from before the report of an earlier run is
// emptied until this run has shown its own, and released when the process ends.
void take_turn(const std::string& drive_c) {
  std::error_code ec;
  std::filesystem::create_directories(drive_c, ec);
  int fd = open((drive_c + "/.veltrum.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) fd = open(drive_c.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);  // a drive C read-only
  if (fd < 0) return;                                                          // no report can be written there either
  while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
}

// Why the data file cannot serve, or nothing: it is read twice (the header for the dialog, then
// the records), so it must be a regular file, and one with a header line.
std::string data_file_problem(const std::string& real_path) {
  struct stat st {};
  if (stat(real_path.c_str(), &st) != 0) return errno == ENOENT ? "no such file" : std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return "a directory";
  if (!S_ISREG(st.st_mode)) return "not a regular file (a pipe or a device cannot be read twice)";
  if (st.st_size == 0) return "the file is empty";
  const int fd = open(real_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  close(fd);
  return {};
}

// The files the module shows (the report, letter M's text) are emptied before the run, so that
// only what this run writes can be shown; a file that cannot be emptied is remembered as stale.
// With `remove` they are removed instead: a file emptied and written again has the file system
// (ext4) write it out on closing, a wait of milliseconds for each of many runs.
std::set<std::string> empty_earlier_files(veltrum::headless::HeadlessHost& host, bool remove = false) {
  std::set<std::string> stale;
  for (const std::string_view file : {veltrum::report_path, veltrum::information_path}) {
    const std::string path = host.real_path(file);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) continue;
    if (remove && std::filesystem::remove(path, ec)) continue;
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
      stale.insert(path);
    else
      close(fd);
  }
  return stale;
}

// Why the file the viewer was handed is not this run's report, or nothing.
std::string not_written(const std::string& path, const std::set<std::string>& stale) {
  std::error_code ec;
  if (stale.count(path)) return "it is an earlier run's, which could not be replaced";
  if (!std::filesystem::exists(path, ec)) return "it does not exist";
  if (!std::filesystem::is_regular_file(path, ec)) return "not a regular file";
  if (std::filesystem::file_size(path, ec) == 0) return "it is empty";
  return {};
}

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

// The command line: its options, one subcommand for every letter available in this build (from
// its catalogue entry).
struct CommandLine {
  CLI::App app{
      "veltrum - distribution-free tests with German reports.\n"
      "Runs one test as a user would through its dialog: each option is typed or picked in the\n"
      "dialog, then \"&Rechnen\" is pressed; the report is written to C:\\Ausgabe (the directory\n"
      "standing for C:\\ is $VELTRUM_DRIVE_C, default $HOME/.local/state/veltrum/C) and shown.\n"
      "Messages go to standard error as 'CAPTION: text'.\n"
      "Exit status: 0 a report was shown, 1 the test ended without a report, 2 wrong usage.",
      "veltrum"};
  Options opt;
  veltrum::cli::CommonOptions common;
  veltrum::cli::DataOptions data_options;
  std::vector<veltrum::cli::LetterCommand> letters;

  CommandLine() {
    app.require_subcommand(1);
    app.fallthrough();
    app.add_option("--report", opt.report_copy, "Also copy the report file to FILE")->type_name("FILE");
    app.add_flag("--raw", opt.raw, "Show the report's bytes unchanged (Windows-1252, CR LF)");
    app.add_flag("--quiet", opt.quiet, "Show nothing; only write the report file");
    app.add_flag("--yes", opt.yes, "Answer Yes to Yes/No questions (default: No)");
    app.add_flag("--print-script", opt.print_script,
                 "Print the dialog actions the options stand for, as a --script file, and run nothing");
    app.add_option("--script", opt.script_file,
                   "Play a recorded session of dialog actions (see the README) instead of the letter's options")
        ->type_name("FILE");
    app.add_option("--data", common.data_file,
                   "The active data file (tests that read one): the host's data file, or a CSV or TSV table; - reads "
                   "standard input")
        ->type_name("FILE");
    app.add_option("--json", opt.json_file,
                   "Write the run's results as one JSON document to FILE ('-': standard output, which then shows "
                   "nothing else); with --by one line per stratum (JSON Lines)")
        ->type_name("FILE|-");
    app.add_option("--by", opt.by,
                   "Run the test once for each value of the data file's variable VAR (in order of first appearance) "
                   "on the records of that value; each report follows a line '--- Schicht VAR = VALUE ---'")
        ->type_name("VAR");
    veltrum::cli::add_data_options(app, data_options);
    for (const auto& test : veltrum::test_catalogue())
      if (test.entry) letters.push_back(veltrum::cli::add_letter(app, test));
  }

  // The letter chosen, once the command line is parsed.
  const veltrum::CatalogueEntry* chosen() const {
    for (const auto& l : letters)
      if (l.command->parsed()) return l.test;
    return nullptr;
  }
};

// The exit status when parsing ends the run (help, a usage error), or nothing.
std::optional<int> parse(CommandLine& line, int argc, char** argv) {
  try {
    line.app.parse(argc, argv);
    return std::nullopt;
  } catch (const CLI::Success& e) {
    return line.app.exit(e);
  } catch (const CLI::ParseError& e) {
    const std::string word = unknown_letter(line.app, argc, argv);
    if (!word.empty())
      std::cerr << "veltrum: unknown letter '" << shown(word) << "'; the letters are " << letter_list() << "\n";
    else
      std::cerr << shown(e.what()) << "\nRun with --help for more information.\n";
    return exit_usage;
  }
}

// Checked before any dialog: a date the report header cannot show, a path the module cannot hold.
// The data file's name in Windows-1252, or nothing after the usage message.
std::optional<std::string> checked_environment(const veltrum::cli::CommonOptions& common, const Say& say) {
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
      epoch && *epoch && !veltrum::headless::time_from_epoch(epoch)) {
    say(std::string("SOURCE_DATE_EPOCH=") + epoch + " is not a whole number of seconds from 1970 to the end of 9999");
    return std::nullopt;
  }
  std::string data_file = veltrum::utf8_to_cp1252(common.data_file);
  if (veltrum::cp1252_to_utf8(data_file) != common.data_file) {
    say("--data: the path \"" + common.data_file +
        "\" has characters the module cannot hold (it takes Windows-1252 only)");
    return std::nullopt;
  }
  return data_file;
}

// The letter chosen and what its options (or the --script file) stand for.
struct Session {
  const veltrum::CatalogueEntry* test = nullptr;
  veltrum::cli::Plan plan;
  bool from_script = false;
};

// The session of the chosen letter, or nothing after the usage message.
std::optional<Session> planned_session(const CommandLine& line, const Say& say) {
  Session session;
  try {
    for (const auto& l : line.letters) {
      if (!l.command->parsed()) continue;
      session.test = l.test;
      const std::string& data = line.common.data_file;
      if (l.test->needs_data_file && !data.empty()) {
        const std::string why = data_file_problem(
            veltrum::headless::path_under(veltrum::headless::default_drive_c(), veltrum::utf8_to_cp1252(data)));
        if (!why.empty()) throw CLI::ValidationError("--data", "cannot read \"" + data + "\": " + why);
      }
      session.plan = l.actions(line.common);
    }
    session.from_script = !line.opt.script_file.empty();
    if (session.from_script) {
      session.plan.actions = veltrum::script::parse(read_file(line.opt.script_file));
      session.plan.checks.clear();
      if (session.plan.actions.empty())
        throw std::runtime_error("the script " + line.opt.script_file + " holds no actions");
    }
  } catch (const std::exception& e) {
    say(e.what());
    return std::nullopt;
  }
  return session;
}

// A message box on standard error as "CAPTION: text"; control characters other than the line
// ends (from a typed text quoted in a message) are shown, not obeyed.
void show_message(const veltrum::headless::MessageRecord& msg, const std::string& stratum) {
  std::string text;
  for (const char c : msg.text) text += c == '\r' || c == '\n' ? std::string(1, '\n') : shown(std::string(1, c));
  std::cerr << shown(stratum) << shown(veltrum::cp1252_to_utf8(msg.caption)) << ": " << veltrum::cp1252_to_utf8(text)
            << "\n";
}

// Says so on standard error and gives false when standard output did not take everything.
bool output_written(Output& out) {
  if (out.flush()) return true;
  std::cerr << "veltrum: cannot write standard output\n";
  return false;
}

// The line before each stratum's report (UTF-8).
std::string stratum_line(const veltrum::cli::Strata& strata, const veltrum::cli::Stratum& stratum) {
  return "--- Schicht " + strata.variable() + " = " + stratum.value + " ---";
}

// Where a report goes besides the report file: after `heading` (UTF-8, --by's stratum line) when
// there is one, into the --report copy appended to what is there when `append`.  With a heading
// the report's bytes are kept in `last`.
struct Shown {
  std::string heading;
  bool append = false;
  std::string last;
};

// Where --by puts each stratum's files: the real files that the data file's name and the report's
// name stand for (Windows-1252 name -> real path).  `remove_earlier`: the report is a file on disk,
// removed rather than emptied before each stratum.
struct StratumFiles {
  std::map<std::string, std::string> files;
  bool remove_earlier = false;
};

// The viewer: this run's report copied where --report says and shown on standard output (also when
// the copy failed).  False when it is not this run's, could not be read or copied.
bool show_report(const std::string& path, const Options& opt, Output& out, const std::set<std::string>& stale,
                 const Say& say, Shown& shown_as) {
  if (const std::string why = not_written(path, stale); !why.empty()) {
    std::cerr << "veltrum: the report " << shown(path) << " was not written by this run: " << why << "\n";
    return false;
  }
  std::string bytes;
  try {
    bytes = read_file(path);
  } catch (const std::exception& e) {
    say(e.what());
    return false;
  }
  const std::string heading = shown_as.heading.empty() ? "" : veltrum::utf8_to_cp1252(shown_as.heading) + "\r\n";
  bool copied = true;
  if (!opt.report_copy.empty()) {
    std::ofstream copy(opt.report_copy, shown_as.append ? std::ios::binary | std::ios::app : std::ios::binary);
    copy.write(heading.data(), static_cast<std::streamsize>(heading.size()));
    copy.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    copy.close();  // the bytes are on their way only once flushed
    if (!copy) std::cerr << "veltrum: cannot write " << shown(opt.report_copy) << "\n", copied = false;
  }
  if (opt.quiet || opt.json_file == "-") {
    if (!shown_as.heading.empty()) shown_as.last = std::move(bytes);
    return copied;
  }
  out.write(opt.raw ? heading : for_terminal(heading));
  out.write(opt.raw ? bytes : for_terminal(bytes));
  std::fflush(stdout);
  if (!shown_as.heading.empty()) shown_as.last = std::move(bytes);
  return copied;
}

// The host's dialogs play the session; a row of entries the dialog refused keeps its text in the
// fields, and since the next row would type over it, the session stops there (`refused_row`).
// With --by one host plays the session once per stratum, each time with a module made anew.
class Player {
 public:
  Player(const Options& opt, const Session& session, Output& out, veltrum::cli::DataInput& data_input,
         const StratumFiles& strata = {})
      : opt_(opt),
        out_(out),
        remove_earlier_(strata.remove_earlier),
        checks_(session.plan.checks),
        host_(settings(opt, data_input, strata)) {
    take_turn(host_.settings().drive_c);
    host_.on_action = [this](const veltrum::headless::HeadlessDialog& d, const Action&) { check_row(d); };
    host_.on_message = [this](const veltrum::headless::MessageRecord& msg) {
      say_->document.message(msg.caption, msg.text);
      show_message(msg, say_->stratum);
    };
    host_.on_viewer = [this](const std::string& text) {
      const std::string path = host_.real_path(viewer_path(text));
      viewer_failed_ = !show_report(path, opt_, out_, stale_, *say_, shown_) || viewer_failed_;
      shown_.append = shown_.append || !opt_.report_copy.empty();
    };
  }

  // One pass of the session; `heading` goes before the report.
  void play(const Session& session, const std::string& data_file, std::string_view letter, const Say& say,
            std::string heading = {}) {
    host_.start_over();
    say_ = &say;
    shown_.heading = std::move(heading);
    played_ = 0;
    refused_row_.clear();
    viewer_failed_ = false;
    stale_ = empty_earlier_files(host_, remove_earlier_);
    host_.add_actions(session.plan.actions);
    veltrum::Module module(host_);
    if (!opt_.json_file.empty()) module.result_sink = &say.document;
    veltrum::libmain(module, 0);
    veltrum::run_veltrum(module, 1, data_file, letter);
  }

  // The bytes of the last report shown with a heading.
  const std::string& last_report() const { return shown_.last; }
  const veltrum::headless::Settings& settings() const { return host_.settings(); }

  // What the run comes to: the messages about it and the exit status.
  int exit_status(const Session& session) {
    const Say& say = *say_;
    for (const auto& p : host_.problems()) say(p);
    if (!output_written(out_)) return exit_no_report;
    // An action the dialogs could not carry out is a fault of the script, whatever was shown.
    if (!host_.problems().empty()) return exit_usage;
    if (!refused_row_.empty()) {
      say("the dialog did not accept " + refused_row_);
      return exit_no_report;
    }
    bool too_long = false;
    for (const auto& r : host_.refusals()) {
      // A dialog left open after a message has said why already.
      if (r.kind == veltrum::headless::Refusal::left_open && !host_.messages().empty()) continue;
      say(refusal_text(r, session.test, session.from_script));
      too_long = too_long || r.kind == veltrum::headless::Refusal::long_input;
    }
    if (too_long) return exit_usage;
    if (viewer_failed_) return exit_no_report;
    return host_.viewer_calls().empty() ? exit_no_report : exit_report;
  }

 private:
  static veltrum::headless::Settings settings(const Options& opt, veltrum::cli::DataInput& data_input,
                                              const StratumFiles& strata) {
    veltrum::headless::Settings s;
    s.default_yes = opt.yes;
    s.refuse_long_input = true;
    data_input.name_files(s);
    for (const auto& [name, path] : strata.files) s.files[name] = path;
    return s;
  }

  void check_row(const veltrum::headless::HeadlessDialog& d) {
    for (const auto& check : checks_) {
      if (check.after != played_ || !refused_row_.empty()) continue;
      for (const int field : check.fields)
        if (d.has_control(field) && !d.control(field).text.empty() && !d.ended()) refused_row_ = check.what;
      if (!refused_row_.empty()) host_.drop_actions();
    }
    ++played_;
  }

  const Options& opt_;
  Output& out_;
  const Say* say_ = nullptr;
  const bool remove_earlier_;
  Shown shown_;
  const std::vector<veltrum::cli::RowCheck> checks_;
  veltrum::headless::HeadlessHost host_;
  std::set<std::string> stale_;
  std::size_t played_ = 0;
  std::string refused_row_;
  bool viewer_failed_ = false;
};

// The run's JSON document (--json) written whatever the exit status once the command line has
// been read; a document that cannot be written turns a report into no report.
// With --by, `by` is the stratum's "by" member and `append` is set for every stratum after the
// first: the documents are JSON Lines.
int finish(const Options& opt, Output& out, const Say& say, const veltrum::CatalogueEntry* test, int status,
           const nlohmann::ordered_json* by = nullptr, bool append = false) {
  if (opt.json_file.empty()) return status;
  // The stratum closes the document: {...,"by":{...}}.
  const std::string more = by ? ",\"by\":" + veltrum::json::text_of(*by) : std::string();
  const bool reported = status == exit_report;
  bool written = true;
  if (opt.json_file == "-") {
    say.document.write(
        test, reported, [&](std::string_view piece) { out.write(piece); }, more);
    written = output_written(out);
  } else {
    // In pieces of some 64 KB: a document of megabytes is never held whole.
    std::FILE* file = std::fopen(opt.json_file.c_str(), append ? "ab" : "wb");
    bool complete = file != nullptr;
    say.document.write(
        test, reported,
        [&](std::string_view piece) {
          complete = complete && std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
        },
        more);
    if (!(file && std::fclose(file) == 0 && complete))
      std::cerr << "veltrum: cannot write " << shown(opt.json_file) << "\n", written = false;
  }
  return !written && status == exit_report ? exit_no_report : status;
}

// Why --by cannot be used as given, or nothing.
std::string by_problem(const CommandLine& line) {
  if (line.opt.by.empty()) return {};
  const auto* test = line.chosen();
  if (test && !test->needs_data_file)
    return "--by: the test " + std::string(test->letter) + " reads no data file, so there is nothing to split";
  if (line.common.data_file.empty()) return "--by needs the data file to split (--data FILE)";
  return {};
}

// The labels of the table's text columns for a run's JSON document.
void label_groups(veltrum::json::RunDocument& document, const veltrum::cli::DataInput& data_input) {
  if (const auto& table = data_input.table())
    for (std::size_t c = 0; c < table->columns.size(); ++c)
      if (table->columns[c].text) document.label_groups(static_cast<int>(c) + 1, table->columns[c].labels);
}

// The "by" member of a stratum's JSON document: a number as a number, a label as a text.
nlohmann::ordered_json by_member(const veltrum::cli::Strata& strata, const veltrum::cli::Stratum& stratum) {
  nlohmann::ordered_json value = stratum.value;
  if (strata.numeric()) {
    char* end = nullptr;
    const double number = std::strtod(stratum.value.c_str(), &end);
    if (end && *end == '\0' && std::isfinite(number)) value = number;
  }
  return {{"variable", strata.variable()}, {"value", value}};
}

// --by: the session once for each stratum, one host and one folder for all.  0 when every
// stratum gave a report, 1 when some did not (each named on standard error), 2 for wrong usage
// (the variable unknown, or a fault of the session that every stratum would meet).
// `given` is --data as given (the converted table's path is in line.common by now).
int run_strata(const CommandLine& line, const Session& session, Output& out, veltrum::cli::DataInput& data_input,
               const std::string& given, const std::string& data_file, const Say& say) {
  const auto* test = session.test;
  std::optional<veltrum::cli::Strata> strata;
  try {
    const auto& table = data_input.table();
    strata = table ? veltrum::cli::Strata::of_table(*table, line.opt.by)
                   : veltrum::cli::Strata::of_data_file(line.common.data_file, line.opt.by);
  } catch (const std::exception& e) {
    say(e.what());
    return finish(line.opt, out, say, test, exit_usage);
  }
  // Each stratum's data file and report in memory; where the system has no files in memory, in a
  // private folder and under C:\ as for a single run.
  std::optional<veltrum::cli::MemoryFile> stratum_memory, report_memory;
  std::optional<veltrum::cli::PrivateFolder> folder;
  StratumFiles files;
  std::string stratum_file;
  try {
    try {
      stratum_memory.emplace("veltrum-stratum");
      report_memory.emplace("veltrum-report");
      stratum_file = stratum_memory->path();
      files.files[std::string(veltrum::report_path)] = report_memory->path();
    } catch (const std::runtime_error&) {
      folder.emplace();
      stratum_file = folder->file("schicht.dat");
      files.remove_earlier = true;
    }
  } catch (const std::exception& e) {
    say(e.what());
    return finish(line.opt, out, say, test, exit_no_report);
  }
  files.files[data_file] = stratum_file;
  const std::string by = "--by " + shown(strata->variable());
  if (strata->missing())
    std::cerr << "veltrum: " << by << ": " << strata->missing() << (strata->missing() == 1 ? " record" : " records")
              << " without a value left out\n";
  if (strata->strata().empty()) {
    say(by + ": no record has a value");
    return finish(line.opt, out, say, test, exit_no_report);
  }
  Player player(line.opt, session, out, data_input, files);
  std::size_t failed = 0;
  for (std::size_t k = 0; k < strata->strata().size(); ++k) {
    const auto& stratum = strata->strata()[k];
    veltrum::json::RunDocument document(given);
    if (!line.opt.json_file.empty()) label_groups(document, data_input);
    const Say stratum_say{document, strata->variable() + " = " + stratum.value + ": "};
    int status = exit_no_report;
    try {
      veltrum::cli::overwrite_file(stratum_file, strata->text(k));
      player.play(session, data_file, test->letter, stratum_say, stratum_line(*strata, stratum));
      status = player.exit_status(session);
    } catch (const std::exception& e) {
      stratum_say(e.what());
    }
    const auto member = by_member(*strata, stratum);
    status = finish(line.opt, out, stratum_say, test, status, &member, k > 0);
    if (status == exit_usage) return exit_usage;  // every stratum would meet the same fault
    if (status != exit_report) {
      stratum_say("no report");
      ++failed;
    }
  }
  // C:\Ausgabe holds the last report shown (none: it is emptied).
  if (report_memory) {
    const std::string path = veltrum::headless::path_under(player.settings().drive_c, veltrum::report_path);
    try {
      veltrum::cli::overwrite_file(path, player.last_report());
    } catch (const std::exception& e) {
      say(e.what());
      return exit_no_report;
    }
  }
  if (!failed) return exit_report;
  std::cerr << "veltrum: " << by << ": " << failed << " of " << strata->strata().size() << " strata gave no report\n";
  return exit_no_report;
}

}  // namespace

int main(int argc, char** argv) {
  Output out;
  out.closed = fill_closed_descriptors();
  CommandLine line;
  if (const auto status = parse(line, argc, argv)) return *status;
  const std::string given = line.common.data_file;
  veltrum::json::RunDocument document(given);
  const Say say{document};
  const auto* test = line.chosen();
  const auto done = [&](int status) { return finish(line.opt, out, say, test, status); };

  auto data_file = checked_environment(line.common, say);
  if (!data_file) return done(exit_usage);
  if (const std::string why = by_problem(line); !why.empty()) {
    say(why);
    return done(exit_usage);
  }
  // A CSV or TSV table, or standard input, becomes a data file of the host's format.
  veltrum::cli::DataInput data_input;
  if (const int status = data_input.prepare(line.common, line.data_options, !line.opt.script_file.empty(), *data_file))
    return done(status);
  // The text labels of a table's columns name the groups in the JSON document.
  label_groups(document, data_input);
  auto session = planned_session(line, say);
  if (!session) return done(exit_usage);
  if (line.opt.print_script) {
    for (const auto& action : session->plan.actions) out.write(veltrum::script::to_string(action) + "\n");
    return output_written(out) ? exit_report : exit_no_report;
  }
  if (!line.opt.by.empty()) return run_strata(line, *session, out, data_input, given, *data_file, say);
  Player player(line.opt, *session, out, data_input);
  player.play(*session, *data_file, test ? test->letter : std::string_view(), say);
  return done(player.exit_status(*session));
}
