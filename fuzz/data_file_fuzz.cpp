// The data file reader and the record walker on any bytes: the header line, every column by both
// field readers, and one walk per group variable with the range check on.
#include <cmath>

#include "frame/data_file.hpp"
#include "frame/module.hpp"
#include "frame/records.hpp"
#include "fuzz_support.hpp"
#include "headless/headless_host.hpp"

using namespace veltrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  headless::Settings settings;
  settings.drive_c = fuzz::drive_c();
  static headless::HeadlessHost* host = new headless::HeadlessHost(settings);
  fuzz::write_file(fuzz::drive_c() + "/daten.dat", {reinterpret_cast<const char*>(data), size});
  Module module(*host);
  module.data_file_name = "C:\\daten.dat";
  std::int16_t count = 0;
  read_header(module, count);
  VELTRUM_FUZZ_CHECK(count >= 0 && count <= max_variables, "variable count in range");
  if (count == 0) return 0;
  const int group = 1 + (size > 0 ? data[0] : 0) % count;
  RecordWalk walk;
  walk.group_variable = group;
  int records = 0;
  try {
    walk_records(module, walk, [&](std::string_view line, std::int16_t g) {
      ++records;
      VELTRUM_FUZZ_CHECK(g >= min_group_number && g <= max_group_number || g == module.data.missing[group],
                         "a group taken is in range or missing");
      for (int c = 1; c <= count; ++c) {
        const float v = field_value(module.data, line, c);
        VELTRUM_FUZZ_CHECK(std::isfinite(v), "a field value is a finite float");
        integer_field_value(module.data, line, c);
      }
    });
    std::vector<int> columns;
    for (int c = 1; c <= count && c <= 8; ++c) columns.push_back(c);
    ColumnTable table;
    walk.range = GroupRange::unchecked;
    read_columns(module, walk, columns, table);
    VELTRUM_FUZZ_CHECK(table.rows() <= records + 1000000, "rows");
  } catch (const std::exception&) {
    // A file that cannot be opened is a RunError: the loaders' trap takes it.
  }
  return 0;
}
