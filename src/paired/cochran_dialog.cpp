#include "paired/cochran_dialog.hpp"

#include <string>

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/run_state.hpp"

namespace veltrum {

namespace {

constexpr int count_limit = 11;
constexpr int value_limit = 11;

// The table holds 1001 rows of 10 columns; a larger table is refused before a value is kept, and
// a single column has nothing to compare (Q would be 0 on 0 degrees of freedom).
constexpr std::string_view rows_text = "Höchstens 1001 Zeilen (Blöcke) sind möglich!";
constexpr std::string_view columns_text = "Bitte 2 bis 10 Spalten (Bedingungen) angeben!";

}  // namespace

bool CochranDialog::start(DialogWindow& d) {
  row_ = column_ = 1;
  focus_and_select(d, IDC_COCHRAN_ROWS);
  return true;
}

// One Enter: the counts are read again, then the table is complete or the value field holds the
// next cell.
void CochranDialog::compute(DialogWindow& d) {
  const auto rows =
      read_bounded_number(d, IDC_COCHRAN_ROWS, count_limit, static_cast<std::int16_t>(CochranTable::max_rows + 1));
  if (!rows) {
    d.focus(IDC_COCHRAN_ROWS);
    return;
  }
  const auto columns = read_whole_number(d, IDC_COCHRAN_COLUMNS, count_limit);
  if (!columns) {
    d.focus(IDC_COCHRAN_COLUMNS);
    return;
  }
  if (*columns < 2 || *columns > CochranTable::max_columns) {
    reject(module_.host, d, IDC_COCHRAN_COLUMNS, columns_text);
    return;
  }
  if (*rows > CochranTable::max_rows) {
    reject(module_.host, d, IDC_COCHRAN_ROWS, rows_text);
    return;
  }
  table_.rows = *rows;
  table_.columns = *columns;
  if (row_ > table_.rows) {
    d.end(dialog_computed);
    return;
  }

  const std::string text = d.text(IDC_COCHRAN_VALUE, value_limit);
  const real value = read_number(text);
  if (text.empty() || (value != 0 && value != 1)) {
    d.focus(IDC_COCHRAN_VALUE);
    return;
  }
  table_.x(row_, column_) = to_float(value);
  if (column_ < table_.columns) {
    ++column_;
  } else {
    ++row_;
    column_ = 1;
  }

  const bool more = row_ <= table_.rows;
  d.set_text(IDC_COCHRAN_PROMPT, more ? number_text_trimmed(static_cast<float>(row_)) + ". Zeile, " +
                                            number_text_trimmed(static_cast<float>(column_)) + ". Spalte :"
                                      : "Eingabe Ende !");
  d.set_text(IDC_COCHRAN_VALUE, "");
  d.focus(more ? IDC_COCHRAN_VALUE : IDC_RECHNEN);
}

}  // namespace veltrum
