#include "background/OrthophotoFromRaster.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>
#include <sstream>
#include <vector>

#include "background/BackgroundWriter.h"
#include "background/ShellCommand.h"
#include "base/NumberText.h"

namespace viamappa::background {

namespace {

constexpr int kTileSize = 256;
constexpr double kMetresPerPixelAtScaleOne = 0.0254 / 96.0;

struct RasterInfo {
  int width = 0;
  int height = 0;
  double origin_x = 0, origin_y = 0;
  double pixel_x = 0, pixel_y = 0;
  bool georeferenced = false;
  int bands = 0;
  bool colour_table = false;
  bool bytes_only = true;
};

// The two numbers of "(a,b)" or "a, b" after a prefix of a line.
bool TwoNumbers(std::string_view text, double& a, double& b) {
  std::string cleaned(text);
  for (char& c : cleaned)
    if (c == '(' || c == ')') c = ' ';
  const std::size_t comma = cleaned.find(',');
  if (comma == std::string::npos) return false;
  const auto first = ParseDecimal(std::string_view(cleaned).substr(0, comma));
  const auto second = ParseDecimal(std::string_view(cleaned).substr(comma + 1));
  if (!first || !second) return false;
  a = *first;
  b = *second;
  return true;
}

RasterInfo ParseInfo(const std::string& text) {
  RasterInfo info;
  std::istringstream lines(text);
  std::string line;
  bool origin = false, pixel = false;
  while (std::getline(lines, line)) {
    const std::string_view l(line);
    double a = 0, b = 0;
    if (l.starts_with("Size is ") && TwoNumbers(l.substr(8), a, b)) {
      info.width = static_cast<int>(a);
      info.height = static_cast<int>(b);
    } else if (l.starts_with("Origin = ") && TwoNumbers(l.substr(9), a, b)) {
      info.origin_x = a;
      info.origin_y = b;
      origin = true;
    } else if (l.starts_with("Pixel Size = ") && TwoNumbers(l.substr(13), a, b)) {
      info.pixel_x = a;
      info.pixel_y = b;
      pixel = true;
    } else if (l.starts_with("Band ") && l.find("Type=") != std::string_view::npos) {
      ++info.bands;
      if (l.find("Type=Byte") == std::string_view::npos) info.bytes_only = false;
    } else if (l.find("Color Table") != std::string_view::npos) {
      info.colour_table = true;
    }
  }
  // A rotated raster has no origin and pixel size lines, only its transformation.
  info.georeferenced = origin && pixel && info.pixel_x > 0 && info.pixel_y < 0 &&
                       text.find("GeoTransform =") == std::string::npos;
  return info;
}

// A PPM (P6) or PGM (P5) file of 8-bit samples, read a row at a time.
class PnmFile {
 public:
  ~PnmFile() {
    if (file_) std::fclose(file_);
  }
  bool Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return false;
    char magic[2];
    if (std::fread(magic, 1, 2, file_) != 2 || magic[0] != 'P' || (magic[1] != '5' && magic[1] != '6'))
      return false;
    channels_ = magic[1] == '6' ? 3 : 1;
    long values[3];
    for (long& value : values)
      if (!Number(value)) return false;
    width_ = static_cast<int>(values[0]);
    height_ = static_cast<int>(values[1]);
    return values[2] == 255 && width_ > 0 && height_ > 0;
  }
  int width() const { return width_; }
  int height() const { return height_; }
  int channels() const { return channels_; }
  bool Row(std::vector<unsigned char>& row) {
    row.resize(static_cast<std::size_t>(width_) * channels_);
    return std::fread(row.data(), 1, row.size(), file_) == row.size();
  }

 private:
  // A header number after blanks and comments; the one blank after the last ends the header.
  bool Number(long& value) {
    int c = std::fgetc(file_);
    while (c == '#' || std::isspace(c)) {
      if (c == '#')
        while (c != '\n' && c != EOF) c = std::fgetc(file_);
      c = std::fgetc(file_);
    }
    if (!std::isdigit(c)) return false;
    value = 0;
    while (std::isdigit(c)) {
      value = value * 10 + (c - '0');
      if (value > 1000000) return false;
      c = std::fgetc(file_);
    }
    return std::isspace(c);
  }

