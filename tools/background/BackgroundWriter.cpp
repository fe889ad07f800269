#include "background/BackgroundWriter.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "base/Windows1252.h"

namespace viamappa::background {

namespace {

constexpr double kPackedUnit = 0.001;
constexpr std::uint64_t kNarrowLimit = std::numeric_limits<std::uint32_t>::max();

// A growing record in the byte order of the formats.
class Bytes {
 public:
  void Byte(unsigned value) { data.push_back(static_cast<unsigned char>(value & 0xFF)); }
  void Be16(std::uint32_t value) {
    Byte(value >> 8);
    Byte(value);
  }
  void Be32(std::uint32_t value) {
    Be16(value >> 16);
    Be16(value & 0xFFFF);
  }
  void Offset(std::uint64_t value, bool wide) {
    if (wide) Be32(static_cast<std::uint32_t>(value >> 32));
    Be32(static_cast<std::uint32_t>(value));
  }
  void Double(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) Byte(static_cast<unsigned>(bits >> (8 * i)));
  }
  void Le(std::int64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) Byte(static_cast<unsigned>(static_cast<std::uint64_t>(value) >> (8 * i)));
  }
  // A text of the file, in the Windows code page; longer ones are cut at the 2-byte length's limit.
  void String(const std::string& utf8) { Raw(Utf8ToWindows1252(utf8)); }
  void Raw(const std::string& bytes) {
    const std::size_t length = std::min<std::size_t>(bytes.size(), 0xFFFF);
    Be16(static_cast<std::uint32_t>(length));
    data.insert(data.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
  }
  void Colour3(Colour colour) {
    Byte(colour);
    Byte(colour >> 8);
    Byte(colour >> 16);
  }

  std::vector<unsigned char> data;
};

// Coordinates as the entities store them.
class Coordinates {
 public:
  explicit Coordinates(const WriterOptions& options) : options_(options) {}

  bool failed() const { return failed_; }

  void Position(Bytes& out, const Point& p) {
    if (!options_.packed) {
      out.Double(p.x);
      out.Double(p.y);
      return;
    }
    out.Le(Packed(p.x, options_.origin.x), 4);
    out.Le(Packed(p.y, options_.origin.y), 4);
  }

  // A line or a ring: its count, its box and its points.
  void Line(Bytes& out, const std::vector<Point>& points) {
    out.Be32(static_cast<std::uint32_t>(points.size()));
    if (!options_.packed) {
      Box box;
      for (const Point& p : points) box.Widen(p);
      if (points.empty()) box = Box::Of(0, 0, 0, 0);
      for (double v : {box.minx, box.miny, box.maxx, box.maxy}) out.Double(v);
      for (const Point& p : points) Position(out, p);
      return;
    }
    // Packed: the box of the millimetres the points become, the first point, then steps from it. The
    // first step is zero, as point 0 already includes it.
    std::vector<std::int64_t> xs(points.size()), ys(points.size());
    std::int64_t minx = 0, miny = 0, maxx = 0, maxy = 0;
    bool short_steps = true;
    for (std::size_t i = 0; i < points.size(); ++i) {
      xs[i] = Packed(points[i].x, options_.origin.x);
      ys[i] = Packed(points[i].y, options_.origin.y);
      if (i == 0) {
        minx = maxx = xs[0];
        miny = maxy = ys[0];
        continue;
      }
      minx = std::min(minx, xs[i]);
      maxx = std::max(maxx, xs[i]);
      miny = std::min(miny, ys[i]);
      maxy = std::max(maxy, ys[i]);
      const std::int64_t dx = xs[i] - xs[i - 1], dy = ys[i] - ys[i - 1];
      if (dx < INT16_MIN || dx > INT16_MAX || dy < INT16_MIN || dy > INT16_MAX) short_steps = false;
    }
    for (std::int64_t v : {minx, miny, maxx, maxy}) out.Le(v, 4);
    out.Le(points.empty() ? 0 : xs[0], 4);
    out.Le(points.empty() ? 0 : ys[0], 4);
    out.Byte(short_steps ? 'S' : 'L');
    for (std::size_t i = 0; i < points.size(); ++i) {
      const std::int64_t dx = i == 0 ? 0 : xs[i] - xs[i - 1];
      const std::int64_t dy = i == 0 ? 0 : ys[i] - ys[i - 1];
      out.Le(dx, short_steps ? 2 : 4);
      out.Le(dy, short_steps ? 2 : 4);
    }
  }

 private:
  std::int64_t Packed(double value, double origin) {
    const double steps = std::round((value - origin) / kPackedUnit);
    if (!(steps >= INT32_MIN && steps <= INT32_MAX)) {
      failed_ = true;
      return 0;
    }
    return static_cast<std::int64_t>(steps);
  }

