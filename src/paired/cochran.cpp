#include "paired/cochran.hpp"

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "frame/distribution.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"
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

CochranQ cochran_q(const CochranTable& t) {
  CochranQ result;
  const int r = t.rows > 0 ? t.rows : 0, c = t.columns;
  real total = 0, row_squares = 0, column_squares = 0;
  for (int i = 1; i <= r; ++i) {
    float row = 0;  // L(i)
    for (int j = 1; j <= c; ++j) row = to_float(row + static_cast<real>(t.x(i, j)));
    total += row;
    row_squares += static_cast<real>(row) * row;
  }
  for (int j = 1; j <= c; ++j) {
    float column = 0;  // C(j)
    for (int i = 1; i <= r; ++i) column = to_float(column + static_cast<real>(t.x(i, j)));
    column_squares += static_cast<real>(column) * column;
  }
  // (c - 1) c sum (C(j) - mean C)^2 = (c - 1) (c sum C(j)^2 - G^2), exact in whole numbers.
  const real between = (c - 1) * (c * column_squares - total * total);
  const real within = c * total - row_squares;
  result.q = within == 0 ? 0.0f : to_float(between / within);
  result.df = c - 1;
  result.p = FNChiUpper(result.df, result.q);
  return result;
}

void write_cochran(ReportFile& rep, const CochranTable& t, const CochranQ& q) {
  rep.line("Eingegebene Daten:");
  rep.line();
  for (int i = 1; i <= t.rows; ++i) {
    rep.picture("##", static_cast<float>(i));
    rep.write(": ");
    for (int j = 1; j <= t.columns; ++j) rep.picture("##", t.x(i, j));
    rep.end_line();
  }
  rep.line();
  rep.write("Cochran's Q =");
  rep.picture("####.####", q.q);
  rep.write(" : Chi² mit df =");
  rep.picture("###", static_cast<float>(q.df));
  rep.picture(" ( p =##.######)", q.p);
  rep.end_line();
  rep.line();
  rep.line("Literatur:");
  rep.line("Cochran, W.G.: The comparison of percentages in matched samples.");
  rep.line("   Biometrika 37 (1950), 256-266.");
  rep.line("Lienert, G.A.: Verteilungsfreie Methoden in der Biostatistik, Band 1.");
  rep.line("   Hain, Meisenheim am Glan 1973.");
}

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
