#include "io/AreaImport.h"

#include <optional>
#include <vector>

#include <cstdio>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/DbBatch.h"
#include "db/DbTable.h"
#include "geom/StoredGeometry.h"
#include "io/RoadGraphImport.h"
#include "io/ShapefileReader.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {

namespace {

struct RequiredField {
  const char* name;
  char type;
  int max_width;
  bool exact;
};

constexpr RequiredField kMunicipalityFields[] = {
    {"DENOM", 'C', 40, false}, {"PROVIN", 'C', 4, false}, {"ISTAT", 'C', 6, false}};
constexpr RequiredField kLocalityFields[] = {{"ISTAT", 'N', 10, false},
                                             {"DENOM", 'C', 40, false},
                                             {"ABITANTI", 'N', 12, false},
                                             {"TIPO", 'C', 1, true}};

bool HasRequiredFields(const ShapefileReader& reader, AreaKind kind) {
  if (reader.shape_type() != 5) return false;
  const auto check = [&](const auto& list) {
    for (const RequiredField& required : list) {
      const DbfField* field = reader.FindField(required.name);
      if (!field || field->type != required.type) return false;
      if (required.exact ? field->width != required.max_width : field->width > required.max_width)
        return false;
    }
    return true;
  };
  return kind == AreaKind::Municipalities ? check(kMunicipalityFields) : check(kLocalityFields);
}

// A whole number written in a DBF numeric field; nullopt when it is none.
std::optional<long long> DbfNumber(std::string_view record, const DbfField& field) {
  const auto value = ParseDecimal(ShapefileReader::FieldValue(record, field));
  if (!value || *value != static_cast<double>(static_cast<long long>(*value))) return std::nullopt;
  return static_cast<long long>(*value);
}

}  // namespace

std::string LocalityIstat(long long number) {
  char text[32];
  std::snprintf(text, sizeof text, "%07lld", number);
  return std::string(text + 1);
}

AreaImportCounts ImportAreas(DbConnection& connection, AreaKind kind, const std::string& base_name,
                             UserInterface& ui) {
  const bool municipalities = kind == AreaKind::Municipalities;
  AreaImportCounts counts;
  ui.BeginBusy(true);
  ProgressDisplay progress(ui);
  progress.SetPhase(municipalities ? "Importazione Comuni" : "Importazione Località");

  ShapefileReader reader;
  if (!reader.Open(base_name) || !reader.ReadHeaders()) return counts;
  if (!HasRequiredFields(reader, kind)) {
    ui.ShowMessage(std::string("ATTENZIONE: lo Shape File indicato non ha le caratteristiche\n") +
                       (municipalities ? "necessarie per effettuare l'importazione dei Comuni."
                                       : "necessarie per effettuare l'importazione delle Località."),
                   MessageIcon::Stop);
    return counts;
  }

  const std::int64_t records = reader.record_count();
  std::vector<std::optional<std::vector<AreaPart>>> areas;
  areas.reserve(static_cast<std::size_t>(records));
  if (reader.RewindShapes()) {
    ShapeRecord shape;
    for (std::int64_t i = 0; i < records && reader.NextShape(shape); ++i) {
      if (shape.shape_type == 5 && shape.has_geometry) {
        areas.emplace_back(std::move(shape.polygon));
      } else {
        areas.emplace_back();
      }
      progress.SetProgress(i + 1, records);
    }
  }
  const std::int64_t shapes_read = static_cast<std::int64_t>(areas.size());

  DbBatch batch(connection);
  progress.SetPhase(municipalities ? "Registrazione Comuni" : "Registrazione Località");
  if (!reader.RewindAttributes()) return counts;
  {
    DbTable table(connection, municipalities ? "comuni" : "local");
    std::string record;
    for (std::int64_t i = 0; i < shapes_read; ++i) {
      if (!reader.NextAttributes(record)) break;
      progress.SetProgress(i + 1, shapes_read);
      if (!areas[i]) continue;
      ++counts.found;
      const std::string id = FormatInteger(i + 1);
      bool stored = table.AddNew() && table.SetField("ID", id);
      if (municipalities) {
        stored = stored && table.SetField("denom", DbfText(record, *reader.FindField("DENOM"))) &&
                 table.SetField("provin", DbfText(record, *reader.FindField("PROVIN"))) &&
                 table.SetField("istat", DbfText(record, *reader.FindField("ISTAT")));
      } else {
        const std::optional<long long> istat = DbfNumber(record, *reader.FindField("ISTAT"));
        const std::string_view inhabitants =
            ShapefileReader::FieldValue(record, *reader.FindField("ABITANTI"));
        const std::string_view type = ShapefileReader::FieldValue(record, *reader.FindField("TIPO"));
        stored = stored && table.SetField("istat", istat ? LocalityIstat(*istat) : std::string()) &&
                 table.SetField("denom", DbfText(record, *reader.FindField("DENOM"))) &&
                 table.SetField("abitanti", Trim(inhabitants)) &&
                 table.SetField("nucleo", !type.empty() && (type[0] == 'N' || type[0] == 'n') ? "1" : "0");
      }
      if (stored && table.Update()) ++counts.inserted;
    }
  }

  progress.SetPhase(municipalities ? "Registrazione Confini Comunali" : "Registrazione Confini Località");
  DbTable rings(connection, municipalities ? "geocom" : "geoloc");
  for (std::int64_t i = 0; i < shapes_read; ++i) {
    progress.SetProgress(i + 1, shapes_read);
    if (!areas[i]) continue;
    const std::string id = FormatInteger(i + 1);
    int sub = 0;
    for (const AreaPart& part : *areas[i]) {
      int excl = 0;
      const auto add = [&](const PointArray& ring) {
        if (rings.AddNew() && rings.SetField("ID", id) && rings.SetField("sub", FormatInteger(sub)) &&
            rings.SetField("excl", FormatInteger(excl)) && WriteStoredGeometry(rings, ring) && rings.Update())
          ++counts.rings;
        ++excl;
      };
      add(part.outer);
      for (const PointArray& hole : part.exclusions) add(hole);
      ++sub;
    }
  }
  return counts;
}

}  // namespace viamappa
