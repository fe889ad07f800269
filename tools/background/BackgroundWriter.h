// Writes background files: vector cartography (".sfx": themes, text styles, tiles of lines, areas,
// points and texts, and rasters) and orthophotos (".sfw": rasters only), byte for byte as the map
// reads them. The header goes last, once every directory's place is known; tiles and rasters are
// written as they are added, so an orthophoto of any size passes through memory a tile at a time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/Box.h"
#include "map/BackgroundFile.h"
#include "map/BackgroundTheme.h"
#include "ui/RasterImage.h"

namespace viamappa::background {

struct WriterOptions {
  bool packed = false;  // 'C': coordinates as millimetres from origin, points as steps
  Point origin;
  bool wide = false;  // 'X': 64-bit offsets (needed beyond 4 GB)
};

struct AreaEntity {
  std::vector<Point> outer;
  std::vector<std::vector<Point>> holes;
};

struct TextEntity {
  Point at;  // the top left of the first letter
  double height = 0;
  bool fixed = false;  // height in screen units (tenths of a millimetre) instead of metres
  double escapement = 0;
  double orientation = 0;
  std::string text;  // UTF-8
};

// What a tile holds of one theme, and of one text style.
struct ThemeEntities {
  std::string code;
  std::vector<std::vector<Point>> lines;
  std::vector<AreaEntity> areas;
  std::vector<Point> points;
};
struct StyledTexts {
  std::string code;
  std::vector<TextEntity> texts;
};

struct TileContent {
  std::uint32_t id = 0;
  std::string name;
  std::int32_t minimum = -1;
  std::int32_t maximum = -1;
  std::vector<ThemeEntities> themes;
  std::vector<StyledTexts> texts;
};

struct RasterPlace {
  std::uint32_t id = 0;
  std::string name;
  std::int32_t minimum = -1;
  std::int32_t maximum = -1;
  Box box;
};

// The bytes of a raster tile: the header, the palette as the image holds it, the rows top-down.
std::vector<unsigned char> EncodeRasterTile(const RasterImage& image);

class BackgroundWriter {
 public:
  BackgroundWriter(BackgroundFormat format, const WriterOptions& options);
  ~BackgroundWriter();
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  // Creates or replaces the file. False with the reason in error().
  bool Open(const std::string& path);

  // Cartography only, before Finish.
  void SetThemes(std::vector<BackgroundTheme> themes) { themes_ = std::move(themes); }
  void SetTextStyles(std::vector<BackgroundTextStyle> styles) { styles_ = std::move(styles); }
  bool AddTile(const TileContent& tile);

  bool AddRaster(const RasterPlace& place, const RasterImage& image);

  // Writes the directories and the header with the file's extent and closes the file.
  bool Finish(const Box& extent);

  const std::string& error() const { return error_; }

 private:
  struct TileRecord {
    TileContent content;  // without its entities
    Box box;
    EntityBlock theme_index;
    EntityBlock text_index;
  };
  struct RasterRecord {
    RasterPlace place;
    std::uint64_t offset = 0;
    std::uint32_t bytes = 0;
    int width = 0;
    int height = 0;
  };

  bool Append(const std::vector<unsigned char>& bytes, std::uint64_t& offset);
  bool Fail(std::string reason);
  bool WriteDirectories(DirectoryPlace places[4]);

  BackgroundFormat format_;
  WriterOptions options_;
  std::FILE* file_ = nullptr;
  std::string path_;
  std::uint64_t size_ = 0;
  std::vector<BackgroundTheme> themes_;
  std::vector<BackgroundTextStyle> styles_;
  std::vector<TileRecord> tiles_;
  std::vector<RasterRecord> rasters_;
  std::string error_;
};

}  // namespace viamappa::background
