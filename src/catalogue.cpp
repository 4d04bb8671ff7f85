// Joins the test families to the frame's dispatch loop.
#include "frame/catalogue.hpp"

#include "frequency/binomial.hpp"
#include "frequency/goodness_of_fit.hpp"
#include "frequency/information.hpp"
#include "frequency/two_frequencies.hpp"
#include "independent/rank_tests.hpp"

namespace veltrum {

namespace {
constexpr CatalogueEntry catalogue[] = {
    {"K", "Kruskal-Wallis-Test.", &rank_tests},
    {"T", "Mantel-Haenszel-Zimmermann-Test (k Gruppen).", nullptr},
    {"N", "Mantel-Haenszel-Test (2 Gruppen).", nullptr},
    {"U", "Wilcoxon-Mann-Whitney-Test.", &rank_tests},
    {"W", "Wilcoxon-matched-pairs.", nullptr},
    {"V", "Vorzeichen-Test.", nullptr},
    {"E", "Median-Test.", nullptr},
    {"F", "Friedman-Test.", nullptr},
    {"O", "Cochran's Q-Test.", nullptr},
    {"S", "Kolmogoroff-Smirnoff-Test.", nullptr},
    {"C", "Cross-Over-Analyse.", nullptr},
    {"H", "Vergleich von Häufigkeiten.", &two_frequencies_test},
    {"A", "Anpassungstest.", &goodness_of_fit_test},
    {"G", "Test auf Gleichverteilung.", &goodness_of_fit_test},
    {"M", "Multiple Vergleiche.", &information_test},
    {"B", "Binominal-Verteilung: Hypothetischen Wert theta testen.", &binomial_test_entry},
};
}  // namespace

std::span<const CatalogueEntry> test_catalogue() { return catalogue; }

}  // namespace veltrum