  const WriterOptions& options_;
  bool failed_ = false;
};

Box BoxOf(const std::vector<Point>& points, Box box = Box()) {
  for (const Point& p : points) box.Widen(p);
  return box;
}

}  // namespace

std::vector<unsigned char> EncodeRasterTile(const RasterImage& image) {
  Bytes out;
  out.Le(0, 3);  // the producer's two values
  out.Le(0, 3);
  out.Be16(static_cast<std::uint32_t>(image.width));
  out.Be16(static_cast<std::uint32_t>(image.height));
  out.Be16(static_cast<std::uint32_t>(image.bits_per_pixel));
  out.Be16(static_cast<std::uint32_t>(image.palette.size()));
  out.Be16(static_cast<std::uint32_t>(image.stride));
  for (Colour colour : image.palette) {
    out.Byte(colour >> 16);  // blue, green, red
    out.Byte(colour >> 8);
    out.Byte(colour);
  }
  out.data.insert(out.data.end(), image.bits.begin(), image.bits.end());
  return std::move(out.data);
}

BackgroundWriter::BackgroundWriter(BackgroundFormat format, const WriterOptions& options)
    : format_(format), options_(options) {
  if (format_ == BackgroundFormat::Orthophoto) options_.packed = false;
}

BackgroundWriter::~BackgroundWriter() {
  // A file never finished has no header: it goes.
  if (file_) {
    std::fclose(file_);
    std::remove(path_.c_str());
  }
}

bool BackgroundWriter::Fail(std::string reason) {
  if (error_.empty()) error_ = std::move(reason);
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
    std::remove(path_.c_str());
  }
  return false;
}

bool BackgroundWriter::Open(const std::string& path) {
  path_ = path;
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) return Fail("impossibile creare il file " + path + ": " + std::strerror(errno));
  // The header's place, filled in at the end.
  std::uint64_t offset = 0;
  return Append(std::vector<unsigned char>(kBackgroundHeaderBytes, 0), offset);
}

bool BackgroundWriter::Append(const std::vector<unsigned char>& bytes, std::uint64_t& offset) {
  if (!file_) return false;
  offset = size_;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    return Fail("errore di scrittura del file " + path_ + ": " + std::strerror(errno));
  size_ += bytes.size();
  return true;
}

bool BackgroundWriter::AddTile(const TileContent& tile) {
  if (format_ != BackgroundFormat::Cartography) return Fail("un'ortofoto non ha tessere vettoriali");
  const bool wide = options_.wide;
  Coordinates coordinates(options_);
  TileRecord record;
  record.content.id = tile.id;
  record.content.name = tile.name;
  record.content.minimum = tile.minimum;
  record.content.maximum = tile.maximum;

  const auto write_block = [&](const Bytes& bytes, std::size_t count, EntityBlock& block) {
    block.count = static_cast<std::uint32_t>(count);
    block.bytes = static_cast<std::uint32_t>(bytes.data.size());
    if (bytes.data.size() > kNarrowLimit) return Fail("un blocco di entità supera 4 GB");
    return count == 0 || Append(bytes.data, block.offset);
  };
  Bytes theme_index;
  for (const ThemeEntities& theme : tile.themes) {
    Bytes lines, areas, points;
    for (const std::vector<Point>& line : theme.lines) {
      coordinates.Line(lines, line);
      record.box = BoxOf(line, record.box);
    }
    for (const AreaEntity& area : theme.areas) {
      areas.Be16(static_cast<std::uint32_t>(area.holes.size()));
      coordinates.Line(areas, area.outer);
      for (const std::vector<Point>& hole : area.holes) coordinates.Line(areas, hole);
      record.box = BoxOf(area.outer, record.box);
    }
    for (const Point& p : theme.points) {
      coordinates.Position(points, p);
      record.box.Widen(p);
    }
    EntityBlock line_block, area_block, point_block;
    if (!write_block(lines, theme.lines.size(), line_block) ||
        !write_block(areas, theme.areas.size(), area_block) ||
        !write_block(points, theme.points.size(), point_block))
      return false;
    theme_index.Raw(theme.code);
    for (const EntityBlock* block : {&line_block, &area_block, &point_block}) {
      theme_index.Offset(block->offset, wide);
      theme_index.Be32(block->bytes);
      theme_index.Be32(block->count);
    }
  }
  Bytes text_index;
  for (const StyledTexts& style : tile.texts) {
    Bytes texts;
    for (const TextEntity& text : style.texts) {
      coordinates.Position(texts, text.at);
      texts.Double(text.height);
      texts.Byte(text.fixed ? '1' : '0');
      texts.Double(text.escapement);
      texts.Double(text.orientation);
      texts.String(text.text);
      record.box.Widen(text.at);
    }
    EntityBlock block;
    if (!write_block(texts, style.texts.size(), block)) return false;
    text_index.Raw(style.code);
    text_index.Offset(block.offset, wide);
    text_index.Be32(block.bytes);
    text_index.Be32(block.count);
  }
  if (coordinates.failed()) return Fail("coordinate troppo lontane dall'origine per la forma compatta");
  if (tile.themes.size() > 0xFFFF || tile.texts.size() > 0xFFFF) return Fail("troppi temi in una tessera");
  record.theme_index.count = static_cast<std::uint32_t>(tile.themes.size());
  record.text_index.count = static_cast<std::uint32_t>(tile.texts.size());
  record.theme_index.bytes = static_cast<std::uint32_t>(theme_index.data.size());
  record.text_index.bytes = static_cast<std::uint32_t>(text_index.data.size());
  if (!Append(theme_index.data, record.theme_index.offset) ||
      !Append(text_index.data, record.text_index.offset))
    return false;
  if (!wide && size_ > kNarrowLimit) return Fail("il file supera 4 GB: occorrono gli offset a 64 bit");
  if (record.box.IsEmpty()) record.box = Box::Of(0, 0, 0, 0);
  tiles_.push_back(std::move(record));
  return true;
}

