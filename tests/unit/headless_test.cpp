// The headless host's own machinery: templates read from the resource script, action scripts,
// Windows-1252 conversion, the "C:\" mapping and dialog placement.
#include <gtest/gtest.h>

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "headless/codepage.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

using headless::ControlKind;

TEST(Headless, HaufigTemplateComesFromTheResourceScript) {
  const auto templates = headless::module_templates();
  const auto it = templates.find("HAUFIG");
  ASSERT_NE(it, templates.end());
  const auto& t = it->second;
  EXPECT_EQ(t.caption, "Vergleich zweier H\xE4ufigkeiten.");
  EXPECT_EQ(t.font, "MS Sans Serif");
  EXPECT_EQ(t.font_size, 8);
  const auto find = [&](int id) {
    for (const auto& c : t.controls)
      if (c.id == id) return c;
    ADD_FAILURE() << "no control " << id;
    return headless::ControlTemplate{};
  };
  EXPECT_EQ(find(1).text, "&Rechnen");
  EXPECT_EQ(find(2).text, "&Abbrechen");
  EXPECT_EQ(find(3).text, "&L\xF6schen");
  EXPECT_EQ(find(1).kind, ControlKind::button);
  for (const int id : {101, 102, 103}) EXPECT_EQ(find(id).kind, ControlKind::edit);
  EXPECT_EQ(find(104).kind, ControlKind::group_box);
  EXPECT_EQ(find(105).text, "Stichwort zum Test:");
  EXPECT_EQ(find(106).text, "1. absolute H\xE4ufigkeit:");
  EXPECT_EQ(find(107).text, "2. absolute H\xE4ufigkeit:");
}

TEST(Headless, StringTableGivesTextsByIdAndTemplatesIgnoreIt) {
  const std::string script =
      "#pragma code_page(65001)\n"
      "STRINGTABLE\nBEGIN\n  IDS_A \"Gr\xC3\xBC\xC3\x9F"
      "e.\"\n  7, \"zweite\"\nEND\n"
      "X DIALOG 1, 2, 3, 4\nCAPTION \"x\"\nBEGIN\nEND\n";
  const auto strings = headless::parse_string_table(script, "#define IDS_A 51\n");
  EXPECT_EQ(strings, (std::map<int, std::string>{{51,
                                                  "Gr\xFC\xDF"
                                                  "e."},
                                                 {7, "zweite"}}));
  EXPECT_EQ(headless::parse_resource_script(script, "#define IDS_A 51\n").size(), 1u);
  EXPECT_THROW(headless::parse_string_table("STRINGTABLE\nBEGIN\n 5\nEND\n", ""), std::invalid_argument);

  // The module's own table, through the host.
  headless::HeadlessHost host;
  EXPECT_EQ(host.resource_text(IDS_CAPTION_MANTEL_K), "Mantel-Haenszel-Zimmermann-Test (k Gruppen).");
  EXPECT_EQ(host.resource_text(9999), "");
}

TEST(Headless, ResourceScriptParserReadsEveryControlForm) {
  const char* header = "#define IDC_A 301\n#define IDC_L 302\n";
  const char* script =
      "#pragma code_page(1252)\n"
      "X DIALOG 1, 2, 100, 50\n"
      "STYLE DS_MODALFRAME | WS_POPUP\n"
      "CAPTION \"Say \"\"hi\"\"\"\n"
      "FONT 8, \"MS Sans Serif\"\n"
      "BEGIN\n"
      "  AUTOCHECKBOX \"Liste\", IDC_A, 1, 1, 10, 10\n"
      "  LISTBOX IDC_L, 1, 1, 10, 10, LBS_EXTENDEDSEL |\n"
      "      WS_VSCROLL\n"
      "  COMBOBOX 201, 1, 1, 10, 10, CBS_DROPDOWN | WS_VSCROLL\n"
      "  CONTROL \"Opt\", 401, \"Button\", BS_AUTOCHECKBOX | WS_TABSTOP, 1, 1, 10, 10\n"
      "  LTEXT \"Label\", IDC_STATIC, 1, 1, 10, 10\n"
      "END\n";
  const auto t = headless::parse_resource_script(script, header).at("X");
  EXPECT_EQ(t.caption, "Say \"hi\"");
  ASSERT_EQ(t.controls.size(), 5u);
  EXPECT_EQ(t.controls[0].kind, ControlKind::check_box);
  EXPECT_EQ(t.controls[0].id, 301);
  EXPECT_EQ(t.controls[1].kind, ControlKind::list_box);
  EXPECT_TRUE(t.controls[1].multi_select);
  EXPECT_EQ(t.controls[2].kind, ControlKind::combo_box);
  EXPECT_EQ(t.controls[3].kind, ControlKind::check_box);
  EXPECT_EQ(t.controls[4].id, -1);

  EXPECT_THROW(headless::parse_resource_script("Y DIALOG 1, 2, 3, 4\nBEGIN\n  SLIDER 1, 2\nEND\n", ""),
               std::invalid_argument);
  EXPECT_THROW(headless::parse_resource_script("Y DIALOG 1, 2, 3, 4\nBEGIN\n  EDITTEXT NOPE, 1, 1, 1, 1\nEND\n", ""),
               std::invalid_argument);
}

