#include "frame/dialog.hpp"

#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "frame/picture.hpp"

namespace veltrum {

Point centred_position(int screen_width, int screen_height, int caption_height, const Rect& dialog) {
  return {(screen_width - dialog.width()) / 3, (screen_height - (dialog.height() + caption_height)) / 2};
}

void centre(Host& host, DialogWindow& dialog) {
  const Point p = centred_position(host.metric(Metric::screen_width), host.metric(Metric::screen_height),
                                   host.metric(Metric::caption_height), dialog.window_rect());
  dialog.move(p.x, p.y);
  dialog.focus(2);
  dialog.kill_focus(2);
}

void focus_and_select(DialogWindow& dialog, int id) {
  dialog.focus(id);
  dialog.select_text(id);
}

void reject(Host& host, DialogWindow& dialog, int id, std::string_view text) {
  caution_box(host, text);
  focus_and_select(dialog, id);
}

std::optional<std::int16_t> read_whole_number(const DialogWindow& dialog, int id, int limit) {
  const std::string text = dialog.text(id, limit);
  if (text.empty()) return std::nullopt;
  return to_int16(read_number(text));
}

std::optional<std::int16_t> read_bounded_number(const DialogWindow& dialog, int id, int limit, std::int16_t too_large) {
  const std::string text = dialog.text(id, limit);
  if (text.empty()) return std::nullopt;
  const real value = round_even(read_number(text));
  return value > INT16_MAX ? too_large : to_int16(value);
}

void fill_variable_lists(DataFileArrays& data, DialogWindow& dialog, VariableList group,
                         std::initializer_list<VariableList> targets) {
  data.names[0] = "<Keine>";
  for (int i = 0; i <= data.names.high() && !data.names[i].empty(); ++i) {
    dialog.insert_item(group.id, i, data.names[i]);
    if (i >= 1)
      for (const auto& t : targets) dialog.insert_item(t.id, i - 1, data.names[i]);
  }
  data.names[0].clear();
  dialog.close_dropdown(group.id);
  for (const auto& t : targets) dialog.close_dropdown(t.id);
  dialog.select(group.id, group.variable);
  for (const auto& t : targets)
    if (t.variable > 0) dialog.select(t.id, t.variable - 1);
}

void fill_variable_name_lists(const DataFileArrays& data, DialogWindow& dialog,
                              std::initializer_list<VariableList> lists) {
  for (int i = 1; i <= data.names.high() && !data.names[i].empty(); ++i)
    for (const auto& l : lists) dialog.insert_item(l.id, i - 1, data.names[i]);
  for (const auto& l : lists) {
    dialog.close_dropdown(l.id);
    if (l.variable > 0) dialog.select(l.id, l.variable - 1);
  }
}

bool confirm_group_number_without_variable(Host& host, DialogWindow& dialog, int group_list, int group_variable,
                                           std::int16_t& group_number) {
  if (group_variable != 0 || group_number <= 0) return true;
  const std::string question = "Soll die Gruppennummer '" + number_text_trimmed(group_number) + "' ignoriert werden?";
  if (ask_yes_no(host, join_lines({"Sie haben keine Gruppenvariable eingegeben.", "", question}))) {
    group_number = 0;
    return true;
  }
  dialog.focus(group_list);
  return false;
}

}  // namespace veltrum
