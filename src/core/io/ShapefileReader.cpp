#include "io/ShapefileReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>

#include "geom/RingGrouping.h"
#include "io/ShapefileBytes.h"

namespace viamappa {

namespace {

using namespace shapefile_bytes;

constexpr std::size_t kStreamBuffer = 1 << 20;
constexpr std::int32_t kFileCode = 9994;

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The file base + extension whose extension matches in any letter case: the upper-case and the
// lower-case spelling first, then any other found in the folder (the first in name order).
std::string FindMember(const std::string& base, std::string_view upper_extension) {
  namespace fs = std::filesystem;
  std::error_code error;
  const std::string upper = base + std::string(upper_extension);
  if (fs::is_regular_file(upper, error)) return upper;
  std::string lower_extension(upper_extension);
  for (char& c : lower_extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  const std::string lower = base + lower_extension;
  if (fs::is_regular_file(lower, error)) return lower;

  const fs::path base_path(base);
  const std::string stem = base_path.filename().string();
  if (stem.empty()) return upper;
  const fs::path folder = base_path.has_parent_path() ? base_path.parent_path() : fs::path(".");
  std::string found;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() != stem.size() + upper_extension.size() || name.compare(0, stem.size(), stem) != 0)
      continue;
    if (!SameLetters(std::string_view(name).substr(stem.size()), upper_extension)) continue;
    if (found.empty() || name < found) found = name;
  }
  return found.empty() ? upper : (folder / found).string();
}

}  // namespace

// ---- Source ----

bool ShapefileReader::Source::OpenFile(const std::string& path) {
  Close();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  struct stat status {};
  if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) {
    std::fclose(file);
    return false;
  }
  buffer_.resize(kStreamBuffer);
  std::setvbuf(file, buffer_.data(), _IOFBF, buffer_.size());
  file_ = file;
  size_ = static_cast<std::uint64_t>(status.st_size);
  position_ = 0;
  return true;
}

void ShapefileReader::Source::OpenMemory(std::string_view bytes) {
  Close();
  memory_ = bytes;
  memory_open_ = true;
  size_ = bytes.size();
  position_ = 0;
}

void ShapefileReader::Source::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  buffer_.clear();
  buffer_.shrink_to_fit();
  memory_ = {};
  memory_open_ = false;
  size_ = 0;
  position_ = 0;
}

bool ShapefileReader::Source::Read(void* out, std::uint64_t size) {
  if (!is_open() || position_ > size_ || size > size_ - position_) return false;
  if (size == 0) return true;
  if (file_ != nullptr) {
    if (std::fread(out, 1, size, file_) != size) return false;
  } else {
    std::memcpy(out, memory_.data() + position_, size);
  }
  position_ += size;
  return true;
}

bool ShapefileReader::Source::Seek(std::uint64_t position) {
  if (!is_open() || position > static_cast<std::uint64_t>(INT64_MAX)) return false;
  if (file_ != nullptr && fseeko(file_, static_cast<off_t>(position), SEEK_SET) != 0) return false;
  position_ = position;
  return true;
}

// ---- ShapefileReader ----

ShapefileReader::~ShapefileReader() {
  Close();
}

bool ShapefileReader::Open(const std::string& base_name) {
  Close();
  if (shp_.OpenFile(FindMember(base_name, ".SHP")) && shx_.OpenFile(FindMember(base_name, ".SHX")) &&
      dbf_.OpenFile(FindMember(base_name, ".DBF"))) {
    return true;
  }
  Close();
  return false;
}

void ShapefileReader::OpenMemory(std::string_view shp, std::string_view shx, std::string_view dbf) {
  Close();
  shp_.OpenMemory(shp);
  shx_.OpenMemory(shx);
  dbf_.OpenMemory(dbf);
}

void ShapefileReader::Close() {
  shp_.Close();
  shx_.Close();
  dbf_.Close();
  shape_type_ = 0;
  record_count_ = 0;
  dbf_header_length_ = 0;
  dbf_record_length_ = 0;
  fields_.clear();
  content_.clear();
  content_.shrink_to_fit();
}

bool ShapefileReader::ReadHeaders() {
  shape_type_ = 0;
  record_count_ = 0;
  dbf_header_length_ = 0;
  dbf_record_length_ = 0;
  fields_.clear();

  unsigned char header[100];
  if (!shp_.Seek(0) || !shp_.Read(header, 100) || ReadBe32(header) != kFileCode) return false;
  shape_type_ = ReadLe32(header + 32);

  // The index records are only counted: one per 4 words from word 50 up to the file length, each of
  // which must be there.
  if (!shx_.Seek(0) || !shx_.Read(header, 100) || ReadBe32(header) != kFileCode) return false;
  const std::int64_t words = ReadBe32(header + 24);
  const std::int64_t count = words > 50 ? (words - 50 + 3) / 4 : 0;
  if (static_cast<std::uint64_t>(count) * 8 > shx_.size() - 100) return false;
  record_count_ = count;

  unsigned char dbf_header[32];
  if (!dbf_.Seek(0) || !dbf_.Read(dbf_header, 32) || dbf_header[0] != 3) return false;
  dbf_header_length_ = ReadLe16(dbf_header + 8);
  dbf_record_length_ = ReadLe16(dbf_header + 10);

  int offset = 0;
  for (int position = 32; position < dbf_header_length_ - 1; position += 32) {
    unsigned char descriptor[32];
    if (!dbf_.Read(descriptor, 32)) return false;
    if (descriptor[0] == 0x0D) break;  // the terminator: what follows it up to the header length is padding
    const std::string_view name(reinterpret_cast<const char*>(descriptor), 11);
    fields_.push_back(
        MakeDbfField(name, static_cast<char>(descriptor[11]), descriptor[16], descriptor[17], offset));
    offset += descriptor[16];
  }
  return true;
}

