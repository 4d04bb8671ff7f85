#include "paired/cochran.hpp"

#include "frame/distribution.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"

namespace veltrum {

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
  for (int i = 1; i <= r; ++i) {
    std::vector<float>& row = result.table.emplace_back();
    for (int j = 1; j <= c; ++j) row.push_back(t.x(i, j));
  }
  return result;
}

void write_cochran(ReportFile& rep, const CochranQ& q) {
  rep.line("Eingegebene Daten:");
  rep.line();
  int i = 0;
  for (const auto& row : q.table) {
    rep.picture("##", static_cast<float>(++i));
    rep.write(": ");
    for (const float x : row) rep.picture("##", x);
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

}  // namespace veltrum
