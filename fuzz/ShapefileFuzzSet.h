// What the shapefile fuzz targets share: a small valid set (polylines with a null shape and a
// three-part line, polygons with a hole) and one run of the reader over a set with one file replaced.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "io/ShapefileReader.h"
#include "io/ShapefileWriter.h"

namespace viamappa::fuzz {

struct SetBytes {
  std::string shp, shx, dbf;
};

inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void Fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// The valid sets the targets start from (0: polylines, 1: polygons), written once by the writer.
inline SetBytes WriteValidSet(int kind) {
  const std::string base = "/tmp/viamappa_fuzz_set_" + std::to_string(getpid());
  ShapefileWriter writer;
  if (!writer.Create(base + ".shp") || !writer.AddField("DENOM", 'C', 12) || !writer.AddField("NUM", 'N', 5))
    Fail("cannot write the valid set");
  writer.SetDate(2024, 1, 1);
  if (kind == 0) {
    writer.AddPolyline({"VIA ROMA", "1"}, PointArray({{600000, 5000000}, {600010.5, 5000020.25}}));
    writer.AddPolyline({"PERCHÉ", ""}, PointArray());
    writer.AddPolyline({"VIALE", "22"}, PointArray({{1, 1}, {2, 3}, {4, 1}}));
  } else {
    const PointArray outer({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}});
    const PointArray hole({{2, 2}, {4, 2}, {4, 4}, {2, 4}, {2, 2}});
    const PointArray second({{20, 0}, {20, 5}, {25, 5}, {25, 0}, {20, 0}});
    writer.AddPolygon({"CITTÀ", "22001"}, {outer, hole, second});
    writer.AddPolygon({"BORGO", "22002"}, {second});
  }
  if (writer.Finish() < 0) Fail("cannot finish the valid set");
  SetBytes bytes{FileBytes(base + ".shp"), FileBytes(base + ".shx"), FileBytes(base + ".dbf")};
  for (const char* extension : {".shp", ".shx", ".dbf", ".cpg"}) std::remove((base + extension).c_str());
  return bytes;
}

inline const SetBytes& ValidSet(int kind) {
  static const SetBytes sets[2] = {WriteValidSet(0), WriteValidSet(1)};
  return sets[kind == 0 ? 0 : 1];
}

// Reads the set in both passes as an importer does, checking what must hold whatever the bytes.
inline void ReadSet(std::string_view shp, std::string_view shx, std::string_view dbf) {
  ShapefileReader reader;
  reader.OpenMemory(shp, shx, dbf);
  if (!reader.ReadHeaders()) return;
  if (reader.record_count() < 0) Fail("negative record count");
  int offset = 0;
  for (const DbfField& field : reader.fields()) {
    if (field.offset != offset) Fail("field offset is not the sum of the lengths before it");
    if (field.width > field.length) Fail("field width beyond its length");
    for (char c : field.name) {
      if (c >= 'a' && c <= 'z') Fail("lower-case field name");
    }
    offset += field.length;
  }
  if (!reader.RewindShapes()) return;
  ShapeRecord shape;
  for (int i = 0; i < 4096 && reader.NextShape(shape); ++i) {
    if (shape.has_geometry) {
      if (shape.shape_type == 3 && shape.polyline.empty()) Fail("polyline with geometry but no points");
      if (shape.shape_type == 5 && shape.polygon.empty()) Fail("polygon with geometry but no rings");
      if (shape.shape_type != 3 && shape.shape_type != 5) Fail("geometry of an undecoded shape type");
    }
    for (const AreaPart& part : shape.polygon) {
      if (part.outer.empty()) Fail("empty outer ring");
      for (const PointArray& hole : part.exclusions) {
        if (hole.empty()) Fail("empty exclusion ring");
      }
    }
  }
  if (!reader.RewindAttributes()) return;
  std::string record;
  for (int i = 0; i < 4096 && reader.NextAttributes(record); ++i) {
    if (static_cast<int>(record.size()) != reader.dbf_record_length()) Fail("record of the wrong length");
    for (const DbfField& field : reader.fields()) {
      const std::string_view value = ShapefileReader::FieldValue(record, field);
      if (value.size() > static_cast<std::size_t>(std::max(field.length, 0)))
        Fail("value longer than its field");
      if (!value.empty() &&
          (value.data() < record.data() || value.data() + value.size() > record.data() + record.size()))
        Fail("value outside its record");
    }
  }
}

}  // namespace viamappa::fuzz
