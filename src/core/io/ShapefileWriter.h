// Writes a shapefile set: polylines (shape type 3) or polygons (shape type 5) with character and number
// attributes, and a ".cpg" file naming the code page of the attribute text (Windows-1252).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/Box.h"
#include "geom/PointArray.h"
#include "io/DbfField.h"

namespace viamappa {

// The files of the set a ShapefileWriter creates for shp_path: the ".SHP" as given, then the ".SHX",
// ".DBF" and ".CPG" in the letter case of its extension. Empty for a path without a three-letter
// extension.
std::vector<std::string> ShapefileSetPaths(const std::string& shp_path);

class ShapefileWriter {
 public:
  ShapefileWriter() = default;
  ~ShapefileWriter();
  ShapefileWriter(const ShapefileWriter&) = delete;
  ShapefileWriter& operator=(const ShapefileWriter&) = delete;

  // The ".SHP" is the path as given; the ".SHX", ".DBF" and ".CPG" are the same path with its last three
  // characters replaced, in the letter case of the given extension (grafo.shp: grafo.shx, grafo.dbf;
  // GRAFO.SHP: GRAFO.SHX, GRAFO.DBF). Existing files are overwritten. False when a file cannot be created,
  // or when the path has no three-letter extension or names the index, table or code-page file itself.
  bool Create(const std::string& shp_path);

  // 'C' or 'N' (decimals 0), a name of 1 to 10 characters, a length of 1 to 254 ('C') or 1 to 20 ('N');
  // before the first record. False otherwise.
  bool AddField(std::string_view name, char type, int length);

  // One record. values: UTF-8, one per field in order; each is converted to Windows-1252 ("?" for what
  // it cannot hold), cut to the field length and filled with blanks. A line without points is written
  // as a null shape. False when the values do not match the fields, when the set already holds the
  // other shape type, when the files would grow past what their offsets can address, or on a write error.
  bool AddPolyline(const std::vector<std::string>& values, const PointArray& line);
  // A polyline of several parts, in order (the generator's and the tests'); parts without points are
  // left out, and a line with none is written as a null shape.
  bool AddPolyline(const std::vector<std::string>& values, const std::vector<PointArray>& parts);
  // Rings as given (outer clockwise, holes counter-clockwise): one polygon record of shape type 5.
  bool AddPolygon(const std::vector<std::string>& values, const std::vector<PointArray>& rings);

  // The date of the table's last update; the current local date unless set.
  void SetDate(int year, int month, int day);

  // Writes the end marker and the three headers and closes the files: the number of records, or -1 when
  // any write failed (the files are then incomplete).
  std::int64_t Finish();

  const std::vector<DbfField>& fields() const { return fields_; }

 private:
  bool BeginRecord(const std::vector<std::string>& values, std::int32_t shape_type);
  bool WriteShape(std::int32_t shape_type, const Box& box, const std::vector<const PointArray*>& parts);
  bool WriteNullShape();
  bool Put(std::FILE* file, const void* bytes, std::size_t size);
  void CloseAll();

  std::FILE* shp_ = nullptr;
  std::FILE* shx_ = nullptr;
  std::FILE* dbf_ = nullptr;
  std::vector<char> shp_buffer_, shx_buffer_, dbf_buffer_;
  std::vector<DbfField> fields_;
  int record_length_ = 1;
  std::int32_t shape_type_ = 0;  // 0 until the first record
  std::int64_t shp_words_ = 50;
  std::int64_t shx_words_ = 50;
  std::int64_t records_ = 0;
  Box box_;
  int year_ = 0, month_ = 0, day_ = 0;
  bool failed_ = false;
  std::string record_;                  // the DBF record being written, reused
  std::vector<unsigned char> content_;  // the shape record being written, reused
};

}  // namespace viamappa
