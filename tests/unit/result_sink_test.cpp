// The result value of a run: every letter of the catalogue hands exactly one result, of its own
// struct, to the module's result sink when it writes its report, and none when the run stops.
// The letters' own statistics are tested in their files; this pins the plumbing once.
#include <gtest/gtest.h>

#include <filesystem>
#include <typeindex>

#include "frame/catalogue.hpp"
#include "frequency/binomial.hpp"
#include "frequency/goodness_of_fit.hpp"
#include "frequency/information.hpp"
#include "frequency/two_frequencies.hpp"
#include "independent/kolmogorov_smirnov.hpp"
#include "independent/kruskal_wallis.hpp"
#include "independent/mann_whitney.hpp"
#include "independent/mantel_haenszel.hpp"
#include "independent/median_test.hpp"
#include "paired/cochran.hpp"
#include "paired/cross_over.hpp"
#include "paired/friedman.hpp"
#include "paired/sign_test.hpp"
#include "paired/wilcoxon_pairs.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

struct Taken {
  std::string letter;
  std::type_index type;
};

class Recorder : public ResultSink {
 public:
  void take(const CatalogueEntry& test, const ResultRef& result) override {
    taken.push_back({std::string(test.letter), std::type_index(result.type())});
  }
  std::vector<Taken> taken;
};

// One computing pass per letter (the options of the README's examples, as `veltrum
// --print-script` types them); the dialog that comes back finds no actions and is cancelled.
struct LetterRun {
  std::string_view letter;
  std::string_view example;  // the data file in examples/, empty for typed input
  std::string_view script;
  std::type_index result;
};
const LetterRun runs[] = {
    {"K", "airquality.dat", "pick 201 4\npick 401 0\ntype 403 0\nenter", typeid(KruskalWallis)},
    {"T", "insectsprays.dat", "pick 201 1\npick 401 0\ntype 403 0\nenter", typeid(MantelHaenszel)},
    {"N", "mtcars.dat", "pick 201 4\npick 401 1\ntype 403 1\ntype 404 2\nenter", typeid(MantelHaenszel)},
    {"U", "toothgrowth.dat", "pick 201 1\npick 401 0\ntype 403 1\ntype 404 2\nenter", typeid(UTest)},
    {"W", "sleep.dat", "pick 203 1\npick 211 2\nenter", typeid(WilcoxonPairs)},
    {"V", "sleep.dat", "pick 203 1\npick 211 2\nenter", typeid(SignTest)},
    {"E", "toothgrowth.dat", "pick 201 1\npick 401 0\ntype 403 1\ntype 404 2\nenter", typeid(MedianTest)},
    {"F", "roundingtimes.dat", "select 107 0\nselect 107 1\nselect 107 2\nenter", typeid(Friedman)},
    {"O", "",
     "type 1304 2\ntype 1305 2\ntype 1308 1\nenter\ntype 1308 0\nenter\ntype 1308 1\nenter\ntype 1308 1\nenter\nenter",
     typeid(CochranQ)},
    {"S", "chickweight.dat", "pick 201 3\npick 401 0\ntype 403 1\ntype 404 2\nenter", typeid(KolmogorovSmirnov)},
    {"C", "asthma.dat", "pick 201 0\npick 401 1\npick 901 2\ntype 905 1\ntype 906 2\nenter", typeid(CrossOver)},
    {"H", "", "type 102 3\ntype 103 12\nenter", typeid(TwoFrequencies)},
    {"A", "", "type 1004 30\ntype 1104 0.5\nenter\ntype 1004 10\ntype 1104 0.5\nenter\ntype 1004 \ntype 1104 \nenter",
     typeid(GoodnessOfFit)},
    {"G", "", "type 1004 10\nenter\ntype 1004 30\nenter\ntype 1004 \nenter", typeid(GoodnessOfFit)},
    {"M", "", "", typeid(InformationText)},
    {"B", "", "type 901 25\ntype 902 7\ntype 903 0.4\nenter", typeid(BinomialTest)},
};

const LetterRun* run_of(std::string_view letter) {
  for (const auto& run : runs)
    if (run.letter == letter) return &run;
  return nullptr;
}

// A session with the run's data file as C:\daten.dat and the recorder as the result sink.
struct SinkSession : testing::Session {
  explicit SinkSession(const LetterRun& run) : letter(run.letter) {
    module.result_sink = &recorder;
    if (!run.example.empty())
      std::filesystem::copy_file(std::filesystem::path(VELTRUM_EXAMPLES_DIR) / run.example, drive.path() / "daten.dat");
  }
  int play(std::string_view script) { return run(letter, script, "C:\\daten.dat"); }
  std::string_view letter;
  Recorder recorder;
};

TEST(ResultSink, EveryLetterHandsOneResultWithItsReport) {
  for (const CatalogueEntry& test : test_catalogue()) {
    SCOPED_TRACE(std::string(test.letter));
    const LetterRun* run = run_of(test.letter);
    ASSERT_NE(run, nullptr) << "a letter of the catalogue needs its row in `runs`";
    SinkSession s(*run);
    s.play(run->script);
    EXPECT_TRUE(s.host.messages().empty());
    ASSERT_EQ(s.recorder.taken.size(), 1u);
    EXPECT_EQ(s.recorder.taken[0].letter, test.letter);
    EXPECT_EQ(s.recorder.taken[0].type, run->result);
    // The report (or the information text) went to the viewer once.
    EXPECT_EQ(s.host.viewer_calls().size(), 1u);
  }
}

TEST(ResultSink, NoResultWhenTheRunStops) {
  for (const CatalogueEntry& test : test_catalogue()) {
    if (test.dialog_template.empty()) continue;  // M has no dialog to cancel
    SCOPED_TRACE(std::string(test.letter));
    SinkSession s(*run_of(test.letter));
    // Cancelled in the dialog.
    s.play("escape");
    EXPECT_TRUE(s.recorder.taken.empty());
    EXPECT_TRUE(s.host.viewer_calls().empty());
  }
  // Stopped after the dialog: a message, no report, no result.
  for (const auto& [letter, script] :
       {std::pair{"H", "type 102 0\ntype 103 0\nenter"}, std::pair{"G", "type 1004 10\nenter\ntype 1004 \nenter"},
        std::pair{"U", "pick 201 1\npick 401 0\ntype 403 1\ntype 404 7\nenter"}}) {
    SCOPED_TRACE(letter);
    SinkSession s(*run_of(letter));
    s.play(script);
    EXPECT_FALSE(s.host.messages().empty());
    EXPECT_TRUE(s.recorder.taken.empty());
    EXPECT_TRUE(s.host.viewer_calls().empty());
  }
}

TEST(ResultSink, ResultRefGivesOnlyItsOwnStruct) {
  const TwoFrequencies h = compare_frequencies(3, 12);
  const ResultRef ref(h);
  ASSERT_NE(ref.get<TwoFrequencies>(), nullptr);
  EXPECT_EQ(ref.get<TwoFrequencies>()->n2, 12);
  EXPECT_EQ(ref.get<BinomialTest>(), nullptr);
}

}  // namespace
}  // namespace veltrum
