#include "headless/templates.hpp"

#include <cctype>
#include <charconv>
#include <stdexcept>

#include "headless/codepage.hpp"

extern const char veltrum_resource_script[];
extern const unsigned long veltrum_resource_script_size;
extern const char veltrum_resource_header[];
extern const unsigned long veltrum_resource_header_size;

namespace veltrum::headless {

namespace {

struct Token {
  enum Kind { word, string, comma, bar } kind;
  std::string text;
};

[[noreturn]] void fail(int line, const std::string& what) {
  throw std::invalid_argument("resource script line " + std::to_string(line) + ": " + what);
}

std::vector<Token> tokenize(std::string_view line, int line_no) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
      break;
    } else if (c == ',') {
      tokens.push_back({Token::comma, ","}), ++i;
    } else if (c == '|') {
      tokens.push_back({Token::bar, "|"}), ++i;
    } else if (c == '"') {
      std::string text;
      ++i;
      for (;;) {
        if (i >= line.size()) fail(line_no, "unterminated string");
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            text += '"', i += 2;
            continue;
          }
          ++i;
          break;
        }
        text += line[i++];
      }
      tokens.push_back({Token::string, text});
    } else {
      std::string text;
      while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])) && line[i] != ',' &&
             line[i] != '|' && line[i] != '"')
        text += line[i++];
      tokens.push_back({Token::word, text});
    }
  }
  return tokens;
}

// Comma-separated arguments, each a list of tokens (style expressions keep their "|").
std::vector<std::vector<Token>> arguments(const std::vector<Token>& tokens, std::size_t from) {
  std::vector<std::vector<Token>> args(1);
  for (std::size_t i = from; i < tokens.size(); ++i) {
    if (tokens[i].kind == Token::comma)
      args.emplace_back();
    else
      args.back().push_back(tokens[i]);
  }
  if (args.size() == 1 && args[0].empty()) args.clear();
  return args;
}

struct Parser {
  std::map<std::string, int, std::less<>> defines;
  bool utf8 = false;
  int line_no = 0;

  std::string text_of(const std::vector<Token>& arg) const {
    if (arg.size() != 1 || arg[0].kind != Token::string) fail(line_no, "text expected");
    return utf8 ? utf8_to_cp1252(arg[0].text) : arg[0].text;
  }

