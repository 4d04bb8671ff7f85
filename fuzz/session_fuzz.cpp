// A whole session: a letter chosen by the input, a data file from the input, and dialog actions
// from the input on the controls of the letter's dialog (typed texts, picks, ticks, Enter,
// Escape, answers).  No fault, and no report shown holds a value that is not a number or beyond
// the float range: no "NaN", no "Inf", and no "|x|>1E38" unless the input itself holds numbers
// that large (a value above 1E38 is then shown so, as specified).
#include <fstream>
#include <iterator>

#include "frame/catalogue.hpp"
#include "frame/dispatch.hpp"
#include "frame/module.hpp"
#include "fuzz_support.hpp"
#include "headless/headless_host.hpp"
#include "headless/templates.hpp"
#include "veltrum.hpp"

using namespace veltrum;

namespace {

const std::map<std::string, headless::DialogTemplate, std::less<>>& templates() {
  static const auto t = headless::module_templates();
  return t;
}

std::string file_bytes(const std::string& name) {
  std::ifstream in(fuzz::drive_c() + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Whether the input holds a number of 19 or more digits or one with an exponent ("3e38", "1D5"):
// only then may a result exceed 1E38 (sums and squares of smaller numbers stay far below).
bool holds_large_numbers(std::string_view input) {
  const auto digit = [&](std::size_t i) { return i < input.size() && input[i] >= '0' && input[i] <= '9'; };
  std::size_t run = 0;
  for (std::size_t i = 0; i < input.size(); ++i) {
    run = digit(i) ? run + 1 : 0;
    if (run >= 19) return true;
    const char c = input[i] | 0x20;
    if (i > 0 && digit(i - 1) && (c == 'e' || c == 'd')) {
      const std::size_t j = i + 1 < input.size() && (input[i + 1] == '+' || input[i + 1] == '-') ? i + 2 : i + 1;
      if (digit(j)) return true;
    }
  }
  return false;
}

// Whether `text` holds `word` as a word of its own: "Inf" as a value, not the start of
// "Inflation" in a help text.
bool holds_word(std::string_view text, std::string_view word) {
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  for (std::size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
    const std::size_t end = at + word.size();
    if ((at == 0 || !letter(text[at - 1])) && (end == text.size() || !letter(text[end]))) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  std::vector<const CatalogueEntry*> letters;
  for (const auto& t : test_catalogue())
    if (t.entry) letters.push_back(&t);
  const CatalogueEntry& test = *letters[in.byte() % letters.size()];
  const bool yes = in.byte() & 1;
  fuzz::write_file(fuzz::drive_c() + "/daten.dat", in.piece('\0'));
  std::remove((fuzz::drive_c() + "/Ausgabe").c_str());

  std::vector<int> ids;
  if (const auto t = templates().find(test.dialog_template); t != templates().end())
    for (const auto& c : t->second.controls)
      if (c.id >= 0) ids.push_back(c.id);
  if (ids.empty()) ids.push_back(1);
  std::deque<script::Action> actions;
  for (int n = 0; !in.empty() && n < 200; ++n) {
    script::Action a;
    const std::uint8_t verb = in.byte() % 11;
    a.verb = static_cast<script::Verb>(verb);
    a.id = ids[in.byte() % ids.size()];
    a.index = in.byte() % 12 - 1;
    if (a.verb == script::Verb::type || a.verb == script::Verb::choose)
      a.text = std::string(in.piece('\n').substr(0, 40));
    if (a.verb == script::Verb::answer) a.text = a.index % 3 == 0 ? "yes" : a.index % 3 == 1 ? "no" : "ok";
    actions.push_back(a);
  }
  headless::Settings settings;
  settings.drive_c = fuzz::drive_c();
  settings.default_yes = yes;
  settings.fixed_time = LocalTime{2024, 1, 2, 3, 4};
  headless::HeadlessHost host(settings);
  host.add_actions(std::move(actions));
  Module module(host);
  libmain(module, 0);
  // Every report as it is shown (a later pass rewrites the file).  A text the input holds itself
  // (a keyword, a variable name) may show up in the report as it is.
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const bool large = holds_large_numbers(input);
  host.on_viewer = [&](const std::string& text) {
    const std::string report = file_bytes(text.starts_with("C:\\Hilfe.") ? "Hilfe" : "Ausgabe");
    for (const std::string_view word : {"NaN", "Inf"})
      VELTRUM_FUZZ_CHECK(!holds_word(report, word) || input.find(word) != std::string_view::npos,
                         "a report shows no value that is not a number or beyond the float range");
    VELTRUM_FUZZ_CHECK(large || report.find("|x|>") == std::string::npos,
                       "a report shows no overflow text for results of moderate input");
  };
  run_veltrum(module, 1, "C:\\daten.dat", test.letter);
  return 0;
}
