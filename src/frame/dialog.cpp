#include "frame/dialog.hpp"

#include "frame/messages.hpp"
#include "frame/number_reading.hpp"

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

}  // namespace veltrum
