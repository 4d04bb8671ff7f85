// What every test shares through the frame's skeleton: the dialog's standard buttons, its placement
// and caption, one pass of "dialog, report, compute, write", and the ways a pass ends (report,
// stop with or without the dialog again, the test error trap).  The letters' own tests keep only
// what is their own.
#include <gtest/gtest.h>

#include "VELTRUM_R.h"
#include "frame/run_state.hpp"
#include "frame/test_dialog.hpp"
#include "frame/test_run.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

using testing::Session;

// A dialog on the template HAUFIG that clears its two number fields (not the keyword) and
// accepts the input once the first number field reads "ok".
class ProbeDialog : public TestDialog {
 public:
  explicit ProbeDialog(Module& module) : TestDialog(module, {IDC_HAUFIG_N1, IDC_HAUFIG_N2}) {}
  int computes = 0;

 private:
  bool start(DialogWindow& d) override {
    for (const int id : {IDC_HAUFIG_KEYWORD, IDC_HAUFIG_N1, IDC_HAUFIG_N2}) d.set_text(id, "vorher");
    return false;
  }
  void compute(DialogWindow& d) override {
    ++computes;
    if (d.text(IDC_HAUFIG_N1, 9) == "ok") d.end(dialog_computed);
  }
};

enum class Ending { report, stop_rerun, stop_end, index_error };
Ending ending = Ending::report;
int computes = 0;

void probe_entry(Module& module, const CatalogueEntry& test) {
  ProbeDialog dialog(module);
  run_test(
      module, test, dialog,
      [&] {
        switch (ending) {
          case Ending::report:
            module.report.line("Bericht");
            break;
          case Ending::stop_rerun:
            return stop(module, Rerun::yes, "noch einmal");
          case Ending::stop_end:
            return stop(module, Rerun::no, "Schluss");
          case Ending::index_error:
            module.work.w2[101] = 1;  // one beyond the array
            break;
        }
      },
      Trap::test);
  computes += dialog.computes;
}

constexpr CatalogueEntry probes[] = {
    {.letter = "P", .title = "Probe.", .dialog_template = "HAUFIG", .entry = &probe_entry},
    {.letter = "Q",
     .title = "Probe.",
     .dialog_template = "HAUFIG",
     .entry = &probe_entry,
     .caption = IDS_CAPTION_MANTEL_2},
};

struct ProbeSession : Session {
  explicit ProbeSession(Ending e) {
    ending = e;
    computes = 0;
  }
  int run_probe(std::string_view letter, std::string_view script_text) {
    host.add_actions(script::parse(script_text));
    return run_veltrum(module, probes, 0x1234, "", letter);
  }
};

TEST(TestSkeleton, CancelEndsTheCallWithoutReport) {
  // "&Abbrechen", Escape, and Escape after input the dialog did not accept.
  for (const auto& [cancel, tries] : {std::pair{"press 2", 0}, std::pair{"escape", 0}, std::pair{"enter\nescape", 1}}) {
    ProbeSession s(Ending::report);
    EXPECT_EQ(s.run_probe("P", cancel), 0);
    EXPECT_EQ(s.host.dialogs_shown().size(), 1u) << cancel;
    EXPECT_TRUE(s.host.viewer_calls().empty());
    EXPECT_TRUE(s.host.messages().empty());
    EXPECT_EQ(s.host.repaints(), 0);
    EXPECT_FALSE(std::filesystem::exists(s.drive.path() / "Ausgabe"));
    EXPECT_EQ(s.module.dialog_result, dialog_cancelled);
    EXPECT_EQ(computes, tries);
  }
}

