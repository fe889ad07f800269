#include "io/ConflationReport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/NumberText.h"

namespace viamappa {

namespace {

using namespace conflation;

// A field as spreadsheets read it: quoted, with its quotes doubled, when it holds a separator, a quote,
// a line end or blanks at its ends.
std::string Field(const std::string& text) {
  const bool quote = text.find_first_of(";\"\r\n") != std::string::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

const char* JoinText(EndJoin how) {
  switch (how) {
    case EndJoin::Node:
      return "nodo esistente";
    case EndJoin::CutPoint:
      return "punto di taglio";
    case EndJoin::Projection:
      return "proiezione";
    case EndJoin::Free:
      break;
  }
  return "nuovo nodo";
}

void AppendEnd(std::string& line, const ConflationState& state, const NodeRef& node, const EndOutcome& end) {
  line += ';' + FormatInteger(WrittenNodeId(state, node)) + ';' + JoinText(end.how) + ';';
  if (end.how == EndJoin::CutPoint || end.how == EndJoin::Projection) line += FormatInteger(end.arc_id);
}

}  // namespace

std::vector<std::string> ConflationReportLines(const ConflationResult& result) {
  const ConflationState& state = result.state;
  std::vector<std::string> lines;
  lines.reserve(state.secondary.size() + 1);
  lines.emplace_back(
      "record;esito;archi_primari;strade;arco_inserito;nodo_iniziale;aggancio_iniziale;arco_aggancio_"
      "iniziale;"
      "nodo_finale;aggancio_finale;arco_aggancio_finale");
  for (std::size_t i = 0; i < state.secondary.size(); ++i) {
    const SecondaryArc& s = state.secondary[i];
    std::string line = FormatInteger(static_cast<std::int64_t>(i) + 1) + ';';
    if (!s.has_geometry) {
      lines.push_back(line + "senza geometria;;;;;;;;;");
      continue;
    }
    if (!s.analogues.empty()) {
      line += "analogo;";
      for (std::size_t k = 0; k < s.analogues.size(); ++k) {
        if (k) line += ' ';
        line += FormatInteger(state.primary[static_cast<std::size_t>(s.analogues[k])].id);
      }
      lines.push_back(line + ";;;;;;;;");
      continue;
    }
    if (!s.streets.empty()) {
      line += "strada;;";
      std::string codes;
      for (std::size_t k = 0; k < s.streets.size(); ++k) {
        const std::string& code = state.streets[static_cast<std::size_t>(s.streets[k])].code;
        if (k) codes += ", ";
        codes += code.empty() ? std::string("(senza codice)") : code;
      }
      lines.push_back(line + Field(codes) + ";;;;;;;");
      continue;
    }
    line += "inserito;;;";
    if (s.inserted_id) line += FormatInteger(s.inserted_id);
    AppendEnd(line, state, s.start, s.start_join);
    AppendEnd(line, state, s.end, s.end_join);
    lines.push_back(line);
  }
  return lines;
}

bool WriteConflationReport(const std::string& path, const ConflationResult& result, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = "impossibile scrivere " + path + ": " + std::strerror(errno);
    return false;
  }
  bool ok = true;
  for (const std::string& line : ConflationReportLines(result)) {
    ok = ok && std::fwrite(line.data(), 1, line.size(), file) == line.size() && std::fputs("\r\n", file) >= 0;
  }
  if (std::fclose(file) != 0 || !ok) {
    error = "impossibile scrivere " + path;
    return false;
  }
  return true;
}

}  // namespace viamappa
