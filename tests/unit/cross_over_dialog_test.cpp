// Letter C through whole Veltrum calls: the dialog "CROSS" (template, checks, help box), the
// loader (group order, input block, listing, messages) and the golden reports.
#include <gtest/gtest.h>

#include <fstream>

#include "VELTRUM_R.h"
#include "crossover/cross_over_dialog.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

using headless::ControlKind;
using headless::HeadlessDialog;

// C:\daten.dat: examples/asthma.dat (Sequenz, PEF1, PEF2), or records written by the test with
// the header "Gruppe;N;4;0 P1;N;6;1 P2;N;6;1".
struct CrossSession : testing::Session {
  void use_example() { std::filesystem::copy_file(VELTRUM_EXAMPLES_DIR "/asthma.dat", drive.path() / "daten.dat"); }
  void write_records(const std::vector<std::array<std::string, 3>>& rows) {
    std::string bytes = "Gruppe;N;4;0 P1;N;6;1 P2;N;6;1\r\n";
    for (const auto& [g, x1, x2] : rows) bytes += pad(g, 5) + " " + pad(x1, 6) + " " + pad(x2, 6) + "\r\n";
    std::ofstream(drive.path() / "daten.dat", std::ios::binary) << bytes;
  }
  int run_c(std::string_view script) { return run("C", script, "C:\\daten.dat"); }
  static std::string pad(const std::string& s, std::size_t w) {
    return std::string(w - std::min(w, s.size()), ' ') + s;
  }
};

// Group variable 1, periods 2 and 3 (or as given), groups a and b, Rechnen; the dialog that comes
// back is cancelled.
std::string choose(const std::string& a, const std::string& b, int period2_entry = 2) {
  return "pick 201 0\npick 401 1\npick 901 " + std::to_string(period2_entry) + "\ntype 905 " + a + "\ntype 906 " + b +
         "\nenter\nescape";
}

std::vector<std::array<std::string, 3>> units(const std::string& group, int n, const std::string& x1,
                                              const std::string& x2) {
  return std::vector<std::array<std::string, 3>>(static_cast<std::size_t>(n), {group, x1, x2});
}

TEST(CrossOverDialog, TemplateHoldsTheControlsInTheirOrder) {
  const auto templates = headless::module_templates();
  const auto it = templates.find("CROSS");
  ASSERT_NE(it, templates.end());
  EXPECT_EQ(it->second.caption, "Cross-Over-Analyse nach Koch.");
  struct Expected {
    int id;
    ControlKind kind;
    std::string text;
  };
  const std::vector<Expected> expected = {
      {204, ControlKind::group_box, ""},
      {205, ControlKind::static_text, "Gruppenvariable:"},
      {201, ControlKind::combo_box, ""},
      {402, ControlKind::static_text, "Welche Variablen werden getestet ?"},
      {902, ControlKind::static_text, "Periode 1:"},
      {401, ControlKind::combo_box, ""},
      {903, ControlKind::static_text, "Periode 2:"},
      {901, ControlKind::combo_box, ""},
      {904, ControlKind::static_text, "Welche Gruppen werden untersucht ?"},
      {907, ControlKind::static_text, "Gruppe 1:"},
      {905, ControlKind::edit, ""},
      {908, ControlKind::static_text, "Gruppe 2:"},
      {906, ControlKind::edit, ""},
      {209, ControlKind::group_box, ""},
      {407, ControlKind::check_box, " In der Ausgabe die eingelesenen Daten auflisten !"},
      {1, ControlKind::button, "&Rechnen"},
      {2, ControlKind::button, "&Abbrechen"},
      {909, ControlKind::button, "&Hilfe!"},
  };
  const auto& controls = it->second.controls;
  ASSERT_EQ(controls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].id);
    EXPECT_EQ(controls[i].id, expected[i].id);
    EXPECT_EQ(controls[i].kind, expected[i].kind);
    EXPECT_EQ(controls[i].text, expected[i].text);
  }
}

TEST(CrossOverDialog, ReportsMatchTheGoldenFiles) {
  for (const bool listed : {false, true}) {
    CrossSession s;
    s.use_example();
    EXPECT_EQ(s.run_c((listed ? "tick 407\n" : "") + choose("1", "2")), 0);
    EXPECT_TRUE(s.host.messages().empty());
    EXPECT_EQ(s.host.dialogs_shown(), (std::vector<std::string>{"CROSS", "CROSS"}));
    EXPECT_EQ(s.host.viewer_calls().size(), 1u);
    EXPECT_EQ(s.report(), testing::read_bytes(listed ? VELTRUM_GOLDEN_DIR "/C_asthma_listing.txt"
                                                     : VELTRUM_GOLDEN_DIR "/C_asthma.txt"));
  }
}

