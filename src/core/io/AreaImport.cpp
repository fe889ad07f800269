#include "io/AreaImport.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/DbBatch.h"
#include "db/DbTable.h"
#include "geom/StoredGeometry.h"
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

// The largest ring of an area, in points.
std::int32_t LargestRing(const std::vector<AreaPart>& parts) {
  std::int32_t largest = 0;
  for (const AreaPart& part : parts) {
    largest = std::max(largest, part.outer.count());
    for (const PointArray& hole : part.exclusions) largest = std::max(largest, hole.count());
  }
  return largest;
}

// The shape pass: the areas of the records to store; a record without geometry, marked deleted or with
// a ring beyond the stored limit keeps none.
struct AreaPass {
  std::vector<std::optional<std::vector<AreaPart>>> areas;
  std::vector<bool> is_polygon;
  std::vector<bool> deleted;
  std::vector<std::int32_t> too_many_points;
};

bool ReadAreas(ShapefileReader& reader, AreaPass& pass, ImportReport& report, ProgressDisplay& progress) {
  const std::int64_t records = reader.record_count();
  std::string record;
  if (!reader.RewindAttributes()) return false;
  for (std::int64_t i = 0; i < records; ++i) {
    if (!reader.NextAttributes(record)) return false;
    pass.deleted.push_back(ShapefileReader::IsDeleted(record));
  }
  if (!reader.RewindShapes()) return false;
  ShapeRecord shape;
  for (std::int64_t i = 0; i < records; ++i) {
    if (!reader.NextShape(shape)) return false;
    progress.SetProgress(i + 1, records);
    pass.is_polygon.push_back(shape.shape_type == 5);
    pass.too_many_points.push_back(0);
    pass.areas.emplace_back();
    if (pass.deleted[i]) {
      report.Skip("cancellati nella tavola DBF");
    } else if (shape.shape_type != 5 || !shape.has_geometry) {
      report.Skip("senza geometria");
    } else if (const std::int32_t largest = LargestRing(shape.polygon); largest > kMaxStoredPoints) {
      pass.too_many_points.back() = largest;
    } else {
      pass.areas.back().emplace(std::move(shape.polygon));
    }
  }
  return true;
}

