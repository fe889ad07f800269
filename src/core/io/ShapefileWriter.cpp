#include "io/ShapefileWriter.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <ctime>
#include <limits>

#include "base/Windows1252.h"
#include "io/ShapefileBytes.h"

namespace viamappa {

namespace {

using namespace shapefile_bytes;

constexpr std::size_t kStreamBuffer = 1 << 20;

bool IsLower(char c) {
  return c >= 'a' && c <= 'z';
}
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The path with its three-letter extension replaced by the given one, in the extension's letter case.
std::string Sibling(const std::string& path, const char* upper_extension) {
  std::string sibling = path;
  for (std::size_t i = 0; i < 3; ++i) {
    const char given = path[path.size() - 3 + i];
    sibling[path.size() - 3 + i] = IsLower(given) ? Lower(upper_extension[i]) : upper_extension[i];
  }
  return sibling;
}

bool IsExtension(const std::string& path, std::string_view lower_extension) {
  for (std::size_t i = 0; i < 3; ++i) {
    if (Lower(path[path.size() - 3 + i]) != lower_extension[i]) return false;
  }
  return true;
}

std::FILE* CreateFile(const std::string& path, std::vector<char>& buffer) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file != nullptr) {
    buffer.resize(kStreamBuffer);
    std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
  }
  return file;
}

// The 100-byte header of the ".SHP" and ".SHX" files.
void MainHeader(unsigned char* header, std::int64_t words, std::int32_t shape_type, const Box& file_box) {
  // A set without records keeps the header box it has always had: the largest double as its minimum
  // and the smallest positive double as its maximum.
  const Box box = file_box.IsEmpty()
                      ? Box::Of(std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::min(), std::numeric_limits<double>::min())
                      : file_box;
  std::memset(header, 0, 100);
  PutBe32(header, 9994);
  PutBe32(header + 24, static_cast<std::int32_t>(words));
  PutLe32(header + 28, 1000);
  PutLe32(header + 32, shape_type);
  PutLeDouble(header + 36, box.minx);
  PutLeDouble(header + 44, box.miny);
  PutLeDouble(header + 52, box.maxx);
  PutLeDouble(header + 60, box.maxy);
}

}  // namespace

std::vector<std::string> ShapefileSetPaths(const std::string& shp_path) {
  if (shp_path.size() < 4 || shp_path[shp_path.size() - 4] != '.') return {};
  return {shp_path, Sibling(shp_path, "SHX"), Sibling(shp_path, "DBF"), Sibling(shp_path, "CPG")};
}

ShapefileWriter::~ShapefileWriter() {
  CloseAll();
}

void ShapefileWriter::CloseAll() {
  for (std::FILE** file : {&shp_, &shx_, &dbf_}) {
    if (*file != nullptr && std::fclose(*file) != 0) failed_ = true;
    *file = nullptr;
  }
}

bool ShapefileWriter::Create(const std::string& shp_path) {
  CloseAll();
  fields_.clear();
  record_length_ = 1;
  shape_type_ = 0;
  shp_words_ = 50;
  shx_words_ = 50;
  records_ = 0;
  box_ = Box();
  failed_ = false;

  if (shp_path.size() < 4 || shp_path[shp_path.size() - 4] != '.' || IsExtension(shp_path, "shx") ||
      IsExtension(shp_path, "dbf") || IsExtension(shp_path, "cpg")) {
    return false;
  }
  shp_ = CreateFile(shp_path, shp_buffer_);
  shx_ = CreateFile(Sibling(shp_path, "SHX"), shx_buffer_);
  dbf_ = CreateFile(Sibling(shp_path, "DBF"), dbf_buffer_);
  std::FILE* cpg = std::fopen(Sibling(shp_path, "CPG").c_str(), "wb");
  bool created = shp_ != nullptr && shx_ != nullptr && dbf_ != nullptr && cpg != nullptr;
  if (cpg != nullptr) {
    created = std::fwrite("1252", 1, 4, cpg) == 4 && created;
    created = std::fclose(cpg) == 0 && created;
  }
  if (created) {
    const unsigned char zeros[100] = {};
    created = Put(shp_, zeros, 100) && Put(shx_, zeros, 100) && Put(dbf_, zeros, 32);
  }
  if (!created) {
    CloseAll();
    failed_ = true;
  }
  return created;
}