  int number_of(const std::vector<Token>& arg) const {
    if (arg.size() != 1 || arg[0].kind != Token::word) fail(line_no, "number or name expected");
    const std::string& w = arg[0].text;
    if (w == "IDC_STATIC") return -1;
    if (const auto it = defines.find(w); it != defines.end()) return it->second;
    int value = 0;
    const auto [p, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
    if (ec != std::errc{} || p != w.data() + w.size()) fail(line_no, "unknown name " + w);
    return value;
  }

  static std::vector<std::string> words_of(const std::vector<Token>& arg) {
    std::vector<std::string> words;
    for (const auto& t : arg)
      if (t.kind == Token::word) words.push_back(t.text);
    return words;
  }

  static bool has(const std::vector<std::string>& words, std::string_view w) {
    for (const auto& x : words)
      if (x == w) return true;
    return false;
  }

  void place(ControlTemplate& c, const std::vector<std::vector<Token>>& a, std::size_t at) const {
    if (a.size() < at + 4) fail(line_no, "position and size expected");
    c.x = number_of(a[at]), c.y = number_of(a[at + 1]), c.cx = number_of(a[at + 2]), c.cy = number_of(a[at + 3]);
  }

  ControlTemplate control(const std::vector<Token>& tokens) const {
    const std::string& kw = tokens[0].text;
    const auto a = arguments(tokens, 1);
    ControlTemplate c;
    const auto texted = [&](ControlKind kind) {
      if (a.size() < 6) fail(line_no, kw + ": text, id, x, y, cx, cy expected");
      c.kind = kind, c.text = text_of(a[0]), c.id = number_of(a[1]);
      place(c, a, 2);
    };
    const auto plain = [&](ControlKind kind) {
      if (a.size() < 5) fail(line_no, kw + ": id, x, y, cx, cy expected");
      c.kind = kind, c.id = number_of(a[0]);
      place(c, a, 1);
      if (a.size() > 5) {
        const auto style = words_of(a[5]);
        c.multi_select = has(style, "LBS_MULTIPLESEL") || has(style, "LBS_EXTENDEDSEL");
      }
    };
    if (kw == "LTEXT" || kw == "RTEXT" || kw == "CTEXT")
      texted(ControlKind::static_text);
    else if (kw == "PUSHBUTTON" || kw == "DEFPUSHBUTTON")
      texted(ControlKind::button);
    else if (kw == "GROUPBOX")
      texted(ControlKind::group_box);
    else if (kw == "AUTOCHECKBOX" || kw == "CHECKBOX")
      texted(ControlKind::check_box);
    else if (kw == "EDITTEXT")
      plain(ControlKind::edit);
    else if (kw == "COMBOBOX")
      plain(ControlKind::combo_box);
    else if (kw == "LISTBOX")
      plain(ControlKind::list_box);
    else if (kw == "CONTROL") {
      if (a.size() < 8) fail(line_no, "CONTROL: text, id, class, style, x, y, cx, cy expected");
      c.text = text_of(a[0]);
      c.id = number_of(a[1]);
      std::string cls = a[2].size() == 1 ? a[2][0].text : "";
      for (auto& ch : cls) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      const auto style = words_of(a[3]);
      if (cls == "button")
        c.kind = has(style, "BS_AUTOCHECKBOX") || has(style, "BS_CHECKBOX") ? ControlKind::check_box
                 : has(style, "BS_GROUPBOX")                                ? ControlKind::group_box
                                                                            : ControlKind::button;
      else if (cls == "edit")
        c.kind = ControlKind::edit;
      else if (cls == "combobox")
        c.kind = ControlKind::combo_box;
      else if (cls == "listbox") {
        c.kind = ControlKind::list_box;
        c.multi_select = has(style, "LBS_MULTIPLESEL") || has(style, "LBS_EXTENDEDSEL");
      } else
        c.kind = ControlKind::static_text;
      place(c, a, 4);
    } else {
      fail(line_no, "unknown control statement " + kw);
    }
    return c;
  }
};

void read_defines(Parser& p, std::string_view header) {
  std::size_t pos = 0;
  while (pos < header.size()) {
    const auto eol = header.find('\n', pos);
    const std::string_view line =
        header.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
    pos = eol == std::string_view::npos ? header.size() : eol + 1;
    const auto t = tokenize(line, 0);
    if (t.size() >= 3 && t[0].text == "#define") {
      int value = 0;
      const std::string& w = t[2].text;
      if (std::from_chars(w.data(), w.data() + w.size(), value).ec == std::errc{}) p.defines[t[1].text] = value;
    }
  }
}

}  // namespace

