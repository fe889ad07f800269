// Reads a shapefile set (".SHP" geometry, ".SHX" index, ".DBF" attribute table, and the ".CPG" that
// names the code page of the attributes, when there is one) in two passes: the shape records in order,
// then the attribute records in order; attribute record i belongs to shape record i. Any byte sequence is
// survived: damage or a short read ends a pass with false and error() names the file and the problem;
// nothing is read past a record or a buffer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/CodePage.h"
#include "geom/PointArray.h"
#include "io/DbfField.h"

namespace viamappa {

struct ShapeRecord {
  std::int32_t shape_type = 0;    // plain type of the record content: 3, 5, or another (0 for null shapes)
  PointArray polyline;            // type 3: the points of the first part only, as read (no rounding)
  std::vector<AreaPart> polygon;  // type 5: rings grouped into distinct areas and exclusion rings
  bool has_geometry = false;      // type 3 with a point in its first part, type 5 with a ring
};

class ShapefileReader {
 public:
  ShapefileReader() = default;
  ~ShapefileReader();
  ShapefileReader(const ShapefileReader&) = delete;
  ShapefileReader& operator=(const ShapefileReader&) = delete;

  // Opens base + ".SHP", ".SHX" and ".DBF", the extensions matched in any letter case, and reads the
  // code page named by base + ".CPG" (Windows-1252 without one). False when one cannot be opened or the
  // code page is unknown (the others are closed).
  bool Open(const std::string& base_name);

  // Reads the set from memory instead (tests, fuzzing). The bytes must outlive the reading.
  void OpenMemory(std::string_view shp, std::string_view shx, std::string_view dbf);

  // Both file headers (file code 9994), the ".SHX" record count, the DBF header (version byte 3) and its
  // field descriptors; the DBF must hold a record for each index record. False on any failure.
  bool ReadHeaders();

  // What the last failure was, naming the file: empty before any.
  const std::string& error() const { return error_; }

  // The plain shape type of the ".SHP" header: the types with Z or M values read as their plain type
  // (PolyLineZ and PolyLineM as 3, PolygonZ and PolygonM as 5), their X and Y kept.
  std::int32_t shape_type() const { return shape_type_; }
  CodePage code_page() const { return code_page_; }
  std::int64_t record_count() const { return record_count_; }
  int dbf_header_length() const { return dbf_header_length_; }
  int dbf_record_length() const { return dbf_record_length_; }
  const std::vector<DbfField>& fields() const { return fields_; }
  const DbfField* FindField(std::string_view upper_case_name) const;

  // Positions the ".SHP" at its first record (byte 100).
  bool RewindShapes();
  // The next shape record. False on a short read or a damaged record: the pass stops there.
  bool NextShape(ShapeRecord& out);

  // Positions the DBF at its header length.
  bool RewindAttributes();
  // The next attribute record's raw bytes (the record length). False on a short read.
  bool NextAttributes(std::string& record);

  // True for a record marked deleted ('*' as its first byte): GIS tools leave such records out.
  static bool IsDeleted(std::string_view record) { return !record.empty() && record[0] == '*'; }

  // The field's bytes of a record up to the first zero byte, as they stand (no trimming, no code-page
  // conversion); empty when the field does not lie inside the record.
  static std::string_view FieldValue(std::string_view record, const DbfField& field);

  // The field's text as UTF-8 from the set's code page, without its padding blanks (a value of blanks
  // keeps one, as the access layer's display form does).
  void FieldText(std::string_view record, const DbfField& field, std::string& out) const;

  void Close();

  // A file of the set or its bytes in memory, read sequentially.
  class Source {
   public:
    Source() = default;
    ~Source() { Close(); }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    // Opens the file; false with the reason in error.
    bool OpenFile(const std::string& path, std::string& error);
    void OpenMemory(std::string_view bytes);
    void Close();
    bool is_open() const { return file_ != nullptr || memory_open_; }
    // Reads exactly size bytes; false (and an undefined position) when fewer are left.
    bool Read(void* out, std::uint64_t size);
    bool Seek(std::uint64_t position);
    std::uint64_t size() const { return size_; }
    std::uint64_t position() const { return position_; }

   private:
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;  // the stream buffer of file_
    std::string_view memory_;
    bool memory_open_ = false;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;
  };

 private:
  bool DecodeShape(std::uint64_t size, ShapeRecord& out);
  bool Fail(std::string error);

  Source shp_;
  Source shx_;
  Source dbf_;
  std::string shp_name_, shx_name_, dbf_name_;  // as messages name them
  std::string error_;
  CodePage code_page_ = CodePage::Windows1252;
  std::int32_t shape_type_ = 0;
  std::int64_t record_count_ = 0;
  std::int64_t shapes_read_ = 0;
  std::int64_t attributes_read_ = 0;
  int dbf_header_length_ = 0;
  int dbf_record_length_ = 0;
  std::vector<DbfField> fields_;
  std::vector<unsigned char> content_;  // the content of the current shape record, reused
  std::vector<std::int32_t> part_starts_;
  std::vector<PointArray> rings_;
};

}  // namespace viamappa