bool ShapefileWriter::AddField(std::string_view name, char type, int length) {
  if (dbf_ == nullptr || records_ > 0 || shape_type_ != 0) return false;
  if (name.empty() || name.size() > 10 || name.find('\0') != std::string_view::npos) return false;
  if ((type != 'C' && type != 'N') || length < 1 || length > (type == 'C' ? 254 : 20)) return false;
  if (record_length_ + length > 0xFFFF || 32 + 32 * (fields_.size() + 1) + 1 > 0xFFFF) return false;

  unsigned char descriptor[32] = {};
  std::memcpy(descriptor, name.data(), name.size());
  descriptor[11] = static_cast<unsigned char>(type);
  descriptor[16] = static_cast<unsigned char>(length);
  if (!Put(dbf_, descriptor, 32)) return false;
  fields_.push_back(MakeDbfField(name, type, length, 0, record_length_ - 1));
  fields_.back().name.assign(name);
  record_length_ += length;
  return true;
}

bool ShapefileWriter::BeginRecord(const std::vector<std::string>& values, std::int32_t shape_type) {
  if (shp_ == nullptr || failed_ || values.size() != fields_.size()) return false;
  if (shape_type_ != 0 && shape_type_ != shape_type) return false;
  if (shape_type_ == 0) {
    const unsigned char terminator = 0x0D;
    if (!Put(dbf_, &terminator, 1)) return false;
    shape_type_ = shape_type;
  }
  record_.assign(static_cast<std::size_t>(record_length_), ' ');
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const std::string text = Utf8ToWindows1252(values[i]);
    const std::size_t size = std::min(text.size(), static_cast<std::size_t>(fields_[i].length));
    std::memcpy(record_.data() + 1 + fields_[i].offset, text.data(), size);
  }
  return true;
}

bool ShapefileWriter::AddPolyline(const std::vector<std::string>& values, const PointArray& line) {
  if (!BeginRecord(values, 3)) return false;
  if (line.empty()) return WriteNullShape();
  // The box of the record is that of its points: a stored box may be rounded or wider than they are.
  Box box;
  for (const Point& p : line.points()) box.Widen(p);
  return WriteShape(3, box, {&line});
}

bool ShapefileWriter::AddPolyline(const std::vector<std::string>& values,
                                  const std::vector<PointArray>& parts) {
  if (!BeginRecord(values, 3)) return false;
  std::vector<const PointArray*> kept;
  Box box;
  for (const PointArray& part : parts) {
    if (part.empty()) continue;
    kept.push_back(&part);
    for (const Point& p : part.points()) box.Widen(p);
  }
  if (kept.empty()) return WriteNullShape();
  return WriteShape(3, box, kept);
}

bool ShapefileWriter::AddPolygon(const std::vector<std::string>& values,
                                 const std::vector<PointArray>& rings) {
  if (!BeginRecord(values, 5)) return false;
  std::vector<const PointArray*> parts;
  Box box;
  for (const PointArray& ring : rings) {
    parts.push_back(&ring);
    for (const Point& p : ring.points()) box.Widen(p);
  }
  if (parts.empty()) return WriteNullShape();
  return WriteShape(5, box, parts);
}