const DbfField* ShapefileReader::FindField(std::string_view upper_case_name) const {
  for (const DbfField& field : fields_) {
    if (field.name == upper_case_name) return &field;
  }
  return nullptr;
}

bool ShapefileReader::RewindShapes() {
  return shp_.Seek(100);
}

bool ShapefileReader::NextShape(ShapeRecord& out) {
  out.shape_type = 0;
  out.polyline = PointArray();
  out.polygon.clear();
  out.has_geometry = false;

  unsigned char header[8];
  if (!shp_.Read(header, 8)) return false;
  const std::int32_t words = ReadBe32(header + 4);
  if (words < 0) return false;
  const std::uint64_t size = 2 * static_cast<std::uint64_t>(words);
  // A length beyond the bytes left is a short read: it is refused before anything is allocated for it.
  if (shp_.position() > shp_.size() || size > shp_.size() - shp_.position()) return false;
  if (content_.size() < size) content_.resize(size);
  if (!shp_.Read(content_.data(), size)) return false;
  return DecodeShape(size, out);
}

bool ShapefileReader::DecodeShape(std::uint64_t size, ShapeRecord& out) {
  const unsigned char* content = content_.data();
  if (size < 4) return false;
  out.shape_type = ReadLe32(content);
  if (out.shape_type != 3 && out.shape_type != 5) return true;

  // The counts must fit the content, and each part must start inside the points, none before the one
  // before it.
  if (size < 44) return false;
  const std::int32_t parts = ReadLe32(content + 36);
  const std::int32_t points = ReadLe32(content + 40);
  if (parts < 0 || points < 0) return false;
  const std::uint64_t points_at = 44 + 4 * static_cast<std::uint64_t>(parts);
  if (points_at + 16 * static_cast<std::uint64_t>(points) > size) return false;
  part_starts_.resize(static_cast<std::size_t>(parts) + 1);
  for (std::int32_t k = 0; k < parts; ++k) {
    const std::int32_t start = ReadLe32(content + 44 + 4 * static_cast<std::size_t>(k));
    if (start < 0 || start > points || (k > 0 && start < part_starts_[k - 1])) return false;
    part_starts_[k] = start;
  }
  part_starts_[parts] = points;

  const auto read_points = [&](std::int32_t begin, std::int32_t end) {
    std::vector<Point> ring(static_cast<std::size_t>(end - begin));
    const unsigned char* p = content + points_at + 16 * static_cast<std::size_t>(begin);
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(ring.data(), p, ring.size() * sizeof(Point));
    } else {
      for (Point& point : ring) {
        point = {ReadLeDouble(p), ReadLeDouble(p + 8)};
        p += 16;
      }
    }
    return PointArray(std::move(ring));
  };

  if (out.shape_type == 3) {
    if (parts > 0 && part_starts_[1] > part_starts_[0]) {
      out.polyline = read_points(part_starts_[0], part_starts_[1]);
      out.has_geometry = true;
    }
    return true;
  }
  // A part without points is no ring and is left out.
  std::vector<PointArray> rings;
  rings.reserve(static_cast<std::size_t>(parts));
  for (std::int32_t k = 0; k < parts; ++k) {
    if (part_starts_[k + 1] > part_starts_[k])
      rings.push_back(read_points(part_starts_[k], part_starts_[k + 1]));
  }
  out.polygon = GroupRings(std::move(rings));
  out.has_geometry = !out.polygon.empty();
  return true;
}

bool ShapefileReader::RewindAttributes() {
  return dbf_.Seek(static_cast<std::uint64_t>(dbf_header_length_));
}

bool ShapefileReader::NextAttributes(std::string& record) {
  record.resize(static_cast<std::size_t>(dbf_record_length_));
  return dbf_.Read(record.data(), record.size());
}

std::string_view ShapefileReader::FieldValue(std::string_view record, const DbfField& field) {
  if (field.offset < 0 || field.length <= 0) return {};
  const std::size_t start = 1 + static_cast<std::size_t>(field.offset);
  if (start > record.size() || static_cast<std::size_t>(field.length) > record.size() - start) return {};
  const std::string_view value = record.substr(start, static_cast<std::size_t>(field.length));
  return value.substr(0, value.find('\0'));
}

}  // namespace viamappa