TEST(TestSkeleton, ClearEmptiesTheNamedFieldsOnlyAndKeepsTheDialogOpen) {
  ProbeSession s(Ending::report);
  std::vector<std::string> texts;
  int focus = 0;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb != script::Verb::press || a.id != IDC_LOESCHEN) return;
    for (const int id : {IDC_HAUFIG_KEYWORD, IDC_HAUFIG_N1, IDC_HAUFIG_N2}) texts.push_back(d.text(id, 254));
    focus = d.focused();
  };
  s.run_probe("P", "press 3\nescape");
  EXPECT_EQ(texts, (std::vector<std::string>{"vorher", "", ""}));
  EXPECT_EQ(focus, IDC_HAUFIG_N1);
  EXPECT_EQ(s.host.dialogs_shown().size(), 1u);
  EXPECT_EQ(computes, 0);

  // A dialog that names no fields leaves "&Löschen" to the standard handling: nothing changes.
  Module& m = s.module;
  struct NoClear : TestDialog {
    explicit NoClear(Module& module) : TestDialog(module) {}
    bool start(DialogWindow& d) override {
      d.set_text(IDC_HAUFIG_N1, "bleibt");
      return false;
    }
    void compute(DialogWindow&) override {}
  } no_clear(m);
  std::string kept;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action&) { kept = d.text(IDC_HAUFIG_N1, 9); };
  s.host.add_actions(script::parse("press 3\nescape"));
  EXPECT_EQ(s.host.dialog("HAUFIG", no_clear), dialog_cancelled);
  EXPECT_EQ(kept, "bleibt");
}

TEST(TestSkeleton, ComputeStaysOpenUntilTheInputIsAcceptedThenReportsOnce) {
  ProbeSession s(Ending::report);
  EXPECT_EQ(s.run_probe("P", "enter\npress 1\ntype 102 ok\nenter\nescape"), 0);
  EXPECT_EQ(computes, 3);
  EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
  ASSERT_EQ(s.host.viewer_calls().size(), 1u);
  const auto lines = s.report_lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1].rfind("PROBE ", 0), 0u);  // the header carries the entry's title
  EXPECT_EQ(lines[5], "Bericht");
}

TEST(TestSkeleton, DialogIsCentredAndTakesTheCaptionOfItsEntry) {
  for (const auto& [letter, caption] :
       {std::pair{"P", "Vergleich zweier H\xE4ufigkeiten."}, std::pair{"Q", "Mantel-Haenszel-Test (2 Gruppen)."}}) {
    ProbeSession s(Ending::report);
    std::string seen;
    Rect rect;
    s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action&) {
      seen = d.caption();
      rect = d.window_rect();
    };
    s.run_probe(letter, "escape");
    EXPECT_EQ(seen, caption) << letter;
    // One third of the screen's width to the left, half its height (1024 x 768, caption 18).
    EXPECT_EQ(rect.left, (1024 - rect.width()) / 3);
    EXPECT_EQ(rect.top, (768 - (rect.height() + 18)) / 2);
  }
}

TEST(TestSkeleton, StopWithRerunShowsTheDialogAgainWithoutReport) {
  ProbeSession s(Ending::stop_rerun);
  EXPECT_EQ(s.run_probe("P", "type 102 ok\nenter\nescape"), 0);
  ASSERT_EQ(s.host.messages().size(), 1u);
  EXPECT_EQ(s.host.messages()[0].text, "noch einmal");
  EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
  EXPECT_EQ(s.host.messages()[0].style, 0x2030u);
  EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
  EXPECT_TRUE(s.host.viewer_calls().empty());
  EXPECT_TRUE(s.module.stopped);
}

TEST(TestSkeleton, StopWithoutRerunEndsTheCall) {
  ProbeSession s(Ending::stop_end);
  EXPECT_EQ(s.run_probe("P", "type 102 ok\nenter\nescape"), 0);
  ASSERT_EQ(s.host.messages().size(), 1u);
  EXPECT_EQ(s.host.messages()[0].text, "Schluss");
  EXPECT_EQ(s.host.dialogs_shown().size(), 1u);
  EXPECT_TRUE(s.host.viewer_calls().empty());
  EXPECT_TRUE(s.module.stopped);
  EXPECT_EQ(s.module.dialog_result, dialog_cancelled);
  EXPECT_EQ(s.module.rerun, Rerun::no);
  EXPECT_FALSE(ready_to_compute(s.module));
}

TEST(TestSkeleton, TrappedStepsEndInTheTestErrorTrap) {
  ProbeSession s(Ending::index_error);
  EXPECT_EQ(s.run_probe("P", "type 102 ok\nenter\nescape"), 0);
  ASSERT_EQ(s.host.messages().size(), 1u);
  EXPECT_EQ(s.host.messages()[0].text,
            "Index\xFC"
            "berschreitung, vgl. Infos/Restriktionen!");
  EXPECT_EQ(s.host.messages()[0].caption, " Achtung!");
  EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
  EXPECT_TRUE(s.host.viewer_calls().empty());
}

}  // namespace
}  // namespace veltrum