bool ShapefileWriter::WriteShape(std::int32_t shape_type, const Box& box,
                                 const std::vector<const PointArray*>& parts) {
  std::uint64_t points = 0;
  for (const PointArray* part : parts) points += static_cast<std::uint64_t>(part->count());
  const std::uint64_t content_words = 22 + 2 * static_cast<std::uint64_t>(parts.size()) + 8 * points;
  if (content_words > INT32_MAX || shp_words_ + 4 + static_cast<std::int64_t>(content_words) > INT32_MAX ||
      shx_words_ + 4 > INT32_MAX) {
    return false;
  }
  const std::size_t bytes = 8 + 2 * static_cast<std::size_t>(content_words);
  if (content_.size() < bytes) content_.resize(bytes);
  unsigned char* p = content_.data();
  PutBe32(p, static_cast<std::int32_t>(records_ + 1));
  PutBe32(p + 4, static_cast<std::int32_t>(content_words));
  PutLe32(p + 8, shape_type);
  PutLeDouble(p + 12, box.minx);
  PutLeDouble(p + 20, box.miny);
  PutLeDouble(p + 28, box.maxx);
  PutLeDouble(p + 36, box.maxy);
  PutLe32(p + 44, static_cast<std::int32_t>(parts.size()));
  PutLe32(p + 48, static_cast<std::int32_t>(points));
  p += 52;
  std::int32_t first = 0;
  for (const PointArray* part : parts) {
    PutLe32(p, first);
    p += 4;
    first += part->count();
  }
  for (const PointArray* part : parts) {
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(p, part->data(), part->byte_size());
      p += part->byte_size();
    } else {
      for (const Point& point : part->points()) {
        PutLeDouble(p, point.x);
        PutLeDouble(p + 8, point.y);
        p += 16;
      }
    }
  }
  unsigned char index[8];
  PutBe32(index, static_cast<std::int32_t>(shp_words_));
  PutBe32(index + 4, static_cast<std::int32_t>(content_words));
  if (!Put(dbf_, record_.data(), record_.size()) || !Put(shx_, index, 8) ||
      !Put(shp_, content_.data(), bytes)) {
    return false;
  }
  box_.Widen(box);
  shx_words_ += 4;
  shp_words_ += 4 + static_cast<std::int64_t>(content_words);
  ++records_;
  return true;
}

bool ShapefileWriter::WriteNullShape() {
  if (shp_words_ + 6 > INT32_MAX || shx_words_ + 4 > INT32_MAX) return false;
  unsigned char record[12] = {};
  PutBe32(record, static_cast<std::int32_t>(records_ + 1));
  PutBe32(record + 4, 2);
  unsigned char index[8];
  PutBe32(index, static_cast<std::int32_t>(shp_words_));
  PutBe32(index + 4, 2);
  if (!Put(dbf_, record_.data(), record_.size()) || !Put(shx_, index, 8) || !Put(shp_, record, 12))
    return false;
  shx_words_ += 4;
  shp_words_ += 6;
  ++records_;
  return true;
}

void ShapefileWriter::SetDate(int year, int month, int day) {
  year_ = year;
  month_ = month;
  day_ = day;
}

bool ShapefileWriter::Put(std::FILE* file, const void* bytes, std::size_t size) {
  if (failed_ || file == nullptr) return false;
  if (std::fwrite(bytes, 1, size, file) != size) failed_ = true;
  return !failed_;
}

std::int64_t ShapefileWriter::Finish() {
  if (shp_ == nullptr) return -1;
  if (shape_type_ == 0) {
    const unsigned char terminator = 0x0D;
    Put(dbf_, &terminator, 1);
  }
  const unsigned char end = 0x1A;
  Put(dbf_, &end, 1);

  const std::int32_t shape_type = shape_type_ == 0 ? 3 : shape_type_;
  unsigned char header[100];
  MainHeader(header, shp_words_, shape_type, box_);
  if (std::fseek(shp_, 0, SEEK_SET) != 0) failed_ = true;
  Put(shp_, header, 100);
  MainHeader(header, shx_words_, shape_type, box_);
  if (std::fseek(shx_, 0, SEEK_SET) != 0) failed_ = true;
  Put(shx_, header, 100);

  int year = year_, month = month_, day = day_;
  if (year == 0) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    year = local.tm_year + 1900;
    month = local.tm_mon + 1;
    day = local.tm_mday;
  }
  unsigned char dbf_header[32] = {};
  dbf_header[0] = 3;
  dbf_header[1] = static_cast<unsigned char>(std::clamp(year - 1900, 0, 255));
  dbf_header[2] = static_cast<unsigned char>(month);
  dbf_header[3] = static_cast<unsigned char>(day);
  PutLe32(dbf_header + 4, static_cast<std::int32_t>(static_cast<std::uint32_t>(records_)));
  PutLe16(dbf_header + 8, static_cast<int>(32 + 32 * fields_.size() + 1));
  PutLe16(dbf_header + 10, record_length_);
  if (std::fseek(dbf_, 0, SEEK_SET) != 0) failed_ = true;
  Put(dbf_, dbf_header, 32);

  CloseAll();
  return failed_ ? -1 : records_;
}

}  // namespace viamappa
