#include "letters.hpp"

namespace veltrum::cli {

script::Action type_action(int id, const std::string& utf8_text) {
  script::Action a;
  a.verb = script::Verb::type, a.id = id, a.text = utf8_text;
  return a;
}

script::Action pick_action(int id, int index) {
  script::Action a;
  a.verb = script::Verb::pick, a.id = id, a.index = index;
  return a;
}

script::Action key_action(script::Verb enter_or_escape) {
  script::Action a;
  a.verb = enter_or_escape;
  return a;
}

}  // namespace veltrum::cli
