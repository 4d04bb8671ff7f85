// Fisher's exact test of a 2x2 table, one-sided and two-sided, summed over the hypergeometric
// distribution of the top-left cell in extended precision.
//
// The table is first turned (rows and columns exchanged, never transposed) so that the top-left
// cell is the smallest and lies in the row with the smaller share in the first column; the
// one-sided p is then the lower tail of that cell.  The two-sided p sums the tables whose
// difference of the row shares, N |a/(a+b) - c/(c+d)| rounded to a whole number, is at least the
// observed one (a rule on the distance, not on the probabilities; R's fisher.test sums the tables
// that are not more probable than the observed one, which can give a different two-sided p).
//
// References: Fisher, R.A.: Statistical Methods for Research Workers, 5th ed., section 21.02
// (1934); Siegel, S., Castellan, N.J.: Nonparametric Statistics for the Behavioral Sciences,
// 2nd ed., section 6.2 (1988).
#pragma once

namespace veltrum {

struct FisherExact {
  float one_sided = -1;  // -1 when the computation failed
  float two_sided = -1;
};

// The table with rows (a, b) and (c, d); the cells are counts carried as floats.  Both results
// are -1 when a cell is negative or not whole, or when the probability of the table with
// top-left cell 0 underflows even extended precision (below 1E-4900).  A table with an empty row
// is the only table with its margins: both p are 1.
FisherExact fisher_exact(float a, float b, float c, float d);

}  // namespace veltrum