bool BackgroundWriter::AddRaster(const RasterPlace& place, const RasterImage& image) {
  if (image.width < 1 || image.width > 0xFFFF || image.height < 1 || image.height > 0xFFFF ||
      image.stride > 0xFFFF)
    return Fail("dimensioni dell'immagine non rappresentabili");
  RasterRecord record;
  record.place = place;
  record.width = image.width;
  record.height = image.height;
  const std::vector<unsigned char> bytes = EncodeRasterTile(image);
  if (bytes.size() > kNarrowLimit) return Fail("un'immagine supera 4 GB");
  record.bytes = static_cast<std::uint32_t>(bytes.size());
  if (!Append(bytes, record.offset)) return false;
  // A vector file without 64-bit offsets keeps raster offsets in 4 bytes.
  if (format_ == BackgroundFormat::Cartography && !options_.wide && record.offset > kNarrowLimit)
    return Fail("il file supera 4 GB: occorrono gli offset a 64 bit");
  rasters_.push_back(std::move(record));
  return true;
}

bool BackgroundWriter::WriteDirectories(DirectoryPlace places[4]) {
  const bool wide = options_.wide;
  const bool wide_rasters = wide || format_ == BackgroundFormat::Orthophoto;
  Bytes themes, styles, tiles, rasters;
  for (const BackgroundTheme& t : themes_) {
    themes.Raw(t.code);
    themes.String(t.description);
    themes.Be32(static_cast<std::uint32_t>(t.minimum));
    themes.Be32(static_cast<std::uint32_t>(t.maximum));
    themes.Colour3(t.line_colour);
    themes.Be16(static_cast<std::uint32_t>(t.line_width));
    themes.Byte(static_cast<unsigned char>(t.line_style));
    themes.Colour3(t.border_colour);
    themes.Be16(static_cast<std::uint32_t>(t.border_width));
    themes.Byte(static_cast<unsigned char>(t.border_style));
    themes.Byte(static_cast<unsigned char>(t.fill));
    themes.Colour3(t.fore_colour);
    themes.Colour3(t.back_colour);
    themes.Be16(static_cast<std::uint32_t>(t.symbol));
  }
  for (const BackgroundTextStyle& s : styles_) {
    styles.Raw(s.code);
    styles.String(s.description);
    styles.Be32(static_cast<std::uint32_t>(s.minimum));
    styles.Be32(static_cast<std::uint32_t>(s.maximum));
    styles.Colour3(s.colour);
    styles.String(s.face);
  }
  for (const TileRecord& t : tiles_) {
    tiles.Be16(t.content.id);
    tiles.Raw(t.content.name);
    tiles.Be32(0);
    tiles.Be32(static_cast<std::uint32_t>(t.content.minimum));
    tiles.Be32(static_cast<std::uint32_t>(t.content.maximum));
    tiles.Offset(t.theme_index.offset, wide);
    tiles.Be32(t.theme_index.bytes);
    tiles.Offset(t.text_index.offset, wide);
    tiles.Be32(t.text_index.bytes);
    tiles.Be16(t.theme_index.count);
    tiles.Be16(t.text_index.count);
    for (double v : {t.box.minx, t.box.miny, t.box.maxx, t.box.maxy}) tiles.Double(v);
  }
  for (const RasterRecord& r : rasters_) {
    rasters.Be16(r.place.id);
    rasters.Raw(r.place.name);
    rasters.Be32(0);
    rasters.Be32(static_cast<std::uint32_t>(r.place.minimum));
    rasters.Be32(static_cast<std::uint32_t>(r.place.maximum));
    rasters.Offset(r.offset, wide_rasters);
    rasters.Be32(r.bytes);
    for (double v : {r.place.box.minx, r.place.box.maxy, r.place.box.maxx, r.place.box.miny})
      rasters.Double(v);
    rasters.Be16(static_cast<std::uint32_t>(r.width));
    rasters.Be16(static_cast<std::uint32_t>(r.height));
  }
  if (themes.data.size() > 0xFFFF || styles.data.size() > 0xFFFF || themes_.size() > 0xFFFF ||
      styles_.size() > 0xFFFF)
    return Fail("troppi temi o stili di testo");
  if (tiles_.size() > 0xFFFF || rasters_.size() > 0xFFFF) return Fail("troppe tessere o immagini");
  const Bytes* parts[4] = {&themes, &styles, &tiles, &rasters};
  const std::size_t counts[4] = {themes_.size(), styles_.size(), tiles_.size(), rasters_.size()};
  for (int i = 0; i < 4; ++i) {
    if (parts[i]->data.size() > kNarrowLimit) return Fail("una directory supera 4 GB");
    places[i].bytes = static_cast<std::uint32_t>(parts[i]->data.size());
    places[i].count = static_cast<std::uint32_t>(counts[i]);
    if (!Append(parts[i]->data, places[i].offset)) return false;
  }
  return true;
}

