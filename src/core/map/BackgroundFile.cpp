#include "map/BackgroundFile.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "base/Windows1252.h"
#include "map/BackgroundReader.h"

namespace viamappa {

namespace {

std::uint32_t Be16At(const unsigned char* p) {
  return (static_cast<std::uint32_t>(p[0]) << 8) | p[1];
}
std::uint32_t Be32At(const unsigned char* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}
double DoubleAt(const unsigned char* p) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
  return std::bit_cast<double>(bits);
}

// A directory offset: the 4 bytes at at, and with 64-bit offsets the 4 at low after them.
std::uint64_t OffsetAt(const unsigned char* bytes, int at, bool wide, int low) {
  const std::uint64_t high = Be32At(bytes + at);
  return wide ? (high << 32) | Be32At(bytes + low) : high;
}

// Texts of the file are in the Windows code page; codes stay as stored, for the lookups.
std::string FromFile(const std::string& bytes) {
  return Windows1252ToUtf8(bytes);
}

bool ReadTheme(BackgroundReader& in, BackgroundTheme& theme) {
  std::uint8_t line_style = 0, border_style = 0, fill = 0;
  std::uint32_t line_width = 0, border_width = 0, symbol = 0;
  std::string description;
  const bool read = in.String(theme.code) && in.String(description) && in.Scale(theme.minimum) &&
                    in.Scale(theme.maximum) && in.Colour3(theme.line_colour) && in.Be16(line_width) &&
                    in.Byte(line_style) && in.Colour3(theme.border_colour) && in.Be16(border_width) &&
                    in.Byte(border_style) && in.Byte(fill) && in.Colour3(theme.fore_colour) &&
                    in.Colour3(theme.back_colour) && in.Be16(symbol);
  if (!read) return false;
  theme.description = FromFile(description);
  theme.line_width = static_cast<int>(line_width);
  theme.line_style = static_cast<char>(line_style);
  theme.border_width = static_cast<int>(border_width);
  theme.border_style = static_cast<char>(border_style);
  theme.fill = static_cast<std::int8_t>(fill);
  theme.symbol = static_cast<std::int32_t>(symbol);
  return true;
}

bool ReadTextStyle(BackgroundReader& in, BackgroundTextStyle& style) {
  std::string description, face;
  if (!(in.String(style.code) && in.String(description) && in.Scale(style.minimum) &&
        in.Scale(style.maximum) && in.Colour3(style.colour) && in.String(face)))
    return false;
  style.description = FromFile(description);
  style.face = FromFile(face);
  return true;
}

bool ReadBox(BackgroundReader& in, Box& box) {
  return in.Double(box.minx) && in.Double(box.miny) && in.Double(box.maxx) && in.Double(box.maxy);
}

bool ReadTile(BackgroundReader& in, bool wide, BackgroundTile& tile) {
  std::uint32_t unused = 0;
  return in.Be16(tile.id) && in.String(tile.name) && in.Be32(unused) && in.Scale(tile.minimum) &&
         in.Scale(tile.maximum) && in.Offset(wide, tile.theme_index.offset) &&
         in.Be32(tile.theme_index.bytes) && in.Offset(wide, tile.text_index.offset) &&
         in.Be32(tile.text_index.bytes) && in.Be16(tile.theme_index.count) &&
         in.Be16(tile.text_index.count) && ReadBox(in, tile.box);
}

bool ReadRaster(BackgroundReader& in, bool wide, RasterEntry& raster) {
  std::uint32_t unused = 0, width = 0, height = 0;
  Box& box = raster.box;
  if (!(in.Be16(raster.id) && in.String(raster.name) && in.Be32(unused) && in.Scale(raster.minimum) &&
        in.Scale(raster.maximum) && in.Offset(wide, raster.offset) && in.Be32(raster.bytes) &&
        in.Double(box.minx) && in.Double(box.maxy) && in.Double(box.maxx) && in.Double(box.miny) &&
        in.Be16(width) && in.Be16(height)))
    return false;
  raster.width = static_cast<int>(width);
  raster.height = static_cast<int>(height);
  return true;
}

bool ReadBlock(BackgroundReader& in, bool wide, EntityBlock& block) {
  return in.Offset(wide, block.offset) && in.Be32(block.bytes) && in.Be32(block.count);
}

}  // namespace

