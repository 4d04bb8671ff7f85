// Dialog templates read from the module's resource script, for the headless host.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace veltrum::headless {

enum class ControlKind { button, check_box, edit, combo_box, list_box, static_text, group_box };

struct ControlTemplate {
  ControlKind kind = ControlKind::static_text;
  int id = -1;
  std::string text;                  // Windows-1252
  bool multi_select = false;         // list boxes with LBS_MULTIPLESEL or LBS_EXTENDEDSEL
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
};

struct DialogTemplate {
  std::string name;
  std::string caption;               // Windows-1252
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::string font;
  int font_size = 0;
  std::vector<std::string> style;
  std::vector<ControlTemplate> controls;
};

// Parses a resource script; `header` supplies the #define'd control ids.  Throws
// std::invalid_argument with the line number on a statement it does not understand.
std::map<std::string, DialogTemplate, std::less<>> parse_resource_script(std::string_view script,
                                                                         std::string_view header);

// The STRINGTABLE entries of a resource script (id and text, Windows-1252).
std::map<int, std::string> parse_string_table(std::string_view script, std::string_view header);

// The templates of the module's own resource script.
std::map<std::string, DialogTemplate, std::less<>> module_templates();
// Its texts.
std::map<int, std::string> module_strings();

}  // namespace veltrum::headless
