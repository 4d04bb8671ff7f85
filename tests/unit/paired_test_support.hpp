// Helpers of the paired-test tests: pair tables filled in the test.
#pragma once

#include <vector>

#include "paired/pair_table.hpp"

namespace veltrum::testing {

inline PairTable make_pairs(const std::vector<float>& x, const std::vector<float>& y) {
  PairTable t;
  for (std::size_t i = 0; i < x.size(); ++i) t.add(x[i], y[i]);
  return t;
}

// Pairs (d(i), 0), so that the differences are exactly d.
inline PairTable pairs_with_differences(const std::vector<float>& d) {
  return make_pairs(d, std::vector<float>(d.size(), 0.0f));
}

// n distinct differences 1, -2, 3, -4, ... (no ties, no zeros).
inline std::vector<float> alternating(int n) {
  std::vector<float> d;
  for (int i = 1; i <= n; ++i) d.push_back(static_cast<float>(i % 2 ? i : -i));
  return d;
}

}  // namespace veltrum::testing
