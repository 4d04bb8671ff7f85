// Letters E and S through a whole Veltrum call on the example data files: the golden reports,
// and the check of the group sizes after loading.
#include "independent/distribution_tests.hpp"

#include <filesystem>
#include <fstream>

#include "rank_test_support.hpp"

namespace veltrum {
namespace {

// The example file `name` as C:\name; the target is variable 1.
struct ExampleSession : testing::Session {
  explicit ExampleSession(const std::string& name) : file(name) {
    std::filesystem::copy_file(std::filesystem::path(VELTRUM_EXAMPLES_DIR) / name, drive.path() / name);
  }
  // Group variable `group_index` (from 0 in the list), groups a and b, Rechnen; the dialog that
  // comes back is cancelled.
  int two_groups(std::string_view letter, int group_index, int a, int b, std::string_view before = {}) {
    return run(letter,
               std::string(before) + "pick 201 " + std::to_string(group_index) + "\npick 401 0\ntype 403 " +
                   std::to_string(a) + "\ntype 404 " + std::to_string(b) + "\nenter\nescape",
               "C:\\" + file);
  }
  std::string file;
};

TEST(MedianAndKsSessions, ReportsMatchTheGoldenFiles) {
  struct Case {
    const char* letter;
    const char* file;
    int group_index, a, b;
    const char* golden;
    const char* dialog;
  };
  const Case cases[] = {
      {"E", "toothgrowth.dat", 1, 1, 2, "E_toothgrowth.txt", "MEDIAN"},
      {"E", "chickweight.dat", 2, 7, 16, "E_chickweight.txt", "MEDIAN"},
      {"S", "plantgrowth.dat", 1, 2, 3, "S_plantgrowth.txt", "KOLMO"},
      {"S", "toothgrowth.dat", 1, 1, 2, "S_toothgrowth.txt", "KOLMO"},
      {"S", "chickweight.dat", 3, 1, 2, "S_chickweight.txt", "KOLMO"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.golden);
    ExampleSession s(c.file);
    EXPECT_EQ(s.two_groups(c.letter, c.group_index, c.a, c.b), 0);
    EXPECT_TRUE(s.host.messages().empty());
    EXPECT_EQ(s.host.viewer_calls().size(), 1u);
    EXPECT_EQ(s.host.dialogs_shown(), (std::vector<std::string>{c.dialog, c.dialog}));
    EXPECT_EQ(s.report(), testing::read_bytes(std::string(VELTRUM_GOLDEN_DIR "/") + c.golden));
  }
}

TEST(MedianAndKsSessions, GroupsOfOneValueAreRefused) {
  // Group 1 has a single value.
  for (const char* letter : {"E", "S"}) {
    SCOPED_TRACE(letter);
    testing::Session s;
    std::ofstream(s.drive.path() / "daten.dat", std::ios::binary)
        << "Gruppe;N;5;0 Wert;N;6;2\r\n     1   3.50\r\n     2   1.00\r\n     2   2.00\r\n";
    s.run(letter, "pick 201 0\npick 401 1\ntype 403 1\ntype 404 2\nenter\nescape", "C:\\daten.dat");
    ASSERT_EQ(s.host.messages().size(), 1u);
    EXPECT_EQ(s.host.messages()[0].text, "Der Stichprobenumfang mindestens einer Gruppe ist zu klein!");
    EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
    EXPECT_TRUE(s.host.viewer_calls().empty());
    EXPECT_EQ(s.module.dialog_result, 0);
    // The re-run request brings the dialog back: two dialogs, the second cancelled.
    EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
  }
}

TEST(MedianAndKsSessions, TooManyPooledValuesEndTheMedianTestWithTheIndexMessage) {
  // 1001 + 1001 values fill both groups but exceed the pooled table of 2001.
  testing::Session s;
  std::string bytes = "Gruppe;N;5;0 Wert;N;6;2\r\n";
  for (int i = 0; i < 2002; ++i)
    bytes += "     " + std::to_string(1 + i % 2) + "   " + std::to_string(i % 10) + ".00\r\n";
  std::ofstream(s.drive.path() / "daten.dat", std::ios::binary) << bytes;
  s.run("E", "pick 201 0\npick 401 1\ntype 403 1\ntype 404 2\nenter\nescape", "C:\\daten.dat");
  ASSERT_EQ(s.host.messages().size(), 1u);
  EXPECT_EQ(s.host.messages()[0].text,
            "Index\xfc"
            "berschreitung, vgl. Infos/Restriktionen!");
  EXPECT_EQ(s.host.messages()[0].caption, " Achtung!");
  EXPECT_TRUE(s.host.viewer_calls().empty());
}

}  // namespace
}  // namespace veltrum
