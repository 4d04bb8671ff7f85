#include "headless/script.hpp"

#include <charconv>
#include <stdexcept>

namespace veltrum::script {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Splits off the first blank-separated word.
std::string_view next_word(std::string_view& rest) {
  rest = trim(rest);
  const auto end = rest.find_first_of(" \t");
  const std::string_view word = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
  return word;
}

int to_int(std::string_view word, int line, const char* what) {
  int value = 0;
  const auto [p, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (word.empty() || ec != std::errc{} || p != word.data() + word.size())
    throw std::invalid_argument("script line " + std::to_string(line) + ": " + what + " expected, found '" +
                                std::string(word) + "'");
  return value;
}

struct VerbName {
  std::string_view name;
  Verb verb;
};
constexpr VerbName verbs[] = {
    {"type", Verb::type},         {"pick", Verb::pick},     {"choose", Verb::choose}, {"select", Verb::select},
    {"unselect", Verb::unselect}, {"tick", Verb::tick},     {"untick", Verb::untick}, {"press", Verb::press},
    {"enter", Verb::enter},       {"escape", Verb::escape}, {"answer", Verb::answer},
};

}  // namespace

std::deque<Action> parse(std::string_view text) {
  std::deque<Action> actions;
  // An editor's UTF-8 byte order mark is no part of the first action.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int line_no = 0;
  while (!text.empty()) {
    // A line ends at CR, LF or CR LF.
    const auto eol = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, eol);
    std::size_t next = eol == std::string_view::npos ? text.size() : eol + 1;
    if (eol != std::string_view::npos && text[eol] == '\r' && next < text.size() && text[next] == '\n') ++next;
    text = text.substr(next);
    ++line_no;
    if (trim(line).empty() || trim(line).front() == '#') continue;

    std::string_view rest = line;
    const std::string_view word = next_word(rest);
    Action a;
    a.line = line_no;
    bool known = false;
    for (const auto& v : verbs)
      if (v.name == word) a.verb = v.verb, known = true;
    if (!known)
      throw std::invalid_argument("script line " + std::to_string(line_no) + ": unknown action '" + std::string(word) +
                                  "'");
    switch (a.verb) {
      case Verb::type:
        a.id = to_int(next_word(rest), line_no, "control id");
        // The text is the rest of the line after exactly one separating blank.
        a.text = std::string(rest);
        break;
      case Verb::choose:
        a.id = to_int(next_word(rest), line_no, "control id");
        a.text = std::string(trim(rest));
        break;
      case Verb::pick:
      case Verb::select:
      case Verb::unselect:
        a.id = to_int(next_word(rest), line_no, "control id");
        a.index = to_int(next_word(rest), line_no, "entry number");
        break;
      case Verb::tick:
      case Verb::untick:
      case Verb::press:
        a.id = to_int(next_word(rest), line_no, "control id");
        break;
      case Verb::answer: {
        const std::string_view ans = next_word(rest);
        if (ans != "yes" && ans != "no" && ans != "ok")
          throw std::invalid_argument("script line " + std::to_string(line_no) + ": answer yes, no or ok");
        a.text = std::string(ans);
        break;
      }
      case Verb::enter:
      case Verb::escape:
        break;
    }
    if (a.verb != Verb::type && !trim(rest).empty() && a.verb != Verb::choose)
      throw std::invalid_argument("script line " + std::to_string(line_no) + ": unexpected '" +
                                  std::string(trim(rest)) + "'");
    actions.push_back(std::move(a));
  }
  return actions;
}

std::string where(const Action& a) { return a.origin.empty() ? "script line " + std::to_string(a.line) : a.origin; }

std::string printable(std::string_view text) {
  static constexpr char hex[] = "0123456789abcdef";
  std::string out;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) {
      out += "\\x";
      out += hex[b >> 4];
      out += hex[b & 15];
    } else {
      out += c;
    }
  }
  return out;
}

std::string to_string(const Action& a) {
  const auto name = [&] {
    for (const auto& v : verbs)
      if (v.verb == a.verb) return std::string(v.name);
    return std::string("?");
  }();
  switch (a.verb) {
    case Verb::type:
    case Verb::choose:
      return name + " " + std::to_string(a.id) + " " + a.text;
    case Verb::pick:
    case Verb::select:
    case Verb::unselect:
      return name + " " + std::to_string(a.id) + " " + std::to_string(a.index);
    case Verb::tick:
    case Verb::untick:
    case Verb::press:
      return name + " " + std::to_string(a.id);
    case Verb::answer:
      return name + " " + a.text;
    default:
      return name;
  }
}

}  // namespace veltrum::script
