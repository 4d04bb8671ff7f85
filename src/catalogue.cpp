// The test catalogue: one entry per letter joins the test families to the frame's dispatch loop
// and to the command line.  A letter without an entry function is "not available" in this build.
#include "frame/catalogue.hpp"

#include "VELTRUM_R.h"
#include "frequency/binomial.hpp"
#include "frequency/goodness_of_fit.hpp"
#include "frequency/information.hpp"
#include "frequency/two_frequencies.hpp"
#include "independent/distribution_tests.hpp"
#include "independent/mantel_haenszel.hpp"
#include "independent/rank_tests.hpp"
#include "paired/blocked_tests.hpp"
#include "paired/cross_over_entry.hpp"
#include "paired/paired_tests.hpp"

namespace veltrum {

namespace {

constexpr CatalogueEntry catalogue[] = {
    {.letter = "K",
     .title = "Kruskal-Wallis-Test.",
     .dialog_template = "KRUSKAL",
     .needs_data_file = true,
     .entry = &kruskal_wallis_entry,
     .command_line = {"Kruskal-Wallis-Test: k groups of the data file, with Dunn-Holm and Nemenyi comparisons",
                      kruskal_wallis_options, "k-kruskal-wallis-test"}},
    {.letter = "T",
     .title = "Mantel-Haenszel-Zimmermann-Test (k Gruppen).",
     .dialog_template = "KRUSKAL",
     .needs_data_file = true,
     .entry = &mantel_haenszel_k_entry,
     .command_line = {"Mantel-Haenszel-Zimmermann-Test: k groups of the data file, chi-square test of the mean "
                      "scores of an ordered target variable",
                      mantel_haenszel_k_options, "t-mantel-haenszel-zimmermann-test-k-groups"},
     .caption = IDS_CAPTION_MANTEL_K},
    {.letter = "N",
     .title = "Mantel-Haenszel-Test (2 Gruppen).",
     .dialog_template = "UTEST",
     .needs_data_file = true,
     .entry = &mantel_haenszel_entry,
     .command_line = {"Mantel-Haenszel-Test: two groups of the data file, chi-square test of the mean scores of "
                      "an ordered target variable",
                      mantel_haenszel_options, "n-mantel-haenszel-test-two-groups"},
     .caption = IDS_CAPTION_MANTEL_2},
    {.letter = "U",
     .title = "Wilcoxon-Mann-Whitney-Test.",
     .dialog_template = "UTEST",
     .needs_data_file = true,
     .entry = &mann_whitney_entry,
     .command_line = {"Wilcoxon-Mann-Whitney-Test: two groups of the data file, U test with Hodges-Lehmann "
                      "estimate and confidence intervals",
                      mann_whitney_options, "u-wilcoxon-mann-whitney-test"}},
    {.letter = "W",
     .title = "Wilcoxon-matched-pairs.",
     .dialog_template = "WMP",
     .needs_data_file = true,
     .entry = &wilcoxon_pairs_entry,
     .command_line = {"Wilcoxon-matched-pairs: signed-rank test of two paired variables of the data file, "
                      "Hodges-Lehmann estimate and Tukey confidence intervals",
                      pair_options, "w-wilcoxon-matched-pairs-signed-rank-test"}},
    {.letter = "V",
     .title = "Vorzeichen-Test.",
     .dialog_template = "VZT",
     .needs_data_file = true,
     .entry = &sign_test_entry,
     .command_line = {"Vorzeichen-Test: Dixon and Mood's sign test of two paired variables of the data file",
                      pair_options, "v-sign-test-of-dixon-and-mood"}},
    {.letter = "E",
     .title = "Median-Test.",
     .dialog_template = "MEDIAN",
     .needs_data_file = true,
     .entry = &median_test_entry,
     .command_line = {"Median-Test: two groups of the data file, counts below and above the common median, "
                      "chi-square and Fisher's exact test",
                      distribution_test_options, "e-median-test-with-fishers-exact-test"}},
    {.letter = "F",
     .title = "Friedman-Test mit Multiplen Vergleichen.",
     .dialog_template = "FRIEDMAN",
     .needs_data_file = true,
     .entry = &friedman_entry,
     .command_line = {"Friedman-Test: c related samples (target variables) in blocks (records of the data file), "
                      "with Wilcoxon-Wilcox or Schaich-Hamerle comparisons",
                      friedman_options, "f-friedman-test-with-multiple-comparisons"}},
    {.letter = "O",
     .title = "Cochran's Q-Test.",
     .dialog_template = "COCHRAN",
     .entry = &cochran_entry,
     .command_line = {"Cochran's Q-Test: c related proportions, a 0/1 table of r blocks and c conditions typed in",
                      cochran_options, "o-cochrans-q-test"}},
    {.letter = "S",
     .title = "Kolmogoroff-Smirnoff-Test.",
     .dialog_template = "KOLMO",
     .needs_data_file = true,
     .entry = &kolmogorov_smirnov_entry,
     .command_line = {"Kolmogoroff-Smirnoff-Test: two groups of the data file, largest distance of the "
                      "distribution functions and its significance class",
                      distribution_test_options, "s-two-sample-kolmogorov-smirnov-test"}},
    {.letter = "C",
     .title = "Cross-Over: Nicht-parametrische Analyse nach Koch.",
     .dialog_template = "CROSS",
     .needs_data_file = true,
     .entry = &cross_over_entry,
     .command_line = {"Cross-Over-Analyse: two-period cross-over trial after Koch, U tests of the groups on the sums "
                      "of both periods, the differences and period 1",
                      cross_over_options, "c-cross-over-analysis-after-koch"}},
    {.letter = "H",
     .title = "Vergleich von Häufigkeiten.",
     .dialog_template = "HAUFIG",
     .entry = &two_frequencies_entry,
     .command_line = {"Vergleich von Häufigkeiten: two absolute frequencies, chi-square and exact binomial test",
                      two_frequencies_options, "h-comparison-of-two-frequencies"}},
    {.letter = "A",
     .title = "Anpassungstest.",
     .dialog_template = "ANPASS",
     .entry = &goodness_of_fit_entry,
     .command_line = {"Anpassungstest: chi-square goodness of fit of observed frequencies to given probabilities",
                      goodness_of_fit_options, "a-chi-square-goodness-of-fit-test"}},
    {.letter = "G",
     .title = "Test auf Gleichverteilung.",
     .dialog_template = "GLEICH",
     .entry = &uniform_distribution_entry,
     .command_line = {"Test auf Gleichverteilung: chi-square test of equal expected frequencies",
                      uniform_distribution_options, "g-chi-square-test-of-uniform-distribution"}},
    {.letter = "M",
     .title = "Multiple Vergleiche.",
     .shown_after_run = false,
     .entry = &information_entry,
     .command_line = {"Multiple Vergleiche: information text on multiple comparisons (no options)",
                      {},
                      "m-information-on-multiple-comparisons"}},
    {.letter = "B",
     .title = "Binominal-Verteilung: Hypothetischen Wert theta testen.",
     .dialog_template = "BINOM",
     .entry = &binomial_entry,
     .command_line = {"Binominal-Verteilung: exact binomial test of a hypothetical theta, confidence intervals "
                      "for theta",
                      binomial_options, "b-binomial-test-with-confidence-intervals"}},
};

}  // namespace

std::span<const CatalogueEntry> test_catalogue() { return catalogue; }

}  // namespace veltrum