std::map<std::string, DialogTemplate, std::less<>> parse_resource_script(std::string_view script,
                                                                         std::string_view header) {
  Parser p;
  read_defines(p, header);
  std::map<std::string, DialogTemplate, std::less<>> templates;
  DialogTemplate* current = nullptr;
  bool in_body = false;

  std::size_t pos = 0;
  std::string pending;  // a statement continued on the next line after "," or "|"
  while (pos < script.size()) {
    const auto eol = script.find('\n', pos);
    std::string line(script.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos));
    pos = eol == std::string_view::npos ? script.size() : eol + 1;
    ++p.line_no;
    if (!pending.empty()) line = pending + " " + line, pending.clear();

    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) continue;
    if (line[first] == '#') {
      if (line.find("code_page") != std::string::npos) p.utf8 = line.find("65001") != std::string::npos;
      continue;
    }
    auto tokens = tokenize(line, p.line_no);
    if (tokens.empty()) continue;
    if (tokens.back().kind == Token::comma || tokens.back().kind == Token::bar) {
      pending = line;
      continue;
    }
    const std::string& kw = tokens[0].text;
    if (in_body) {
      if (kw == "END" || kw == "}") {
        in_body = false, current = nullptr;
        continue;
      }
      current->controls.push_back(p.control(tokens));
      continue;
    }
    if (current) {
      if (kw == "BEGIN" || kw == "{")
        in_body = true;
      else if (kw == "CAPTION")
        current->caption = p.text_of(arguments(tokens, 1).at(0));
      else if (kw == "STYLE")
        current->style = Parser::words_of(tokens);
      else if (kw == "FONT") {
        const auto a = arguments(tokens, 1);
        if (a.size() < 2) fail(p.line_no, "FONT size, name expected");
        current->font_size = p.number_of(a[0]);
        current->font = p.text_of(a[1]);
      } else if (kw != "EXSTYLE" && kw != "LANGUAGE")
        fail(p.line_no, "unknown dialog statement " + kw);
      continue;
    }
    if (tokens.size() >= 2 && (tokens[1].text == "DIALOG" || tokens[1].text == "DIALOGEX")) {
      const auto a = arguments(tokens, 2);
      if (a.size() < 4) fail(p.line_no, "DIALOG x, y, cx, cy expected");
      DialogTemplate& t = templates[kw];
      t = DialogTemplate{};
      t.name = kw;
      t.x = p.number_of(a[0]), t.y = p.number_of(a[1]), t.cx = p.number_of(a[2]), t.cy = p.number_of(a[3]);
      current = &t;
    }
    // Other resources (icons, ...) are of no interest here.
  }
  return templates;
}

std::map<int, std::string> parse_string_table(std::string_view script, std::string_view header) {
  Parser p;
  read_defines(p, header);
  std::map<int, std::string> strings;
  enum { outside, table, body } where = outside;
  std::size_t pos = 0;
  while (pos < script.size()) {
    const auto eol = script.find('\n', pos);
    const std::string_view line =
        script.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
    pos = eol == std::string_view::npos ? script.size() : eol + 1;
    ++p.line_no;
    if (const auto first = line.find_first_not_of(" \t\r"); first != std::string_view::npos && line[first] == '#') {
      if (line.find("code_page") != std::string_view::npos) p.utf8 = line.find("65001") != std::string_view::npos;
      continue;
    }
    const auto tokens = tokenize(line, p.line_no);
    if (tokens.empty()) continue;
    const std::string& kw = tokens[0].text;
    if (where == outside) {
      if (kw == "STRINGTABLE") where = table;
    } else if (where == table) {
      if (kw == "BEGIN" || kw == "{") where = body;
    } else if (kw == "END" || kw == "}") {
      where = outside;
    } else {
      const auto a = arguments(tokens, 0);
      // ID "text" or ID, "text"
      if (a.size() == 2) {
        strings[p.number_of(a[0])] = p.text_of(a[1]);
      } else if (a.size() == 1 && a[0].size() == 2) {
        strings[p.number_of({a[0][0]})] = p.text_of({a[0][1]});
      } else {
        fail(p.line_no, "string table entry: id and text expected");
      }
    }
  }
  return strings;
}

std::map<int, std::string> module_strings() {
  return parse_string_table(std::string_view(veltrum_resource_script, veltrum_resource_script_size),
                            std::string_view(veltrum_resource_header, veltrum_resource_header_size));
}

std::map<std::string, DialogTemplate, std::less<>> module_templates() {
  return parse_resource_script(std::string_view(veltrum_resource_script, veltrum_resource_script_size),
                               std::string_view(veltrum_resource_header, veltrum_resource_header_size));
}

}  // namespace veltrum::headless
