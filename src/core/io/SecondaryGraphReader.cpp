#include "io/SecondaryGraphReader.h"

#include "geom/Hundredths.h"
#include "io/RoadGraphImport.h"
#include "io/ShapefileReader.h"

namespace viamappa::conflation {

SecondaryRead ReadSecondaryGraph(const std::string& base_name, ConflationState& state,
                                 ProgressDisplay& progress, std::string& error) {
  progress.SetPhase("Acquisizione Archi Stradali Grafo Secondario");
  ShapefileReader reader;
  const auto unreadable = [&] {
    error = reader.error();
    return SecondaryRead::Unreadable;
  };
  if (!reader.Open(base_name) || !reader.ReadHeaders()) return unreadable();
  if (!HasRoadGraphAttributes(reader)) return SecondaryRead::Unusable;
  const std::int64_t records = reader.record_count();

  progress.SetPhase("Estrazione degli Archi del Grafo Secondario");
  std::vector<SecondaryArc>& slots = state.secondary;
  slots.assign(static_cast<std::size_t>(records), SecondaryArc());
  if (!reader.RewindShapes()) return unreadable();
  ShapeRecord shape;
  for (std::int64_t i = 0; i < records; ++i) {
    if (!reader.NextShape(shape)) return unreadable();
    SecondaryArc& arc = slots[static_cast<std::size_t>(i)];
    if (shape.shape_type == 3 && shape.has_geometry && !shape.polyline.empty()) {
      std::vector<Point> points = shape.polyline.TakePoints();
      for (Point& p : points) p = {RoundToHundredths(p.x), RoundToHundredths(p.y)};
      arc.line = PointArray(std::move(points));
      arc.has_geometry = true;
    }
    progress.SetProgress(i + 1, records);
  }

  progress.SetPhase("Acquisizione Attributi Archi del Grafo Secondario");
  if (!reader.RewindAttributes()) return unreadable();
  const DbfField& denom = *reader.FindField("DENOM");
  const DbfField& alt = *reader.FindField("ALT");
  const DbfField& cod_ele = *reader.FindField("COD_ELE");
  const DbfField& cod_reg = *reader.FindField("COD_REG");
  const DbfField& classe = *reader.FindField("CLASSE");
  const DbfField& piazza = *reader.FindField("PIAZZA");
  std::string record;
  Box extent;
  for (std::int64_t i = 0; i < records; ++i) {
    if (!reader.NextAttributes(record)) return unreadable();
    SecondaryArc& arc = slots[static_cast<std::size_t>(i)];
    // A record marked deleted in the table is left out, as GIS tools leave it out.
    if (ShapefileReader::IsDeleted(record)) {
      arc.line = PointArray();
      arc.has_geometry = false;
    }
    reader.FieldText(record, denom, arc.denom);
    reader.FieldText(record, alt, arc.alterna);
    reader.FieldText(record, cod_ele, arc.codele);
    reader.FieldText(record, cod_reg, arc.codreg);
    reader.FieldText(record, classe, arc.classe);
    const std::string_view square = ShapefileReader::FieldValue(record, piazza);
    arc.square = !square.empty() && square[0] == 'S';
    if (arc.has_geometry) extent.Widen(arc.line.box());
    progress.SetProgress(i + 1, records);
  }
  state.secondary_extent = extent;
  return SecondaryRead::Read;
}

}  // namespace viamappa::conflation
