// Shapefile bytes made by hand for the reader's tests: headers, records and DBF tables, damaged at will.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/Box.h"
#include "io/ShapefileReader.h"

namespace viamappa::test {

// A 32-bit integer, big-endian (as the main and index files' headers) or little-endian.
inline void Append32(std::string& out, std::int32_t value, bool big_endian = false) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<char>((v >> (big_endian ? 24 - 8 * i : 8 * i)) & 0xFF));
}
inline void AppendDouble(std::string& out, double value) {
  char bytes[8];
  std::memcpy(bytes, &value, 8);
  out.append(bytes, 8);
}

// Counts and lengths left at this value are those of the bytes given.
constexpr std::int32_t kGiven = INT32_MIN;

// The 100-byte header of a ".SHP" or ".SHX" file.
inline std::string MainHeader(std::int32_t words, std::int32_t shape_type, std::int32_t file_code = 9994) {
  std::string out;
  Append32(out, file_code, true);
  out.append(20, '\0');
  Append32(out, words, true);
  Append32(out, 1000);
  Append32(out, shape_type);
  return out + std::string(64, '\0');
}

// The content of a polyline or polygon record. parts and points are written as given; the counts are
// those of the vectors unless given.
inline std::string ShapeContent(std::int32_t shape_type, const std::vector<std::int32_t>& parts,
                                const std::vector<Point>& points, std::int32_t part_count = kGiven,
                                std::int32_t point_count = kGiven) {
  std::string out;
  Append32(out, shape_type);
  out.append(32, '\0');  // the box
  Append32(out, part_count != kGiven ? part_count : static_cast<std::int32_t>(parts.size()));
  Append32(out, point_count != kGiven ? point_count : static_cast<std::int32_t>(points.size()));
  for (std::int32_t start : parts) Append32(out, start);
  for (const Point& p : points) {
    AppendDouble(out, p.x);
    AppendDouble(out, p.y);
  }
  return out;
}

inline std::string NullContent() {
  return std::string(4, '\0');
}

// A record: number, content length in words (the content's unless given), content.
inline std::string ShapeRecordBytes(std::int32_t number, const std::string& content,
                                    std::int32_t words = kGiven) {
  std::string out;
  Append32(out, number, true);
  Append32(out, words != kGiven ? words : static_cast<std::int32_t>(content.size() / 2), true);
  return out + content;
}

// A whole ".SHP" of records and its ".SHX" announcing index_records records.
inline std::string ShpFile(std::int32_t shape_type, const std::vector<std::string>& contents) {
  std::string records;
  for (std::size_t i = 0; i < contents.size(); ++i)
    records += ShapeRecordBytes(static_cast<std::int32_t>(i + 1), contents[i]);
  return MainHeader(static_cast<std::int32_t>(50 + records.size() / 2), shape_type) + records;
}
inline std::string ShxFile(std::int32_t index_records, std::int32_t shape_type = 3) {
  return MainHeader(50 + 4 * index_records, shape_type) + std::string(8 * std::max(index_records, 0), '\0');
}

struct DbfSpec {
  std::string name;  // written as given, up to 11 bytes
  char type = 'C';
  int length = 1;
  int decimals = 0;
};

// A DBF table: header, descriptors, terminator, records (each a deletion flag and the values, already
// padded) and the end byte.
inline std::string DbfFile(const std::vector<DbfSpec>& fields, const std::vector<std::string>& records,
                           unsigned char version = 3) {
  int record_length = 1;
  for (const DbfSpec& f : fields) record_length += f.length;
  std::string out(4, '\0');
  out[0] = static_cast<char>(version);
  Append32(out, static_cast<std::int32_t>(records.size()));
  for (const int length : {33 + 32 * static_cast<int>(fields.size()), record_length})
    out += {static_cast<char>(length & 0xFF), static_cast<char>(length >> 8)};
  out.append(20, '\0');
  for (const DbfSpec& f : fields) {
    std::string descriptor = f.name.substr(0, 11);
    descriptor.resize(32, '\0');
    descriptor[11] = f.type;
    descriptor[16] = static_cast<char>(f.length);
    descriptor[17] = static_cast<char>(f.decimals);
    out += descriptor;
  }
  out.push_back('\x0D');
  for (const std::string& r : records) out += r;
  out.push_back('\x1A');
  return out;
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A text value of a DBF record, cut or padded with blanks to its length.
inline std::string Padded(std::string_view text, int length) {
  std::string value(text.substr(0, length));
  value.resize(length, ' ');
  return value;
}

// base.shp, .shx and .dbf: the shapes, an index announcing shx_records records (as many as the shapes
// unless given) and a table of the rows given.
inline std::string WriteSet(const std::string& base, std::int32_t shape_type,
                            const std::vector<std::string>& shapes, const std::vector<DbfSpec>& fields,
                            const std::vector<std::string>& rows, std::int32_t shx_records = -1) {
  WriteBytes(base + ".shp", ShpFile(shape_type, shapes));
  WriteBytes(base + ".shx",
             ShxFile(shx_records < 0 ? static_cast<std::int32_t>(shapes.size()) : shx_records, shape_type));
  WriteBytes(base + ".dbf", DbfFile(fields, rows));
  return base;
}

// A reader over bytes in memory that live as long as it does.
struct MemorySet {
  std::string shp, shx, dbf;
  ShapefileReader reader;
  MemorySet(std::string shp_bytes, std::string shx_bytes, std::string dbf_bytes)
      : shp(std::move(shp_bytes)), shx(std::move(shx_bytes)), dbf(std::move(dbf_bytes)) {
    reader.OpenMemory(shp, shx, dbf);
  }
};

}  // namespace viamappa::test
