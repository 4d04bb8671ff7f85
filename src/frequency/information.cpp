#include "frequency/information.hpp"

#include "frame/catalogue.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/report.hpp"
#include "frame/test_run.hpp"

namespace veltrum {

namespace {

// The title with a-z in capitals; other characters stay as they are.
std::string capitals(std::string_view title) {
  std::string upper(title);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

constexpr std::string_view text_lines[] = {
    "   Multiple Vergleiche zum Kruskal-Wallis-Test und zum Friedman-Test werden",
    "   im Anschluß an die beiden Verfahren durchgeführt (Dunn-Test und Wilcoxon-",
    "   Wilcox-Test resp. Schaich-Hamerle-Vergleiche).",
    "",
    "   Die exakte Verteilung zum Wilcoxon-Wilcox-Test liegt nur bis n=25 Zeilen",
    "   und k=10 Spalten vor; für größere Werte von n und/oder k werden alternativ",
    "   Schaich-Hamerle-Vergleiche durchgeführt.",
    "",
    "   Multiple Vergleiche zum Mantel-Haenszel-Test sind nicht bekannt. Es besteht",
    "   aber die Möglichkeit, interessierende Vergleiche mit Hilfe der Zwei-Gruppen-",
    "   Variante durchzuführen: Beachten Sie dabei bitte das Problem des Multiplen",
    "   Testens ('alpha-Inflation') und führen Sie wenigstens eine alpha-Korrektur nach",
    "   Bonferroni durch; Einzelheiten dazu in 'Marginalien, Mehrere Nullhypothesen'.",
};

}  // namespace

InformationText information_text(std::string_view title) {
  return {"   " + capitals(title), std::vector<std::string_view>(std::begin(text_lines), std::end(text_lines))};
}

void write_information(ReportFile& file, const InformationText& text) {
  file.line(text.heading);
  file.line();
  for (const auto line : text.lines) file.line(line);
}

void information_entry(Module& module, const CatalogueEntry& test) {
  const InformationText text = information_text(test.title);
  ReportFile file;
  if (file.create(module.host.real_path(information_path))) {
    write_information(file, text);
    // A text cut by a full disk is not shown, as a report is not.
    if (!file.close()) {
      attention_box(module.host, report_write_error_text);
      return;
    }
    deliver_result(module, test, text);
  }
  module.host.viewer(std::string(information_path) + module.rect_text);
}

}  // namespace veltrum
