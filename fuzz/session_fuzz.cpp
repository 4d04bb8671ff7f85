// A whole session: a letter chosen by the input, a data file from the input, and dialog actions
// from the input on the controls of the letter's dialog (typed texts, picks, ticks, Enter,
// Escape, answers).  No fault, and no report holds a value that is not a number.
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

std::string report_bytes() {
  std::ifstream in(fuzz::drive_c() + "/Ausgabe", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
  run_veltrum(module, 1, "C:\\daten.dat", test.letter);
  if (!host.viewer_calls().empty()) {
    const std::string report = report_bytes();
    VELTRUM_FUZZ_CHECK(report.find("NaN") == std::string::npos && report.find("nan") == std::string::npos,
                       "a report shows no value that is not a number");
  }
  return 0;
}