TEST(CrossOverDialog, ChecksInOrderKeepTheDialogOpenAndTheFocusWhereItIs) {
  struct Case {
    std::string script, message;
  };
  const Case cases[] = {
      {"pick 401 1\npick 901 2\ntype 905 1\ntype 906 2", "Bitte Gruppenvariable angeben!"},
      {"pick 201 0\npick 401 1\ntype 905 0\ntype 906 0", "Bitte beide Perioden eingeben!"},
      {"pick 201 0\npick 901 1\ntype 905 1\ntype 906 1", "Bitte beide Perioden eingeben!"},
      {"pick 201 0\npick 401 1\npick 901 2\ntype 905 1\ntype 906 0",
       "Bitte nur Gruppennummern gr\xF6\xDF"
       "er 0 angeben.\r\rAndere Werte sind nicht zul\xE4ssig !"},
      {"pick 201 0\npick 401 1\npick 901 2\ntype 905 -2\ntype 906 2",
       "Bitte nur Gruppennummern gr\xF6\xDF"
       "er 0 angeben.\r\rAndere Werte sind nicht zul\xE4ssig !"},
      {"pick 201 0\npick 401 1\npick 901 2\ntype 905 2.4\ntype 906 2", "Bitte verschiedene Gruppen vergleichen!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    CrossSession s;
    s.use_example();
    int focus_before = -2, focus_after = -2;
    bool open = false;
    s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
      if (a.verb == script::Verb::type) focus_before = d.focused();
      if (a.verb == script::Verb::enter) focus_after = d.focused(), open = !d.ended();
    };
    s.run_c(c.script + "\nenter\nescape");
    ASSERT_EQ(s.host.messages().size(), 1u);
    EXPECT_EQ(s.host.messages()[0].text, c.message);
    EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
    EXPECT_EQ(s.host.messages()[0].style, 0x2030u);
    EXPECT_TRUE(open);
    EXPECT_EQ(focus_after, focus_before);
    EXPECT_TRUE(s.host.viewer_calls().empty());
  }
}

TEST(CrossOverDialog, HelpButtonShowsTheElevenLines) {
  CrossSession s;
  s.use_example();
  s.run_c("press 909\nescape");
  ASSERT_EQ(s.host.messages().size(), 1u);
  const auto& m = s.host.messages()[0];
  EXPECT_EQ(m.caption, " Hilfe zum Cross-Over!");
  EXPECT_EQ(m.style, 0x2040u);
  std::vector<std::string> lines;
  for (std::size_t from = 0;;) {
    const auto to = m.text.find('\r', from);
    lines.push_back(m.text.substr(from, to == std::string::npos ? std::string::npos : to - from));
    if (to == std::string::npos) break;
    from = to + 1;
  }
  const std::vector<std::string> expected = {"Im Cross-Over-Versuchsplan erh\xE4lt die erste von zwei Gruppen",
                                             "in Phase/Periode 1 Therapie A, die zweite Gruppe Therapie B.",
                                             "In Phase/Periode 2 erh\xE4lt die erste Gruppe Therapie B, die",
                                             "zweite Gruppe entsprechend A. In der Eingabedatei stehen also",
                                             "unter Variable 'Periode 1' f\xFCr Gruppe 1 die Me\xDFwerte f\xFCr die",
                                             "Bedingung A, f\xFCr Gruppe 2 die Me\xDFwerte f\xFCr Bedingung B! Ent-",
                                             "sprechendes gilt f\xFCr die Variable 'Periode 2'.",
                                             "",  // two carriage returns between the seventh and the eighth line
                                             "Die hier verwendete Konvention erlaubt also ohne Aufwand",
                                             "eine Auswertung der Phase 1 als Parallelgruppenversuch, falls",
                                             "post hoc die Voraussetzungen f\xFCr die Cross-Over-Analyse nicht",
                                             "erf\xFCllt sind!"};
  EXPECT_EQ(lines, expected);
}

