// Dixon and Mood's sign test for two related samples: the counts of pairs with x < y, x = y and
// x > y, and the exact binomial probability of the smaller of the two signed counts under
// p = 1/2, one- and two-sided.
//
// Reference: Dixon, W.J., Mood, A.M.: The Statistical Sign Test. Journal of the American
// Statistical Association 41 (1946), 557-566.
#pragma once

#include <vector>

#include "frame/result.hpp"

#include "paired/pair_table.hpp"

namespace veltrum {

class ReportFile;

struct SignTest {
  float minus = 0, zero = 0, plus = 0;  // pairs with x - y < 0, = 0, > 0
  float signed_pairs = 0;               // n* = n - zero
  float k = 0;                          // the smaller signed count, plus when they are equal
  float p1 = 0;                         // P(X <= k), X ~ B(n*, 1/2)
  float p2 = 0;                         // 2 p1, or 1 when p1 exceeds 0.5
  DataUsed used;

  std::vector<PValue> p_values() const;
};

SignTest sign_test(const PairTable& table);

// The frequency table, the two probability lines and the literature block.
void write_sign_test(ReportFile& report, const SignTest& result);

}  // namespace veltrum
