// The Veltrum call: data-file precondition, passes, re-run requests, the viewer, the error traps
// and which values survive between passes and calls.
#include <gtest/gtest.h>

#include <new>

#include "VELTRUM_R.h"
#include "frame/error_trap.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

using testing::Session;

TEST(Dispatch, LetterWithoutDataFileNeedsNone) {
  Session s;
  EXPECT_EQ(s.run("H", "escape"), 0);
  EXPECT_EQ(s.host.dialogs_shown(), std::vector<std::string>{"HAUFIG"});
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_TRUE(s.host.viewer_calls().empty());
}

TEST(Dispatch, DataFileLetterWithoutFileShowsOnlyTheMessage) {
  for (const std::string data : {"", "C:\\nirgends.dat", "/no/such/file.dat"}) {
    Session s;
    EXPECT_EQ(s.run("K", "", data), 0);
    ASSERT_EQ(s.host.messages().size(), 1u) << data;
    EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
    EXPECT_EQ(s.host.messages()[0].text,
              "Bitte \xF6"
              "ffnen Sie zuerst eine Datei!");
    EXPECT_EQ(s.host.messages()[0].style, 0x0030u);
    EXPECT_TRUE(s.host.dialogs_shown().empty());
    EXPECT_TRUE(s.host.viewer_calls().empty());
  }
}

TEST(Dispatch, LettersThatNeedNoDataFileComeFromTheCatalogue) {
  // The typed-input letters and the information text; every other letter reads the data file.
  EXPECT_EQ(letters_without_data_file(test_catalogue()), "OHAGMB");
  for (const CatalogueEntry& test : test_catalogue()) {
    Session s;
    s.run(test.letter, "escape");
    const bool refused = !s.host.messages().empty() && s.host.messages()[0].text ==
                                                           "Bitte \xF6"
                                                           "ffnen Sie zuerst eine Datei!";
    EXPECT_EQ(refused, test.needs_data_file) << test.letter;
    EXPECT_EQ(s.host.dialogs_shown().empty(), test.needs_data_file || test.dialog_template.empty()) << test.letter;
  }
}

TEST(Dispatch, LowerCaseLetterNeedsAFileAndRunsNothing) {
  Session s;
  std::ofstream(s.drive.path() / "daten.dat") << "A;N;8;2\r\n";
  EXPECT_EQ(s.run("k", "", "C:\\daten.dat"), 0);
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_TRUE(s.host.dialogs_shown().empty());
  EXPECT_TRUE(s.host.viewer_calls().empty());

  Session without;
  EXPECT_EQ(without.run("k"), 0);
  EXPECT_EQ(without.host.messages().size(), 1u);
}

TEST(Dispatch, ComputeThenCancelCallsTheViewerOnce) {
  Session s;
  EXPECT_EQ(s.run("H", "type 102 3\ntype 103 4\nenter\nescape"), 0);
  EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
  ASSERT_EQ(s.host.viewer_calls().size(), 1u);
  // Host window 0,0,640,480 by the picture "####" each.
  EXPECT_EQ(s.host.viewer_calls()[0], "C:\\Ausgabe.   0   0 640 480");
  EXPECT_EQ(s.host.repaints(), 1);
}

TEST(Dispatch, RectangleTextKeepsSignsInsideTheFieldsAndWidens) {
  headless::Settings settings;
  settings.host_window = {-8, -12, 12345, 776};
  Session s(settings);
  s.run("H", "type 102 1\ntype 103 2\nenter");
  ASSERT_EQ(s.host.viewer_calls().size(), 1u);
  EXPECT_EQ(s.host.viewer_calls()[0], "C:\\Ausgabe.  -8 -1212345 776");
}

TEST(Dispatch, InformationLetterShowsItsOwnFileOnceAndEnds) {
  Session s;
  EXPECT_EQ(s.run("M"), 0);
  EXPECT_TRUE(s.host.dialogs_shown().empty());
  ASSERT_EQ(s.host.viewer_calls().size(), 1u);
  EXPECT_EQ(s.host.viewer_calls()[0], "C:\\Hilfe.   0   0 640 480");
  EXPECT_EQ(s.host.repaints(), 0);
}

// Test doubles for the dispatcher: a dialog-less test that fails once through the test error trap,
// and one that records what it sees of the run-state.
struct Probe {
  int passes = 0;
  std::vector<std::int16_t> remembered_at_start;
  std::vector<std::string> keyword_at_start;
  std::vector<float> work_at_start;
};
Probe* probe = nullptr;

void failing_then_done(Module& module, const CatalogueEntry&) {
  probe->passes++;
  probe->remembered_at_start.push_back(module.remembered.whole[0]);
  probe->keyword_at_start.push_back(module.keyword);
  probe->work_at_start.push_back(module.work.w4[1001]);
  if (probe->passes == 1) {
    module.remembered.whole[0] = 42;
    module.keyword = "behalten";
    module.work.w4[1001] = 7;
    run_trapped(module, [&] { module.work.w4[1002] = 1; });  // one beyond the array
    return;
  }
  if (probe->passes == 2) {
    run_trapped(module, [&] { throw std::runtime_error("anything else"); });
    return;
  }
  module.dialog_result = 0;
}

