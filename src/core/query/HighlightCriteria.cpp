#include "query/HighlightCriteria.h"

namespace viamappa {

const std::array<HighlightCriterionInfo, kHighlightCriteria>& HighlightCriteriaTable() {
  using enum HighlightCriterion;
  static const std::array<HighlightCriterionInfo, kHighlightCriteria> table = {{
      {StateRoads, 1039, "Strade Statali", "SS", {}},
      {RegionalRoads, 1042, "Strade Regionali", "SR", {}},
      {ProvincialRoads, 1041, "Strade Provinciali", "SP", {}},
      {MunicipalRoads, 1040, "Strade Comunali", "SC", {}},
      {ProjectRoads, 1043, "Strade Progetto", "PR", {}},
      {Verified, 1052, "Archi Verificati", {}, "verifica = TRUE"},
      {ToVerify, 1053, "Archi da Verificare", {}, "verifica = FALSE"},
      {Added, 1044, "Archi Aggiunti", {}, "aggiunto = TRUE"},
      {NameChanged, 1045, "Nomi Modificati", {}, "modnome = TRUE"},
      {GeometryChanged, 1046, "Geometrie Modificate", {}, "modifica = TRUE"},
      {Deleted, 1047, "Archi Eliminati", {}, "elimina = TRUE"},
      {Square, 1049, "Archi tipo Piazza", {}, "piazza = TRUE"},
      {WithoutName,
       1048,
       "Archi Senza Nome",
       {},
       "(denom = ' ' OR ISNULL(denom) = TRUE OR denom LIKE '*SENZA NOME*')"},
      // A name of blanks only is no alternative name: every non-NULL name would otherwise count.
      {AlternativeName,
       1050,
       "Archi con Denominazione Alternativa",
       {},
       "(ISNULL(alterna) = FALSE AND TRIM(alterna) <> '')"},
  }};
  return table;
}

std::string HighlightCondition(const HighlightFlags& flags) {
  std::string w;
  bool any_class = false;
  for (const HighlightCriterionInfo& info : HighlightCriteriaTable()) {
    if (info.classe.empty() || !Flag(flags, info.criterion)) continue;
    w += any_class ? " OR classe = '" : "(classe = '";
    w += std::string(info.classe) + "'";
    any_class = true;
  }
  if (any_class) w += ")";
  for (const HighlightCriterionInfo& info : HighlightCriteriaTable()) {
    if (info.condition.empty() || !Flag(flags, info.criterion)) continue;
    if (!w.empty()) w += " AND ";
    w += info.condition;
  }
  return w;
}

}  // namespace viamappa
