#include "io/ShapefileReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

#include "base/TextUtil.h"
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

// Why a file could not be opened, in words a person can act on.
std::string OpenFailure(const std::string& path, int error_number) {
  switch (error_number) {
    case ENOENT:
      return "Il file " + path + " non esiste.";
    case EACCES:
    case EPERM:
      return "Il file " + path + " non può essere letto: accesso negato.";
    case EISDIR:
      return "Il percorso " + path + " indica una cartella e non un file.";
    default:
      return "Il file " + path + " non può essere aperto (" + std::strerror(error_number) + ").";
  }
}

// The plain type of a shape type with Z or M values.
std::int32_t PlainShapeType(std::int32_t type) {
  switch (type) {
    case 13:
    case 23:
      return 3;
    case 15:
    case 25:
      return 5;
    default:
      return type;
  }
}

std::string Count(std::int64_t value) {
  return std::to_string(value);
}

}  // namespace

// ---- Source ----

bool ShapefileReader::Source::OpenFile(const std::string& path, std::string& error) {
  Close();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = OpenFailure(path, errno);
    return false;
  }
  struct stat status {};
  if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) {
    error = "Il percorso " + path + " non indica un file.";
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

bool ShapefileReader::Fail(std::string error) {
  error_ = std::move(error);
  return false;
}

bool ShapefileReader::Open(const std::string& base_name) {
  Close();
  shp_name_ = FindMember(base_name, ".SHP");
  shx_name_ = FindMember(base_name, ".SHX");
  dbf_name_ = FindMember(base_name, ".DBF");
  std::string error;
  if (!shp_.OpenFile(shp_name_, error) || !shx_.OpenFile(shx_name_, error) ||
      !dbf_.OpenFile(dbf_name_, error)) {
    Close();
    return Fail(error);
  }
  // Without a ".CPG" the attributes are Windows-1252; a code page the program does not know would give
  // garbled names, so the set is refused.
  const std::string cpg_name = FindMember(base_name, ".CPG");
  std::error_code exists_error;
  if (std::filesystem::is_regular_file(cpg_name, exists_error)) {
    std::string text(64, '\0');
    std::FILE* cpg = std::fopen(cpg_name.c_str(), "rb");
    const std::size_t read = cpg ? std::fread(text.data(), 1, text.size(), cpg) : 0;
    if (cpg) std::fclose(cpg);
    text.resize(read);
    const std::optional<CodePage> page = CodePageFromName(text);
    if (!page) {
      Close();
      return Fail("Il file " + cpg_name +
                  " indica una codifica dei caratteri che il programma non conosce (\"" +
                  std::string(Trim(text.substr(0, text.find_first_of("\r\n")))) + "\").");
    }
    code_page_ = *page;
  }
  return true;
}

void ShapefileReader::OpenMemory(std::string_view shp, std::string_view shx, std::string_view dbf) {
  Close();
  shp_.OpenMemory(shp);
  shx_.OpenMemory(shx);
  dbf_.OpenMemory(dbf);
  shp_name_ = "(.shp)";
  shx_name_ = "(.shx)";
  dbf_name_ = "(.dbf)";
}

void ShapefileReader::Close() {
  shp_.Close();
  shx_.Close();
  dbf_.Close();
  code_page_ = CodePage::Windows1252;
  shapes_read_ = attributes_read_ = 0;
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
  error_.clear();

  // The main header of the ".SHP" and of the ".SHX".
  const auto main_header = [this](Source& source, const std::string& name, unsigned char* header) {
    if (source.size() == 0) return Fail("Il file " + name + " è vuoto.");
    if (!source.Seek(0) || !source.Read(header, 100))
      return Fail("Il file " + name + " è troncato: manca parte dell'intestazione.");
    if (ReadBe32(header) != kFileCode)
      return Fail("Il file " + name + " non è uno Shape File (codice " + Count(ReadBe32(header)) +
                  " invece di 9994).");
    return true;
  };
  unsigned char header[100];
  if (!main_header(shp_, shp_name_, header)) return false;
  shape_type_ = PlainShapeType(ReadLe32(header + 32));

  // The index records are only counted: one per 4 words from word 50 up to the file length, each of
  // which must be there.
  if (!main_header(shx_, shx_name_, header)) return false;
  const std::int64_t words = ReadBe32(header + 24);
  const std::int64_t count = words > 50 ? (words - 50 + 3) / 4 : 0;
  if (static_cast<std::uint64_t>(count) * 8 > shx_.size() - 100)
    return Fail("Il file " + shx_name_ + " è troncato: l'intestazione annuncia " + Count(count) +
                " record, il file ne contiene " + Count(static_cast<std::int64_t>((shx_.size() - 100) / 8)) +
                ".");
  record_count_ = count;

  unsigned char dbf_header[32];
  if (dbf_.size() == 0) return Fail("Il file " + dbf_name_ + " è vuoto.");
  if (!dbf_.Seek(0) || !dbf_.Read(dbf_header, 32))
    return Fail("Il file " + dbf_name_ + " è troncato: manca parte dell'intestazione.");
  if (dbf_header[0] != 3)
    return Fail("Il file " + dbf_name_ + " non è una tavola dBASE III (versione " + Count(dbf_header[0]) +
                ").");
  dbf_header_length_ = ReadLe16(dbf_header + 8);
  dbf_record_length_ = ReadLe16(dbf_header + 10);

  int offset = 0;
  for (int position = 32; position < dbf_header_length_ - 1; position += 32) {
    unsigned char descriptor[32];
    if (!dbf_.Read(descriptor, 32))
      return Fail("Il file " + dbf_name_ + " è troncato: mancano descrizioni dei campi.");
    if (descriptor[0] == 0x0D) break;  // the terminator: what follows it up to the header length is padding
    const std::string_view name(reinterpret_cast<const char*>(descriptor), 11);
    fields_.push_back(
        MakeDbfField(name, static_cast<char>(descriptor[11]), descriptor[16], descriptor[17], offset));
    offset += descriptor[16];
  }
  if (1 + offset > dbf_record_length_)
    return Fail("Il file " + dbf_name_ + " è danneggiato: i campi occupano " + Count(1 + offset) +
                " byte, il record ne misura " + Count(dbf_record_length_) + ".");
  // Each index record needs its attribute record; a table cut short is found now, before anything is
  // imported.
  const std::uint64_t needed =
      static_cast<std::uint64_t>(dbf_header_length_) +
      static_cast<std::uint64_t>(record_count_) * static_cast<std::uint64_t>(dbf_record_length_);
  if (dbf_.size() < needed) {
    const std::uint64_t held =
        dbf_.size() > static_cast<std::uint64_t>(dbf_header_length_) && dbf_record_length_ > 0
            ? (dbf_.size() - dbf_header_length_) / dbf_record_length_
            : 0;
    return Fail("Il file " + dbf_name_ + " contiene " + Count(static_cast<std::int64_t>(held)) +
                " record, ma il file " + shx_name_ + " ne elenca " + Count(record_count_) + ".");
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
  shapes_read_ = 0;
  return shp_.Seek(100) || Fail("Il file " + shp_name_ + " non può essere letto.");
}

bool ShapefileReader::NextShape(ShapeRecord& out) {
  out.shape_type = 0;
  out.polyline = PointArray();
  out.polygon.clear();
  out.has_geometry = false;

  const std::int64_t number = ++shapes_read_;
  unsigned char header[8];
  if (!shp_.Read(header, 8))
    return Fail("Il file " + shp_name_ + " è troncato: il record " + Count(number) + " non c'è.");
  const std::int32_t words = ReadBe32(header + 4);
  const std::uint64_t size = 2 * static_cast<std::uint64_t>(words < 0 ? 0 : words);
  // A length beyond the bytes left is a short read: it is refused before anything is allocated for it.
  if (words < 0 || shp_.position() > shp_.size() || size > shp_.size() - shp_.position())
    return Fail(
        "Il file " + shp_name_ + " è troncato: il record " + Count(number) + " dichiara " +
        Count(static_cast<std::int64_t>(size)) + " byte e ne restano " +
        Count(static_cast<std::int64_t>(shp_.position() <= shp_.size() ? shp_.size() - shp_.position() : 0)) +
        ".");
  if (content_.size() < size) content_.resize(size);
  if (!shp_.Read(content_.data(), size))
    return Fail("Il file " + shp_name_ + " non può essere letto al record " + Count(number) + ".");
  if (!DecodeShape(size, out))
    return Fail("Il record " + Count(number) + " del file " + shp_name_ +
                " è danneggiato: le sue parti o i suoi punti vanno oltre la sua lunghezza.");
  return true;
}

bool ShapefileReader::DecodeShape(std::uint64_t size, ShapeRecord& out) {
  const unsigned char* content = content_.data();
  if (size < 4) return false;
  out.shape_type = PlainShapeType(ReadLe32(content));
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
  attributes_read_ = 0;
  return dbf_.Seek(static_cast<std::uint64_t>(dbf_header_length_)) ||
         Fail("Il file " + dbf_name_ + " non può essere letto.");
}

bool ShapefileReader::NextAttributes(std::string& record) {
  const std::int64_t number = ++attributes_read_;
  record.resize(static_cast<std::size_t>(dbf_record_length_));
  return dbf_.Read(record.data(), record.size()) ||
         Fail("Il file " + dbf_name_ + " è troncato: il record " + Count(number) + " non c'è.");
}

void ShapefileReader::FieldText(std::string_view record, const DbfField& field, std::string& out) const {
  const std::string_view bytes = TrimTrailingBlanks(FieldValue(record, field));
  // Plain ASCII, most values, needs no conversion.
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    out.assign(bytes);
  } else {
    ToUtf8(bytes, code_page_, out);
  }
}

std::string_view ShapefileReader::FieldValue(std::string_view record, const DbfField& field) {
  if (field.offset < 0 || field.length <= 0) return {};
  const std::size_t start = 1 + static_cast<std::size_t>(field.offset);
  if (start > record.size() || static_cast<std::size_t>(field.length) > record.size() - start) return {};
  const std::string_view value = record.substr(start, static_cast<std::size_t>(field.length));
  return value.substr(0, value.find('\0'));
}

}  // namespace viamappa