void throws_without_trap(Module& module, const CatalogueEntry&) {
  probe->passes++;
  module.dialog_result = 0;
  throw std::runtime_error("a statement failed");
}

constexpr CatalogueEntry doubles[] = {
    {.letter = "R", .title = "Rerun.", .needs_data_file = true, .entry = &failing_then_done},
    {.letter = "X", .title = "Untrapped.", .needs_data_file = true, .entry = &throws_without_trap},
};

TEST(Dispatch, TestErrorTrapAsksForARerunWithInputsKept) {
  Probe p;
  probe = &p;
  Session s;
  EXPECT_EQ(run_veltrum(s.module, doubles, 1, "", "R"), 0);  // "R" needs a data file
  EXPECT_EQ(p.passes, 0);

  std::ofstream(s.drive.path() / "d.dat") << "A;N;8;2\r\n";
  EXPECT_EQ(run_veltrum(s.module, doubles, 1, "C:\\d.dat", "R"), 0);
  EXPECT_EQ(p.passes, 3);
  // The first message is the missing data file of the first call.
  ASSERT_EQ(s.host.messages().size(), 3u);
  EXPECT_EQ(s.host.messages()[1].caption, " Achtung!");
  EXPECT_EQ(s.host.messages()[1].style, 0x2010u);
  EXPECT_EQ(s.host.messages()[1].text,
            "Index\xFC"
            "berschreitung, vgl. Infos/Restriktionen!");
  EXPECT_EQ(s.host.messages()[2].caption, " Achtung!");
  EXPECT_EQ(s.host.messages()[2].text, "Berechnung ist nicht m\xF6glich!");
  EXPECT_TRUE(s.host.viewer_calls().empty());
  // Between passes the inputs, the keyword and the work arrays survive.
  EXPECT_EQ(p.remembered_at_start, (std::vector<std::int16_t>{0, 42, 42}));
  EXPECT_EQ(p.keyword_at_start, (std::vector<std::string>{"", "behalten", "behalten"}));
  EXPECT_EQ(p.work_at_start, (std::vector<float>{0, 7, 7}));

  // A new call resets inputs and keyword and re-creates the work arrays; the cancel flag and the
  // data-file arrays are kept.
  s.module.stopped = true;
  s.module.data.names[1] = "Alter";
  p = Probe{};
  run_veltrum(s.module, doubles, 1, "C:\\d.dat", "R");
  EXPECT_EQ(p.remembered_at_start.front(), 0);
  EXPECT_EQ(p.keyword_at_start.front(), "");
  EXPECT_EQ(p.work_at_start.front(), 0.0f);
  EXPECT_TRUE(s.module.stopped);
  EXPECT_EQ(s.module.data.names[1], "Alter");
  probe = nullptr;
}

TEST(Dispatch, ErrorInAnUntrappedTestEndsOnlyThatPass) {
  Probe p;
  probe = &p;
  Session s;
  std::ofstream(s.drive.path() / "d.dat") << "A;N;8;2\r\n";
  EXPECT_EQ(run_veltrum(s.module, doubles, 1, "C:\\d.dat", "X"), 0);
  EXPECT_EQ(p.passes, 1);
  EXPECT_TRUE(s.host.messages().empty());
  probe = nullptr;
}

// A host that cannot give the window rectangle: the entry's own step fails.
class BrokenHost : public headless::HeadlessHost {
 public:
  using HeadlessHost::HeadlessHost;
  Rect host_window_rect() override { throw std::bad_alloc(); }
};

TEST(Dispatch, LastResortTrapReportsAFaultySystem) {
  testing::TempDrive drive;
  headless::Settings settings;
  settings.drive_c = drive.path().string();
  BrokenHost host(settings);
  Module module(host);
  EXPECT_EQ(run_veltrum(module, 1, "", "H"), 0);
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].caption, "Achtung!");
  EXPECT_EQ(host.messages()[0].text, "Fehlerhafte System-Konfiguration.\rDie Berechnung ist nicht m\xF6glich.");
  EXPECT_EQ(host.messages()[0].style, 0x2010u);
  EXPECT_TRUE(host.dialogs_shown().empty());
}

TEST(Dispatch, LibmainRecordsTheInstanceAndAnswersOne) {
  Session s;
  EXPECT_EQ(libmain(s.module, 0x10000000), 1);
  EXPECT_EQ(s.module.instance, 0x10000000u);
  EXPECT_EQ(s.module.data.names.low(), 0);
  EXPECT_EQ(s.module.data.names.high(), 201);
}

}  // namespace
}  // namespace veltrum