bool BackgroundWriter::Finish(const Box& extent) {
  if (!file_) return Fail("file non aperto");
  DirectoryPlace places[4];
  if (!WriteDirectories(places)) return false;
  // An orthophoto takes 64-bit offsets by itself when its directory lies beyond 4 GB.
  bool wide = options_.wide;
  if (places[3].offset > kNarrowLimit) {
    if (format_ == BackgroundFormat::Cartography && !wide)
      return Fail("il file supera 4 GB: occorrono gli offset a 64 bit");
    wide = true;
  }
  const bool cartography = format_ == BackgroundFormat::Cartography;
  if (!cartography) places[0] = places[1] = places[2] = DirectoryPlace();
  std::vector<unsigned char> header(kBackgroundHeaderBytes, 0);
  const auto put = [&](int at, const Bytes& bytes) {
    std::copy(bytes.data.begin(), bytes.data.end(), header.begin() + at);
  };
  const auto be = [](std::uint64_t value, int size) {
    Bytes b;
    for (int i = size - 1; i >= 0; --i) b.Byte(static_cast<unsigned>(value >> (8 * i)));
    return b;
  };
  std::memcpy(header.data(), cartography ? "SFX" : "SFW", 3);
  header[3] = 0xA9;
  Bytes box;
  for (double v : {extent.minx, extent.miny, extent.maxx, extent.maxy}) box.Double(v);
  put(4, box);
  // Directory offsets: the high half (or the whole 32 bits) at its place, the low half after 110.
  const int at[4] = {36, 44, 72, 82};
  const int low[4] = {110, 114, 118, 122};
  for (int i = 0; i < 4; ++i) {
    put(at[i], be(wide ? places[i].offset >> 32 : places[i].offset, 4));
    if (wide) put(low[i], be(places[i].offset & 0xFFFFFFFFu, 4));
  }
  put(40, be(places[0].bytes, 2));
  put(42, be(places[0].count, 2));
  put(48, be(places[1].bytes, 2));
  put(50, be(places[1].count, 2));
  put(76, be(places[2].bytes, 4));
  put(80, be(places[2].count, 2));
  put(86, be(places[3].bytes, 4));
  put(90, be(places[3].count, 2));
  if (cartography && options_.packed) {
    header[92] = 'C';
    Bytes origin;
    origin.Double(options_.origin.x);
    origin.Double(options_.origin.y);
    put(93, origin);
  }
  if (wide) header[109] = 'X';
  header[127] = '\n';
  if (std::fseek(file_, 0, SEEK_SET) != 0 ||
      std::fwrite(header.data(), 1, header.size(), file_) != header.size())
    return Fail("errore di scrittura del file " + path_ + ": " + std::strerror(errno));
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!closed) {
    std::remove(path_.c_str());
    return Fail("errore di scrittura del file " + path_);
  }
  return true;
}

}  // namespace viamappa::background