// Removes the rows of an area whose rings could not all be stored. False when even that fails.
bool RemoveArea(DbConnection& connection, const char* area_table, const char* ring_table, std::int32_t id) {
  std::string error;
  const std::string key = FormatInteger(id);
  return connection.engine()->Execute("DELETE FROM " + std::string(ring_table) + " WHERE ID = " + key +
                                          "; DELETE FROM " + area_table + " WHERE ID = " + key,
                                      error);
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
  const char* area_table = municipalities ? "comuni" : "local";
  const char* ring_table = municipalities ? "geocom" : "geoloc";
  AreaImportCounts counts;
  ImportReport& report = counts.report;
  ui.BeginBusy(true);
  ProgressDisplay progress(ui);
  progress.SetPhase(municipalities ? "Importazione Comuni" : "Importazione Località");
  const auto fail = [&](std::string_view reason) {
    report.Fail(ui, reason);
    return counts;
  };

  ShapefileReader reader;
  if (!reader.Open(base_name) || !reader.ReadHeaders()) return fail(reader.error());
  if (!HasRequiredFields(reader, kind)) {
    ui.ShowMessage(std::string("ATTENZIONE: lo Shape File indicato non ha le caratteristiche\n") +
                       (municipalities ? "necessarie per effettuare l'importazione dei Comuni."
                                       : "necessarie per effettuare l'importazione delle Località."),
                   MessageIcon::Stop);
    report.Unusable();
    return counts;
  }
  AreaPass pass;
  if (!ReadAreas(reader, pass, report, progress)) return fail(reader.error());
  const std::int64_t records = static_cast<std::int64_t>(pass.areas.size());

  DbBatch batch(connection);
  if (!batch.began()) return fail({});
  const auto stop = [&](std::string_view reason) {
    batch.Rollback();
    counts.found = counts.inserted = counts.rings = 0;
    return fail(reason);
  };
  progress.SetPhase(municipalities ? "Registrazione Comuni" : "Registrazione Località");
  if (!reader.RewindAttributes()) return stop(reader.error());
  std::vector<bool> stored(pass.areas.size(), false);
  std::vector<std::string> names(pass.areas.size());
  {
    DbTable table(connection, area_table);
    const DbfField* denom = reader.FindField("DENOM");
    std::string record, name, text;
    for (std::int64_t i = 0; i < records; ++i) {
      if (!reader.NextAttributes(record)) return stop(reader.error());
      progress.SetProgress(i + 1, records);
      if (pass.deleted[i] || !pass.is_polygon[i]) continue;
      if (!pass.areas[i] && !pass.too_many_points[i]) continue;
      ++counts.found;
      reader.FieldText(record, *denom, name);
      if (pass.too_many_points[i]) {
        report.Refuse(ui, i + 1, name,
                      "un suo anello ha " + FormatInteger(pass.too_many_points[i]) +
                          " punti, ne sono ammessi " + FormatInteger(kMaxStoredPoints) + ".");
        continue;
      }
      report.NoteText(i + 1, name);
      bool ok = table.AddNew() && table.SetField("ID", FormatInteger(i + 1)) && table.SetField("denom", name);
      if (municipalities) {
        for (const char* field : {"PROVIN", "ISTAT"}) {
          reader.FieldText(record, *reader.FindField(field), text);
          ok = ok && table.SetField(AsciiLower(field), text);
        }
      } else {
        const std::optional<long long> istat = DbfNumber(record, *reader.FindField("ISTAT"));
        const std::string_view inhabitants =
            ShapefileReader::FieldValue(record, *reader.FindField("ABITANTI"));
        const std::string_view type = ShapefileReader::FieldValue(record, *reader.FindField("TIPO"));
        ok = ok && table.SetField("istat", istat ? LocalityIstat(*istat) : std::string()) &&
             table.SetField("abitanti", Trim(inhabitants)) &&
             table.SetField("nucleo", !type.empty() && (type[0] == 'N' || type[0] == 'n') ? "1" : "0");
      }
      if (ok && table.Update()) {
        ++counts.inserted;
        stored[i] = true;
        names[i] = name;
      } else {
        if (connection.core()->MustStop()) return stop(kDatabaseStopped);
        report.Refuse(ui, i + 1, name, {});
      }
    }
  }

  progress.SetPhase(municipalities ? "Registrazione Confini Comunali" : "Registrazione Confini Località");
  DbTable rings(connection, ring_table);
  const int f_id = rings.FieldIndex("ID"), f_sub = rings.FieldIndex("sub"), f_excl = rings.FieldIndex("excl");
  for (std::int64_t i = 0; i < records; ++i) {
    progress.SetProgress(i + 1, records);
    if (!stored[i]) continue;
    int written = 0;
    bool whole = true;
    int sub = 0;
    for (const AreaPart& part : *pass.areas[i]) {
      int excl = 0;
      const auto add = [&](const PointArray& ring) {
        whole = whole && rings.AddNew() && rings.SetFieldInteger(f_id, i + 1) &&
                rings.SetFieldInteger(f_sub, sub) && rings.SetFieldInteger(f_excl, excl) &&
                WriteStoredGeometry(rings, ring) && rings.Update();
        if (whole) ++written;
        ++excl;
      };
      add(part.outer);
      for (const PointArray& hole : part.exclusions) add(hole);
      ++sub;
    }
    if (whole) {
      counts.rings += written;
      continue;
    }
    // An area without all its rings is no area: its rows go.
    if (connection.core()->MustStop() ||
        !RemoveArea(connection, area_table, ring_table, static_cast<std::int32_t>(i + 1)))
      return stop(kDatabaseStopped);
    --counts.inserted;
    report.Refuse(ui, i + 1, names[i], "i suoi confini non possono essere registrati.");
  }
  return counts;
}

}  // namespace viamappa