TEST(CrossOverDialog, EdgeCasesOfLoadingAndComputing) {
  std::vector<std::array<std::string, 3>> five_two = {{"5", "1", "2"}, {"2", "3", "1"}, {"5", "4", "4"},
                                                      {"2", "5", "9"}, {"5", "6", "1"}, {"7", "9", "9"}};
  std::vector<std::array<std::string, 3>> wide;  // 53 and 53 units: odd and even values of period 1
  for (int i = 1; i <= 53; ++i) {
    wide.push_back({"1", std::to_string(2 * i - 1), "0"});
    wide.push_back({"2", std::to_string(2 * i), "0"});
  }
  auto single = units("1", 1, "3", "4");
  single.push_back({"2", "1", "1"}), single.push_back({"2", "2", "2"});
  auto equal = units("1", 16, "7", "7");
  for (const auto& u : units("2", 16, "7", "7")) equal.push_back(u);
  auto missing = units("1", 2, "1", "2");
  missing.push_back({"1", "", "5"}), missing.push_back({"1", "5", "1.2.3"});
  for (const auto& u : units("2", 3, "3", "3")) missing.push_back(u);
  struct Case {
    std::string name;
    std::vector<std::array<std::string, 3>> rows;
    std::string script;
    std::vector<std::string> lines;  // lines the report holds
    std::string message;             // the one message, or none
  };
  const Case cases[] = {
      {"groups entered 5 and 2 are read and listed as 2 and 5",
       five_two,
       "tick 407\n" + choose("5", "2"),
       {"  und Gruppen Var. 1 (Gruppe) = 2 und 5 ", "Gruppe 2 ", "Gruppe 5 ", "  2     5.0000     9.0000",
        "  3     6.0000     1.0000", "Stichprobenumf\xE4nge:      n1 =   2", "                         n2 =   3"},
       ""},
      {"a group of one unit is too small",
       single,
       choose("1", "2"),
       {},
       "Der Stichprobenumfang mindestens einer Gruppe ist zu klein!"},
      {"a group without units",
       units("1", 3, "1", "2"),
       choose("1", "2"),
       {},
       "Der Stichprobenumfang mindestens einer Gruppe ist Null!"},
      {"all values equal: Z = 0 and p = 1",
       equal,
       choose("1", "2"),
       {"Nacheffekte:   Wilcoxon's U =     128.0 ( p = 1.000000 : exakter Test )",
        "               Gauss'     Z =    0.0000 ( p = 1.000000 : approximativ )"},
       ""},
      // R: wilcox.test(seq(1, 105, 2), seq(2, 106, 2), exact = FALSE, correct = FALSE): W = 1378,
      // p = 0.867020965182346, z = 0.167443671655784
      {"the exact routine declines for 53 and 53",
       wide,
       choose("1", "2"),
       {"Erste Periode: Wilcoxon's U =    1378.0 ( p = 0.867021 : approximativ )",
        "               Gauss'     Z =    0.1674 ( p = 0.867021 : approximativ )"},
       ""},
      {"the same variable for both periods gives differences of 0",
       five_two,
       choose("2", "5", 1),
       {"  davon Variablen 2 (P1), 2 (P1) ", "Haupteffekte:  Wilcoxon's U =       3.0 ( p = 1.000000 : exakter Test )"},
       ""},
      {"records with a missing period value are dropped",
       missing,
       choose("1", "2"),
       {"Stichprobenumf\xE4nge:      n1 =   2"},
       ""},
      {"more than 1001 units in a group",
       [] {
         auto rows = units("1", 1002, "1", "2");
         for (const auto& u : units("2", 2, "3", "4")) rows.push_back(u);
         return rows;
       }(),
       choose("1", "2"),
       {},
       "Indexüberschreitung, vgl. Infos/Restriktionen!"},
      {"a group value of 0",
       {{"1", "1", "1"}, {"0", "2", "2"}},
       choose("1", "2"),
       {},
       "Kalvo. erlaubt keine Gruppenvariablen mit Werten\r<1 bzw. >1000. Der hier vorhandene Wert 0\r"
       "ist deshalb nicht zul\xE4ssig (vgl. Handbuch Kap. 1\roder auch im Hauptmen\xFC 'Infos, Restriktionen') ."
       "\r\rBitte korrigieren Sie die aktive Datei im Editor."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CrossSession s;
    s.write_records(c.rows);
    s.run_c(c.script);
    const auto report = s.report_lines();
    for (const auto& line : c.lines) EXPECT_NE(std::find(report.begin(), report.end(), line), report.end()) << line;
    if (c.message.empty()) {
      EXPECT_TRUE(s.host.messages().empty());
      EXPECT_EQ(s.host.viewer_calls().size(), 1u);
    } else {
      ASSERT_EQ(s.host.messages().size(), 1u);
      EXPECT_EQ(s.host.messages()[0].text, c.message);
      EXPECT_TRUE(s.host.viewer_calls().empty());
    }
    // The dialog comes back after every pass, a stopped one included.
    EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
  }
}

TEST(CrossOverDialog, NextPassShowsTheSmallerGroupFirstAndTheChoices) {
  CrossSession s;
  s.write_records({{"5", "1", "2"}, {"2", "3", "1"}, {"5", "4", "4"}, {"2", "5", "9"}});
  std::vector<std::string> seen;
  s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::escape)
      seen = {d.text(IDC_CROSS_GROUP1, 9), d.text(IDC_CROSS_GROUP2, 9), std::to_string(d.selection(IDC_CROSS_PERIOD1)),
              std::to_string(d.selection(IDC_CROSS_PERIOD2)), std::to_string(d.checked(IDC_CROSS_LISTING))};
  };
  s.run_c("tick 407\n" + choose("5", "2"));
  EXPECT_EQ(seen, (std::vector<std::string>{"2", "5", "1", "2", "1"}));
}

}  // namespace
}  // namespace veltrum
