// The test catalogue: one entry per letter joins the test families to the frame's dispatch loop
// and to the command line.  A letter without an entry function is "not available" in this build.
#include "frame/catalogue.hpp"

#include "VELTRUM_R.h"
#include "frequency/binomial.hpp"
#include "frequency/goodness_of_fit.hpp"
#include "frequency/information.hpp"
#include "frequency/two_frequencies.hpp"
#include "independent/rank_tests.hpp"
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
                      kruskal_wallis_options}},
    {.letter = "T",
     .title = "Mantel-Haenszel-Zimmermann-Test (k Gruppen).",
     .dialog_template = "KRUSKAL",
     .needs_data_file = true,
     .caption = IDS_CAPTION_MANTEL_K},
    {.letter = "N",
     .title = "Mantel-Haenszel-Test (2 Gruppen).",
     .dialog_template = "UTEST",
     .needs_data_file = true,
     .caption = IDS_CAPTION_MANTEL_2},
    {.letter = "U",
     .title = "Wilcoxon-Mann-Whitney-Test.",
     .dialog_template = "UTEST",
     .needs_data_file = true,
     .entry = &mann_whitney_entry,
     .command_line = {"Wilcoxon-Mann-Whitney-Test: two groups of the data file, U test with Hodges-Lehmann "
                      "estimate and confidence intervals",
                      mann_whitney_options}},
    {.letter = "W",
     .title = "Wilcoxon-matched-pairs.",
     .dialog_template = "WMP",
     .needs_data_file = true,
     .entry = &wilcoxon_pairs_entry,
     .command_line = {"Wilcoxon-matched-pairs: signed-rank test of two paired variables of the data file, "
                      "Hodges-Lehmann estimate and Tukey confidence intervals",
                      pair_options}},
    {.letter = "V",
     .title = "Vorzeichen-Test.",
     .dialog_template = "VZT",
     .needs_data_file = true,
     .entry = &sign_test_entry,
     .command_line = {"Vorzeichen-Test: Dixon and Mood's sign test of two paired variables of the data file",
                      pair_options}},
    {.letter = "E", .title = "Median-Test.", .dialog_template = "MEDIAN", .needs_data_file = true},
    {.letter = "F", .title = "Friedman-Test.", .dialog_template = "FRIEDMAN", .needs_data_file = true},
    {.letter = "O", .title = "Cochran's Q-Test.", .dialog_template = "COCHRAN"},
    {.letter = "S", .title = "Kolmogoroff-Smirnoff-Test.", .dialog_template = "KOLMO", .needs_data_file = true},
    {.letter = "C", .title = "Cross-Over-Analyse.", .dialog_template = "CROSS", .needs_data_file = true},
    {.letter = "H",
     .title = "Vergleich von Häufigkeiten.",
     .dialog_template = "HAUFIG",
     .entry = &two_frequencies_entry,
     .command_line = {"Vergleich von Häufigkeiten: two absolute frequencies, chi-square and exact binomial test",
                      two_frequencies_options}},
    {.letter = "A",
     .title = "Anpassungstest.",
     .dialog_template = "ANPASS",
     .entry = &goodness_of_fit_entry,
     .command_line = {"Anpassungstest: chi-square goodness of fit of observed frequencies to given probabilities",
                      goodness_of_fit_options}},
    {.letter = "G",
     .title = "Test auf Gleichverteilung.",
     .dialog_template = "GLEICH",
     .entry = &uniform_distribution_entry,
     .command_line = {"Test auf Gleichverteilung: chi-square test of equal expected frequencies",
                      uniform_distribution_options}},
    {.letter = "M",
     .title = "Multiple Vergleiche.",
     .shown_after_run = false,
     .entry = &information_entry,
     .command_line = {"Multiple Vergleiche: information text on multiple comparisons (no options)", {}}},
    {.letter = "B",
     .title = "Binominal-Verteilung: Hypothetischen Wert theta testen.",
     .dialog_template = "BINOM",
     .entry = &binomial_entry,
     .command_line = {"Binominal-Verteilung: exact binomial test of a hypothetical theta, confidence intervals "
                      "for theta",
                      binomial_options}},
};

}  // namespace

std::span<const CatalogueEntry> test_catalogue() { return catalogue; }

}  // namespace veltrum
