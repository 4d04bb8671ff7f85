// Fisher's exact test of a 2x2 table against R's fisher.test and a direct sum of R's dhyper.
#include "independent/fisher_exact.hpp"

#include <gtest/gtest.h>

namespace veltrum {
namespace {

struct Case {
  float a, b, c, d;
  double one_sided, two_sided;  // the reference; -1: the routine fails
  const char* source;
};

// R: t <- matrix(c(a, b, c, d), 2, byrow = TRUE).  One-sided: fisher.test(t, alternative = ...)
// on the side of the observed table.  Two-sided: where R's rule (tables no more probable than the
// observed one) and ours (tables at least as far from independence, N |a/r1 - c/r2| rounded) pick
// the same tables, fisher.test(t)$p.value; otherwise the sum over our rule,
//   dr <- function(a, b, c, d) { r1 <- a + b; r2 <- c + d; c1 <- a + c; N <- r1 + r2
//     x <- max(0, c1 - r2):min(r1, c1); p <- dhyper(x, r1, r2, c1)
//     sum(p[floor(N * abs(x / r1 - (c1 - x) / r2) + 0.5) >= floor(N * abs(a / r1 - c / r2) + 0.5)]) }
const Case cases[] = {
    {5, 1, 1, 5, 0.0400432900433, 0.0800865800866, "greater; fisher.test"},
    {2, 7, 8, 2, 0.0185217259521, 0.0230141375652, "less; fisher.test"},
    {3, 1, 1, 4, 0.166666666667, 0.206349206349, "greater; fisher.test"},
    {7, 2, 3, 8, 0.0348892593475, 0.0697785186949, "greater; fisher.test"},
    {12, 3, 5, 10, 0.0126638435168, 0.0253276870337, "greater; fisher.test"},
    {480, 520, 530, 470, 0.0141968481853, 0.0283936963707, "less; fisher.test"},
    {117, 103, 53, 67, 0.0699880769276, 0.139976153855, "greater; fisher.test"},
    // Top-left 0: the one-sided p is the table's own probability, dhyper(0, 5, 7, 4).
    {0, 5, 4, 3, 0.0707070707071, 0.0808080808081, "less; fisher.test"},
    // The smallest cell lies in the row with the larger share: the one-sided p is still the tail
    // on the observed side.  Here the two-sided rules differ: R's fisher.test gives 0.423076923077,
    // dr(1, 2, 1, 9) = 1 (every table is at least 3 from independence).
    {1, 2, 1, 9, 0.423076923077, 1, "greater; dr()"},
    // An empty column or row: the table is the only one with its margins.
    {0, 6, 0, 4, 1, 1, "dhyper(0, 6, 4, 0) = 1"},
    {3, 0, 5, 0, 1, 1, "dhyper(3, 3, 5, 8) = 1"},
    {0, 0, 3, 4, 1, 1, "the table with an empty row is fixed by its margins"},
    // P(0) = 1 / choose(40000, 20000), about 1E-12040, is below the extended range: no result.
    {10000, 10000, 10000, 10000, -1, -1, "underflow"},
    // Not a table of counts.
    {1.5f, 2, 3, 4, -1, -1, "not whole"},
    {-1, 2, 3, 4, -1, -1, "negative"},
};

TEST(FisherExact, MatchesRAndTurningTheTableChangesNothing) {
  for (const Case& t : cases) {
    SCOPED_TRACE(::testing::Message() << t.a << " " << t.b << " " << t.c << " " << t.d << " (" << t.source << ")");
    // The table as given, with its rows exchanged, its columns exchanged, and both.
    const float arrangements[4][4] = {
        {t.a, t.b, t.c, t.d}, {t.c, t.d, t.a, t.b}, {t.b, t.a, t.d, t.c}, {t.d, t.c, t.b, t.a}};
    for (const auto& x : arrangements) {
      const FisherExact r = fisher_exact(x[0], x[1], x[2], x[3]);
      EXPECT_NEAR(r.one_sided, t.one_sided, 1e-6 * (t.one_sided > 0 ? t.one_sided : 1));
      EXPECT_NEAR(r.two_sided, t.two_sided, 1e-6 * (t.two_sided > 0 ? t.two_sided : 1));
    }
  }
}

}  // namespace
}  // namespace veltrum
