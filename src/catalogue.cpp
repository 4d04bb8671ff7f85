// Joins the test families to the frame's dispatch loop.
#include "frame/catalogue.hpp"

#include "frequency/information.hpp"
#include "frequency/two_frequencies.hpp"

namespace veltrum {

namespace {
constexpr CatalogueEntry catalogue[] = {
    {"K", "Kruskal-Wallis-Test.", nullptr},
    {"T", "Mantel-Haenszel-Zimmermann-Test (k Gruppen).", nullptr},
    {"N", "Mantel-Haenszel-Test (2 Gruppen).", nullptr},
    {"U", "Wilcoxon-Mann-Whitney-Test.", nullptr},
    {"W", "Wilcoxon-matched-pairs.", nullptr},
    {"V", "Vorzeichen-Test.", nullptr},
    {"E", "Median-Test.", nullptr},
    {"F", "Friedman-Test.", nullptr},
    {"O", "Cochran's Q-Test.", nullptr},
    {"S", "Kolmogoroff-Smirnoff-Test.", nullptr},
    {"C", "Cross-Over-Analyse.", nullptr},
    {"H", "Vergleich von Häufigkeiten.", &two_frequencies_test},
    {"A", "Anpassungstest.", nullptr},
    {"G", "Test auf Gleichverteilung.", nullptr},
    {"M", "Multiple Vergleiche.", &information_test},
    {"B", "Binominal-Verteilung: Hypothetischen Wert theta testen.", nullptr},
};
}  // namespace

std::span<const CatalogueEntry> test_catalogue() { return catalogue; }

}  // namespace veltrum