HeaderFault ParseBackgroundHeader(const unsigned char* bytes, BackgroundHeader& header) {
  header = BackgroundHeader();
  const bool cartography = std::memcmp(bytes, "SFX", 3) == 0;
  const bool framed = bytes[3] == 0xA9 && bytes[127] == '\n';
  if (cartography && !framed) return HeaderFault::NotSfx;
  if (!cartography && (std::memcmp(bytes, "SFW", 3) != 0 || !framed)) return HeaderFault::NotSfw;
  header.format = cartography ? BackgroundFormat::Cartography : BackgroundFormat::Orthophoto;
  header.extent =
      Box::Of(DoubleAt(bytes + 4), DoubleAt(bytes + 12), DoubleAt(bytes + 20), DoubleAt(bytes + 28));
  header.wide = bytes[109] == 'X';
  header.rasters = {OffsetAt(bytes, 82, header.wide, 122), Be32At(bytes + 86), Be16At(bytes + 90)};
  if (cartography) {
    header.themes = {OffsetAt(bytes, 36, header.wide, 110), Be16At(bytes + 40), Be16At(bytes + 42)};
    header.text_styles = {OffsetAt(bytes, 44, header.wide, 114), Be16At(bytes + 48), Be16At(bytes + 50)};
    header.tiles = {OffsetAt(bytes, 72, header.wide, 118), Be32At(bytes + 76), Be16At(bytes + 80)};
    header.packed = bytes[92] == 'C';
    if (header.packed) header.origin = {DoubleAt(bytes + 93), DoubleAt(bytes + 101)};
  }
  return HeaderFault::None;
}

BackgroundFile::BackgroundFile(std::unique_ptr<BackgroundSource> source, UserInterface& ui)
    : source_(std::move(source)), ui_(ui) {}

std::unique_ptr<BackgroundFile> BackgroundFile::Open(std::unique_ptr<BackgroundSource> source,
                                                     UserInterface& ui) {
  unsigned char bytes[kBackgroundHeaderBytes];
  if (!source || !source->ReadAt(0, bytes, sizeof bytes)) {
    ui.ShowMessage(kBackgroundReadErrorMessage, MessageIcon::Stop);
    return nullptr;
  }
  std::unique_ptr<BackgroundFile> file(new BackgroundFile(std::move(source), ui));
  switch (ParseBackgroundHeader(bytes, file->header_)) {
    case HeaderFault::NotSfx:
      ui.ShowMessage(kNotSfxMessage, MessageIcon::Stop);
      return nullptr;
    case HeaderFault::NotSfw:
      ui.ShowMessage(kNotSfwMessage, MessageIcon::Stop);
      return nullptr;
    case HeaderFault::None:
      break;
  }
  if (!file->ReadDirectories()) {
    ui.ShowMessage(kBackgroundReadErrorMessage, MessageIcon::Stop);
    return nullptr;
  }
  return file;
}