  std::FILE* file_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int channels_ = 0;
};

struct Level {
  int width = 0;
  int height = 0;
  double pixel_x = 0;
  double pixel_y = 0;
  std::int32_t minimum = -1;
  std::int32_t maximum = -1;
  std::vector<unsigned char> band;  // up to a tile's rows
  int band_rows = 0;
  int received = 0;                 // rows so far
  std::vector<unsigned char> held;  // a row waiting for its pair, for the next level
  bool holding = false;
};

// Builds every level from the rows of the first, passing halved rows down as pairs complete.
class Pyramid {
 public:
  Pyramid(int width, int height, int channels, int tile, const Box& box, BackgroundWriter& writer)
      : channels_(channels), tile_(tile), box_(box), writer_(writer) {
    int w = width, h = height;
    for (;;) {
      Level level;
      level.width = w;
      level.height = h;
      level.pixel_x = (box.maxx - box.minx) / w;
      level.pixel_y = (box.maxy - box.miny) / h;
      levels_.push_back(std::move(level));
      if (w <= tile && h <= tile) break;
      w = (w + 1) / 2;
      h = (h + 1) / 2;
    }
    // Each level shows from where the one before gives way: its minimum is one below that scale.
    for (std::size_t k = 0; k + 1 < levels_.size(); ++k) {
      const std::int32_t change = LevelChangeScale(levels_[k].pixel_x);
      levels_[k].maximum = change;
      levels_[k + 1].minimum = change - 1;
    }
  }

  static int TileCount(int width, int height, int tile) {
    long long count = 0;
    for (int w = width, h = height;; w = (w + 1) / 2, h = (h + 1) / 2) {
      count += static_cast<long long>((w + tile - 1) / tile) * ((h + tile - 1) / tile);
      if (w <= tile && h <= tile) break;
    }
    return static_cast<int>(std::min<long long>(count, std::numeric_limits<int>::max()));
  }

  int levels() const { return static_cast<int>(levels_.size()); }
  int tiles() const { return tiles_; }

  bool AddRow(std::size_t k, const unsigned char* row) {
    Level& level = levels_[k];
    const std::size_t bytes = static_cast<std::size_t>(level.width) * channels_;
    level.band.resize(static_cast<std::size_t>(tile_) * bytes);
    std::copy(row, row + bytes, level.band.begin() + static_cast<std::ptrdiff_t>(level.band_rows * bytes));
    ++level.band_rows;
    ++level.received;
    const bool last = level.received == level.height;
    if ((level.band_rows == tile_ || last) && !EmitBand(k)) return false;
    if (k + 1 == levels_.size()) return true;
    if (!level.holding) {
      level.held.assign(row, row + bytes);
      level.holding = true;
      if (!last) return true;
    }
    // The pair (or the last row alone) becomes one row of the next level.
    const unsigned char* below = level.received % 2 == 0 ? row : level.held.data();
    std::vector<unsigned char> half = Halve(level, level.held.data(), below);
    level.holding = false;
    return AddRow(k + 1, half.data());
  }

 private:
  std::vector<unsigned char> Halve(const Level& level, const unsigned char* a, const unsigned char* b) const {
    const Level& next = levels_[&level - levels_.data() + 1];
    std::vector<unsigned char> half(static_cast<std::size_t>(next.width) * channels_);
    for (int x = 0; x < next.width; ++x) {
      const int x0 = 2 * x;
      const int x1 = std::min(2 * x + 1, level.width - 1);
      for (int c = 0; c < channels_; ++c) {
        const int sum =
            a[x0 * channels_ + c] + a[x1 * channels_ + c] + b[x0 * channels_ + c] + b[x1 * channels_ + c];
        half[static_cast<std::size_t>(x) * channels_ + c] = static_cast<unsigned char>((sum + 2) / 4);
      }
    }
    return half;
  }