TEST(Headless, ScriptsParseEveryActionAndNameTheBadLine) {
  const auto actions = script::parse(
      "# a comment\n\ntype 102 12,5 x\r\npick 201 3\nchoose 201 Alter\nselect 5 1\nunselect 5 1\n"
      "tick 4\nuntick 4\npress 3\nenter\nescape\nanswer yes\ntype 101 \n");
  ASSERT_EQ(actions.size(), 12u);
  EXPECT_EQ(actions[0].text, "12,5 x");
  EXPECT_EQ(actions[0].id, 102);
  EXPECT_EQ(actions[1].index, 3);
  EXPECT_EQ(actions[2].text, "Alter");
  EXPECT_EQ(actions[10].text, "yes");
  EXPECT_EQ(actions[11].text, "");
  EXPECT_EQ(actions[11].line, 14);
  for (const char* bad : {"jump 3", "type x 1", "pick 201", "answer maybe", "enter now"}) {
    try {
      script::parse(std::string("enter\n") + bad);
      ADD_FAILURE() << bad;
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
  }
}

TEST(Headless, Windows1252ConvertsBothWays) {
  const std::string utf8 =
      "Pr\xC3\xBC"
      "fgr\xC3\xB6\xC3\x9F"
      "e Chi\xC2\xB2 \xE2\x82\xAC";
  const std::string cp =
      "Pr\xFC"
      "fgr\xF6\xDF"
      "e Chi\xB2 \x80";
  EXPECT_EQ(utf8_to_cp1252(utf8), cp);
  EXPECT_EQ(cp1252_to_utf8(cp), utf8);
  EXPECT_EQ(utf8_to_cp1252("\xE4\xB8\xAD"), "?");  // no Windows-1252 code
  EXPECT_EQ(utf8_to_cp1252("a\xC3"), "a?");        // cut short
}

TEST(Headless, DriveCMapsToADirectoryAndDropsTrailingDots) {
  testing::TempDrive drive;
  headless::Settings settings;
  settings.drive_c = drive.path().string();
  headless::HeadlessHost host(settings);
  EXPECT_EQ(host.real_path("C:\\Ausgabe."), (drive.path() / "Ausgabe").string());
  EXPECT_EQ(host.real_path("C:\\a\\b.dat"), (drive.path() / "a/b.dat").string());
  EXPECT_EQ(host.real_path("/tmp/x.dat"), "/tmp/x.dat");
  EXPECT_FALSE(host.file_exists(""));
  EXPECT_FALSE(host.file_exists("C:\\"));  // a directory is no data file
}

TEST(Headless, DialogsSitAtOneThirdOfTheScreenWidth) {
  // Screen 1024 wide, window 400 wide: (1024 - 400) / 3 = 208.
  const Point p = centred_position(1024, 768, 18, Rect{0, 0, 400, 300});
  EXPECT_EQ(p.x, 208);
  EXPECT_EQ(p.y, (768 - (300 + 18)) / 2);
  // Truncation toward zero also for a window wider than the screen.
  EXPECT_EQ(centred_position(100, 100, 0, Rect{0, 0, 105, 103}).x, -1);
  EXPECT_EQ(centred_position(100, 100, 0, Rect{0, 0, 105, 103}).y, -1);

  testing::Session s;
  Rect placed;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action&) { placed = d.window_rect(); };
  s.run("H", "escape");
  EXPECT_EQ(placed.left, (1024 - placed.width()) / 3);
}

}  // namespace
}  // namespace veltrum