bool BackgroundFile::ReadDirectories() {
  BackgroundSource& source = *source_;
  const bool wide = header_.wide;
  // Each record takes some bytes: a count the directory's bytes cannot hold fails before anything is
  // reserved for it.
  const auto reader_for = [&](const DirectoryPlace& place) {
    return std::make_unique<BackgroundReader>(source, place.offset, place.bytes);
  };
  if (header_.format == BackgroundFormat::Cartography) {
    auto in = reader_for(header_.themes);
    themes_.resize(std::min<std::uint64_t>(header_.themes.count, in->remaining()));
    if (themes_.size() != header_.themes.count) return false;
    for (BackgroundTheme& theme : themes_)
      if (!ReadTheme(*in, theme)) return false;
    std::stable_sort(themes_.begin(), themes_.end(),
                     [](const BackgroundTheme& a, const BackgroundTheme& b) { return a.code < b.code; });

    in = reader_for(header_.text_styles);
    text_styles_.resize(std::min<std::uint64_t>(header_.text_styles.count, in->remaining()));
    if (text_styles_.size() != header_.text_styles.count) return false;
    for (BackgroundTextStyle& style : text_styles_)
      if (!ReadTextStyle(*in, style)) return false;
    std::stable_sort(
        text_styles_.begin(), text_styles_.end(),
        [](const BackgroundTextStyle& a, const BackgroundTextStyle& b) { return a.code < b.code; });

    in = reader_for(header_.tiles);
    tiles_.resize(std::min<std::uint64_t>(header_.tiles.count, in->remaining()));
    if (tiles_.size() != header_.tiles.count) return false;
    for (BackgroundTile& tile : tiles_)
      if (!ReadTile(*in, wide, tile)) return false;
  }
  // Raster data offsets are 64-bit in every orthophoto file.
  const bool wide_rasters = wide || header_.format == BackgroundFormat::Orthophoto;
  auto in = reader_for(header_.rasters);
  rasters_.resize(std::min<std::uint64_t>(header_.rasters.count, in->remaining()));
  if (rasters_.size() != header_.rasters.count) return false;
  for (RasterEntry& raster : rasters_)
    if (!ReadRaster(*in, wide_rasters, raster)) return false;
  return true;
}

Box BackgroundFile::extent() const {
  const Box& e = header_.extent;
  const bool finite =
      std::isfinite(e.minx) && std::isfinite(e.miny) && std::isfinite(e.maxx) && std::isfinite(e.maxy);
  return finite && e.minx <= e.maxx && e.miny <= e.maxy ? e : Box();
}

bool BackgroundFile::BeginRedraw() {
  if (!source_) return false;
  if (source_->Unchanged()) return true;
  source_.reset();
  ReportReadError();
  return false;
}

void BackgroundFile::ReportReadError() {
  ui_.ShowMessage(kBackgroundReadErrorMessage, MessageIcon::Stop);
}

bool BackgroundFile::ReadTileIndex(BackgroundTile& tile, std::vector<TileThemeEntry>& themes,
                                   std::vector<TileTextEntry>& texts) {
  themes.clear();
  texts.clear();
  const bool wide = header_.wide;
  const auto fail = [&] {
    tile.damaged = true;
    themes.clear();
    texts.clear();
    ReportReadError();
    return false;
  };
  {
    BackgroundReader in(*source_, tile.theme_index.offset, tile.theme_index.bytes);
    if (tile.theme_index.count > in.remaining()) return fail();
    themes.resize(tile.theme_index.count);
    std::string code;
    for (TileThemeEntry& entry : themes) {
      if (!(in.String(code) && ReadBlock(in, wide, entry.lines) && ReadBlock(in, wide, entry.areas) &&
            ReadBlock(in, wide, entry.points)))
        return fail();
      entry.theme = FindTheme(themes_, code);
    }
  }
  BackgroundReader in(*source_, tile.text_index.offset, tile.text_index.bytes);
  if (tile.text_index.count > in.remaining()) return fail();
  texts.resize(tile.text_index.count);
  std::string code;
  for (TileTextEntry& entry : texts) {
    if (!(in.String(code) && ReadBlock(in, wide, entry.texts))) return fail();
    entry.style = FindTextStyle(text_styles_, code);
  }
  return true;
}

std::unique_ptr<BackgroundFile> OpenBackground(const std::string& path, UserInterface& ui) {
  if (path.empty()) {
    ui.ShowMessage(kNoBackgroundMessage, MessageIcon::Information);
    return nullptr;
  }
  OpenFailure failure = OpenFailure::None;
  std::unique_ptr<BackgroundSource> source = OpenFileSource(path, failure);
  if (!source) {
    std::string message = kCannotOpenBackgroundMessage;
    if (failure == OpenFailure::Missing) message += kBackgroundMissingReason;
    if (failure == OpenFailure::Refused) message += kBackgroundRefusedReason;
    ui.ShowMessage(message, MessageIcon::Stop);
    return nullptr;
  }
  return BackgroundFile::Open(std::move(source), ui);
}

}  // namespace viamappa