  bool EmitBand(std::size_t k) {
    Level& level = levels_[k];
    const int top = level.received - level.band_rows;
    const std::size_t bytes = static_cast<std::size_t>(level.width) * channels_;
    for (int left = 0; left < level.width; left += tile_) {
      const int width = std::min(tile_, level.width - left);
      RasterImage image;
      image.Create(width, level.band_rows, channels_ == 3 ? 24 : 8);
      if (channels_ == 1)
        for (int i = 0; i < 256; ++i) image.palette[i] = static_cast<Colour>(i * 0x010101);
      for (int y = 0; y < level.band_rows; ++y) {
        const unsigned char* in = level.band.data() + static_cast<std::size_t>(y) * bytes + left * channels_;
        unsigned char* out = image.Row(y);
        if (channels_ == 1) {
          std::copy(in, in + width, out);
          continue;
        }
        for (int x = 0; x < width; ++x) {  // red, green, blue in; blue, green, red out
          out[3 * x] = in[3 * x + 2];
          out[3 * x + 1] = in[3 * x + 1];
          out[3 * x + 2] = in[3 * x];
        }
      }
      RasterPlace place;
      place.id = static_cast<std::uint32_t>(++tiles_);
      // Level, row and column of the tile.
      place.name = std::to_string(k);
      place.name.insert(0, 1, 'L');
      place.name.append(1, 'R')
          .append(std::to_string(top / tile_))
          .append(1, 'C')
          .append(std::to_string(left / tile_));
      place.minimum = level.minimum;
      place.maximum = level.maximum;
      const int right = left + width;
      const int bottom = top + level.band_rows;
      // Edges that reach the image's own take its box exactly, so levels and tiles meet without gaps.
      place.box = Box::Of(box_.minx + left * level.pixel_x,
                          bottom == level.height ? box_.miny : box_.maxy - bottom * level.pixel_y,
                          right == level.width ? box_.maxx : box_.minx + right * level.pixel_x,
                          box_.maxy - top * level.pixel_y);
      if (!writer_.AddRaster(place, image)) return false;
    }
    level.band_rows = 0;
    return true;
  }

  int channels_;
  int tile_;
  Box box_;
  BackgroundWriter& writer_;
  std::vector<Level> levels_;
  int tiles_ = 0;
};

}  // namespace

std::int32_t LevelChangeScale(double pixel_metres) {
  const double scale = std::round(2.0 * pixel_metres / kMetresPerPixelAtScaleOne);
  return static_cast<std::int32_t>(std::clamp(scale, 2.0, static_cast<double>(INT32_MAX)));
}

bool WriteOrthophotoFromRaster(const std::string& raster, const std::string& path, OrthophotoSummary& summary,
                               std::string& error) {
  summary = {};
  std::string output;
  if (!RunCommand("gdalinfo " + ShellQuoted(raster), output)) {
    error = "gdalinfo non legge " + raster + ": " + output;
    return false;
  }
  const RasterInfo info = ParseInfo(output);
  if (!info.georeferenced || info.width < 1 || info.height < 1) {
    error = "il raster " + raster + " non è georeferenziato senza rotazione";
    return false;
  }
  const Box box = Box::Of(info.origin_x, info.origin_y + info.height * info.pixel_y,
                          info.origin_x + info.width * info.pixel_x, info.origin_y);

  // Colours come as three bands (a palette is expanded, an alpha band left out); one band stays grey.
  std::string bands = info.colour_table ? " -expand rgb" : info.bands >= 3 ? " -b 1 -b 2 -b 3" : " -b 1";
  if (!info.bytes_only && !info.colour_table) bands += " -ot Byte -scale";
  const std::string pixels = path + ".tmp.pnm";
  const auto clean = [&] {
    std::error_code ignored;
    std::filesystem::remove(pixels, ignored);
    std::filesystem::remove(pixels + ".aux.xml", ignored);
  };
  if (!RunCommand("gdal_translate -q -of PNM" + bands + " " + ShellQuoted(raster) + " " + ShellQuoted(pixels),
                  output)) {
    clean();
    error = "gdal_translate non converte " + raster + ": " + output;
    return false;
  }
  PnmFile pnm;
  if (!pnm.Open(pixels) || pnm.width() != info.width || pnm.height() != info.height) {
    clean();
    error = "i pixel convertiti da gdal_translate non sono leggibili";
    return false;
  }

  int tile = kTileSize;
  while (Pyramid::TileCount(info.width, info.height, tile) > 0xFFFF) tile *= 2;
  BackgroundWriter writer(BackgroundFormat::Orthophoto, WriterOptions());
  bool written = writer.Open(path);
  Pyramid pyramid(info.width, info.height, pnm.channels(), tile, box, writer);
  std::vector<unsigned char> row;
  for (int y = 0; written && y < info.height; ++y) {
    if (!pnm.Row(row)) {
      clean();
      error = "i pixel convertiti da gdal_translate sono incompleti";
      return false;
    }
    written = pyramid.AddRow(0, row.data());
  }
  clean();
  if (!(written && writer.Finish(box))) {
    error = writer.error();
    return false;
  }
  summary = {info.width, info.height, pnm.channels(), pyramid.levels(), pyramid.tiles(), tile, box};
  return true;
}

}  // namespace viamappa::background
