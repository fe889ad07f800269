#include "edit/GraphValidationReport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/NumberText.h"
#include "geom/StoredGeometry.h"

namespace viamappa {

namespace {

struct KindTexts {
  std::string_view title;
  std::string_view code;         // in the listing
  std::string_view description;  // in a finding's text, before the related identifier
};

constexpr KindTexts kTexts[kFindingKinds] = {
    {"Archi senza geometria leggibile", "geometria_illeggibile", "geometria illeggibile"},
    {"Archi di lunghezza nulla", "lunghezza_nulla", "lunghezza nulla"},
    {"Estremi d'arco non sul proprio nodo", "estremo_fuori_nodo", "estremo non sul nodo "},
    {"Nodi non usati da nessun arco", "nodo_inutilizzato", "non usato da nessun arco"},
    {"Nodi nella posizione di un altro nodo", "nodo_sovrapposto", "nella posizione del nodo "},
    {"Estremi liberi a meno di 1 m da un altro arco", "estremo_libero", "estremo libero vicino all'arco "},
    {"Estremi liberi su un altro arco senza nodo", "estremo_su_arco", "estremo libero sull'arco "},
    {"Archi con la geometria di un altro arco", "geometria_duplicata", "stessa geometria dell'arco "},
    {"Archi senza denominazione", "senza_denominazione", "senza denominazione"},
    {"Archi senza comune", "senza_comune", "senza comune"},
};

const KindTexts& TextsOf(FindingKind kind) {
  return kTexts[static_cast<std::size_t>(kind)];
}

bool HasOther(FindingKind kind) {
  return kind == FindingKind::EndOffNode || kind == FindingKind::SharedPosition ||
         kind == FindingKind::Undershoot || kind == FindingKind::EndOnArc ||
         kind == FindingKind::DuplicateGeometry;
}

}  // namespace

std::string_view FindingTitle(FindingKind kind) {
  return TextsOf(kind).title;
}

std::string ValidationCountLines(const GraphValidation& validation) {
  std::string lines;
  for (std::size_t k = 0; k < kFindingKinds; ++k)
    lines += std::string(kTexts[k].title) + ": " + FormatInteger(validation.counts[k]) + "\n";
  return lines;
}

std::string FindingText(const Finding& finding) {
  const KindTexts& texts = TextsOf(finding.kind);
  std::string text =
      (finding.node ? "Nodo " : "Arco ") + FormatInteger(finding.id) + ": " + std::string(texts.description);
  if (HasOther(finding.kind)) text += FormatInteger(finding.other);
  if (finding.kind == FindingKind::Undershoot) text += " (" + StoredCoordinateText(finding.distance) + " m)";
  return text + " in " + StoredCoordinateText(finding.at.x) + " " + StoredCoordinateText(finding.at.y);
}

std::vector<std::string> ValidationReportLines(const GraphValidation& validation) {
  std::vector<std::string> lines;
  lines.reserve(validation.findings.size() + 1);
  lines.emplace_back("tipo;oggetto;id;x;y;riferimento;distanza");
  for (const Finding& finding : validation.findings) {
    std::string line = std::string(TextsOf(finding.kind).code) + (finding.node ? ";nodo;" : ";arco;") +
                       FormatInteger(finding.id) + ";" + StoredCoordinateText(finding.at.x) + ";" +
                       StoredCoordinateText(finding.at.y) + ";";
    if (HasOther(finding.kind)) line += FormatInteger(finding.other);
    line += ";";
    if (finding.kind == FindingKind::Undershoot || finding.kind == FindingKind::EndOnArc)
      line += StoredCoordinateText(finding.distance);
    lines.push_back(std::move(line));
  }
  return lines;
}

bool WriteValidationReport(const std::string& path, const GraphValidation& validation, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = "impossibile scrivere il file " + path + ": " + std::strerror(errno);
    return false;
  }
  bool written = true;
  for (const std::string& line : ValidationReportLines(validation))
    written = written && std::fprintf(file, "%s\n", line.c_str()) >= 0;
  written = std::fclose(file) == 0 && written;
  if (!written) error = "impossibile scrivere il file " + path;
  return written;
}

}  // namespace viamappa
