#include "paired/sign_test.hpp"

#include "frame/distribution.hpp"
#include "frame/numbers.hpp"
#include "frame/report.hpp"

namespace veltrum {

SignTest sign_test(const PairTable& table) {
  SignTest s;
  int minus = 0, zero = 0, plus = 0;
  for (int i = 1; i <= table.n; ++i) {
    const float d = to_float(static_cast<real>(table.x[i]) - table.y[i]);
    if (d < 0)
      ++minus;
    else if (d > 0)
      ++plus;
    else
      ++zero;
  }
  s.minus = static_cast<float>(minus);
  s.zero = static_cast<float>(zero);
  s.plus = static_cast<float>(plus);
  s.signed_pairs = static_cast<float>(to_int32(static_cast<real>(table.n) - zero));
  s.k = plus > minus ? s.minus : s.plus;
  // n* = 0 (all pairs tied) is passed on as it is.
  s.p1 = FNBinomial(s.signed_pairs, s.k, 0.5f);
  s.p2 = s.p1 <= 0.5f ? to_float(2.0L * s.p1) : 1.0f;
  s.used = table.used;
  return s;
}

std::vector<PValue> SignTest::p_values() const {
  return {{"k", p1, Obtained::exact, Sides::one}, {"k", p2, Obtained::exact}};
}

void write_sign_test(ReportFile& rep, const SignTest& s) {
  rep.line("Vorzeichen   |     -     0     +  |");
  rep.line("-----------------------------------");
  rep.write("Häufigkeiten |");
  rep.picture(" #####", s.minus);
  rep.picture(" #####", s.zero);
  rep.picture(" #####", s.plus);
  rep.line("  |");
  rep.line();
  rep.write("Binomial-Wahrscheinlichkeit p =");
  rep.picture("##.######", s.p1);
  rep.line(" (exakt, ein!seitig)");
  rep.write("Binomial-Wahrscheinlichkeit p =");
  rep.picture("##.###### (exakt, zweiseitig)", s.p2);
  rep.end_line();
  rep.line();
  rep.line();
  rep.line("Literatur:");
  rep.line("Dixon, W.J., Mood, A.M.: The Statistical Sign Test.");
  rep.line("Journal of the American Statistical Association 41 (1946), 557-566.");
}

}  // namespace veltrum
