// Letter C: the dialog "CROSS" as the resource script defines it.
#include <gtest/gtest.h>

#include "VELTRUM_R.h"
#include "test_support.hpp"

namespace veltrum {
namespace {

using headless::ControlKind;

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

}  // namespace
}  // namespace veltrum
