// Shapefile bytes made by hand for the reader's tests: headers, records and DBF tables, damaged at will.
#pragma once

#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "geom/Box.h"

namespace viamappa::test {

inline void AppendBe32(std::string& out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}
inline void AppendLe32(std::string& out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int shift : {0, 8, 16, 24}) out.push_back(static_cast<char>((v >> shift) & 0xFF));
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
  AppendBe32(out, file_code);
  for (int i = 0; i < 5; ++i) AppendBe32(out, 0);
  AppendBe32(out, words);
  AppendLe32(out, 1000);
  AppendLe32(out, shape_type);
  for (int i = 0; i < 8; ++i) AppendDouble(out, 0.0);
  return out;
}

// The content of a polyline or polygon record. parts and points are written as given; the counts are
// those of the vectors unless given.
inline std::string ShapeContent(std::int32_t shape_type, const std::vector<std::int32_t>& parts,
                                const std::vector<Point>& points, std::int32_t part_count = kGiven,
                                std::int32_t point_count = kGiven) {
  std::string out;
  AppendLe32(out, shape_type);
  for (int i = 0; i < 4; ++i) AppendDouble(out, 0.0);
  AppendLe32(out, part_count != kGiven ? part_count : static_cast<std::int32_t>(parts.size()));
  AppendLe32(out, point_count != kGiven ? point_count : static_cast<std::int32_t>(points.size()));
  for (std::int32_t start : parts) AppendLe32(out, start);
  for (const Point& p : points) {
    AppendDouble(out, p.x);
    AppendDouble(out, p.y);
  }
  return out;
}

inline std::string NullContent() {
  std::string out;
  AppendLe32(out, 0);
  return out;
}

// A record: number, content length in words (the content's unless given), content.
inline std::string ShapeRecordBytes(std::int32_t number, const std::string& content,
                                    std::int32_t words = kGiven) {
  std::string out;
  AppendBe32(out, number);
  AppendBe32(out, words != kGiven ? words : static_cast<std::int32_t>(content.size() / 2));
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
  std::string out = MainHeader(50 + 4 * index_records, shape_type);
  for (std::int32_t i = 0; i < index_records; ++i) {
    AppendBe32(out, 0);
    AppendBe32(out, 0);
  }
  return out;
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
  std::string out(32, '\0');
  out[0] = static_cast<char>(version);
  const int header_length = 32 + 32 * static_cast<int>(fields.size()) + 1;
  out[4] = static_cast<char>(records.size());
  out[8] = static_cast<char>(header_length & 0xFF);
  out[9] = static_cast<char>(header_length >> 8);
  out[10] = static_cast<char>(record_length & 0xFF);
  out[11] = static_cast<char>(record_length >> 8);
  for (const DbfSpec& f : fields) {
    std::string descriptor(32, '\0');
    descriptor.replace(0, std::min<std::size_t>(f.name.size(), 11), f.name.substr(0, 11));
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

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace viamappa::test
