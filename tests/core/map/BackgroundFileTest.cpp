#include "map/BackgroundFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/map/BackgroundTestFiles.h"
#include "map/BackgroundPainter.h"
#include "support/RecordingCanvas.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using testing::Hex;
using testing::ReadText;
using testing::TempDir;

// A header: the signature, the extent (1, 2) .. (3, 4), then the bytes from 36 on.
std::string Header(std::string_view signature, std::string_view from_36) {
  std::string header =
      std::string(signature) + Hex("A9 000000000000F03F 0000000000000040 0000000000000840 0000000000001040");
  header += Hex(from_36);
  header.resize(127, '\0');
  return header + "\n";
}

// The four directories' places as "offset/bytes/count", hexadecimal offsets.
std::string Places(const BackgroundHeader& header) {
  std::string text;
  for (const DirectoryPlace* place : {&header.themes, &header.text_styles, &header.tiles, &header.rasters}) {
    char line[64];
    std::snprintf(line, sizeof line, "%llx/%u/%u ", static_cast<unsigned long long>(place->offset),
                  place->bytes, place->count);
    text += line;
  }
  return text;
}

TEST(BackgroundFileTest, HeaderFieldsFromGoldenBytes) {
  // Directory places (36 .. 91), then the packed origin and the low halves of 64-bit offsets.
  const std::string places =
      "00000001 0010 0002 00000000 0020 0003 0000000000000000000000000000000000000000 "
      "00000002 00010000 0005 00000080 00000030 0001";
  const std::string packed_and_wide =
      "43 0000000080841E41 00000000D0125341 58 00000080 00000100 00000004 FFFFFFFF";
  const std::string neither = "00 0000000080841E41 00000000D0125341 00 00000080 00000100 00000004 FFFFFFFF";
  const struct {
    std::string bytes;
    BackgroundFormat format;
    bool packed, wide;
    const char* places;
  } kCases[] = {
      {Header("SFX", places + packed_and_wide), BackgroundFormat::Cartography, true, true,
       "100000080/16/2 100/32/3 200000004/65536/5 80ffffffff/48/1 "},
      // Without 'C' and 'X' the origin and the low halves are not read.
      {Header("SFX", places + neither), BackgroundFormat::Cartography, false, false,
       "1/16/2 0/32/3 2/65536/5 80/48/1 "},
      // An orthophoto has only its extent and its rasters; 'C' means nothing there.
      {Header("SFW", places + packed_and_wide), BackgroundFormat::Orthophoto, false, true,
       "0/0/0 0/0/0 0/0/0 80ffffffff/48/1 "},
  };
  for (const auto& c : kCases) {
    ASSERT_EQ(c.bytes.size(), kBackgroundHeaderBytes);
    BackgroundHeader header;
    ASSERT_EQ(ParseBackgroundHeader(reinterpret_cast<const unsigned char*>(c.bytes.data()), header),
              HeaderFault::None);
    EXPECT_EQ(header.format, c.format);
    EXPECT_EQ(header.extent, Box::Of(1, 2, 3, 4));
    EXPECT_EQ(header.packed, c.packed);
    EXPECT_EQ(header.wide, c.wide);
    if (c.packed) EXPECT_EQ(header.origin, (Point{500000, 5000000}));
    EXPECT_EQ(Places(header), c.places);
  }
}

std::unique_ptr<BackgroundFile> OpenBytes(const std::string& bytes, ScriptedUserInterface& ui) {
  return BackgroundFile::Open(MemorySource(bytes), ui);
}

TEST(BackgroundFileTest, SignaturesAndShortFilesAreRefusedWithTheirMessages) {
  const std::string empty_dirs = Hex("00000080 0000 0000 00000080 0000 0000") + std::string(20, '\0') +
                                 Hex("00000080 00000000 0000 00000080 00000000 0000");
  std::string good = Header("SFX", "");
  good.replace(36, empty_dirs.size(), empty_dirs);
  std::string not_framed = good;
  not_framed[127] = ' ';
  std::string sfw_bad_mark = good;
  sfw_bad_mark.replace(0, 4, "SFW\xA8");
  const struct {
    std::string bytes;
    const char* message;  // null: opens
  } kCases[] = {
      {good, nullptr},
      {"SFW" + good.substr(3), nullptr},
      {not_framed, kNotSfxMessage},
      {sfw_bad_mark, kNotSfwMessage},
      {"ABC" + good.substr(3), kNotSfwMessage},
      {good.substr(0, 127), kBackgroundReadErrorMessage},
      {"", kBackgroundReadErrorMessage},
  };
  for (const auto& c : kCases) {
    ScriptedUserInterface ui;
    const auto file = OpenBytes(c.bytes, ui);
    EXPECT_EQ(file != nullptr, c.message == nullptr) << c.bytes.substr(0, 4);
    if (c.message) {
      ASSERT_EQ(ui.messages().size(), 1u);
      EXPECT_EQ(ui.last_message().text, c.message);
      EXPECT_EQ(ui.last_message().icon, MessageIcon::Stop);
    } else {
      EXPECT_TRUE(ui.messages().empty());
    }
  }
}

TEST(BackgroundFileTest, OpeningAPathTellsWhyThereIsNoBackground) {
  TempDir dir;
  const struct {
    std::string path;
    std::string message;
    MessageIcon icon;
  } kCases[] = {
      {"", kNoBackgroundMessage, MessageIcon::Information},
      {dir.File("manca.sfx"), "Impossibile aprire il file cartografico\n\n\n\nFile inesistente",
       MessageIcon::Stop},
      {dir.path(), "Impossibile aprire il file cartografico\n\n\n\nFile inesistente", MessageIcon::Stop},
  };
  for (const auto& c : kCases) {
    ScriptedUserInterface ui;
    EXPECT_EQ(OpenBackground(c.path, ui), nullptr);
    ASSERT_EQ(ui.messages().size(), 1u) << c.path;
    EXPECT_EQ(ui.last_message().text, c.message);
    EXPECT_EQ(ui.last_message().icon, c.icon);
  }
}

// Puts a big-endian value of size bytes at a place of a file's bytes.
void PutBe(std::string& bytes, std::size_t at, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * (size - 1 - i)));
}

TEST(BackgroundFileTest, CountsSizesAndOffsetsBeyondTheBytesThereAreReadErrors) {
  TempDir dir;
  const std::string plain = ReadText(testing::WriteSmallCartography(dir, false, false, "piana.sfx"));
  const std::string wide = ReadText(testing::WriteSmallCartography(dir, true, true, "larga.sfx"));
  ASSERT_FALSE(plain.empty());
  ASSERT_FALSE(wide.empty());
  const auto size = plain.size();
  BackgroundHeader header;
  ParseBackgroundHeader(reinterpret_cast<const unsigned char*>(plain.data()), header);
  const std::size_t themes = header.themes.offset;
  const struct {
    const char* what;
    const std::string& original;
    std::size_t at;
    std::uint64_t value;
    int bytes;
  } kCases[] = {
      {"one theme more than the directory holds", plain, 42, 5, 2},
      {"as many themes as a count can say", plain, 42, 0xFFFF, 2},
      {"the tile directory's size past the end", plain, 76, size, 4},
      {"the raster directory beyond the file", plain, 82, size + 1, 4},
      {"a 64-bit offset that wraps when its size is added", wide, 82, 0xFFFFFFFF, 4},
      {"a 64-bit offset far beyond the file", wide, 72, 0x7FFFFFFF, 4},
      {"a theme code running past its directory", plain, themes, 0xFFFF, 2},
      {"a tile's name running past its directory", plain, header.tiles.offset + 2, 0xFFF0, 2},
  };
  for (const auto& c : kCases) {
    std::string damaged = c.original;
    PutBe(damaged, c.at, c.value, c.bytes);
    if (c.at == 82 && &c.original == &wide) PutBe(damaged, 122, 0xFFFFFFF0, 4);
    ScriptedUserInterface ui;
    EXPECT_EQ(OpenBytes(damaged, ui), nullptr) << c.what;
    ASSERT_EQ(ui.messages().size(), 1u) << c.what;
    EXPECT_EQ(ui.last_message().text, kBackgroundReadErrorMessage) << c.what;
  }
}

// Every length of a file and bytes beyond its end: opened or refused, drawn without a crash.
TEST(BackgroundFileTest, TruncatedAndOversizedFilesAreSurvived) {
  TempDir dir;
  for (const bool packed : {false, true}) {
    const std::string whole = ReadText(testing::WriteSmallCartography(dir, packed, packed));
    int opened = 0;
    for (std::size_t length = 0; length <= whole.size() + 64; length += 1 + length / 97) {
      std::string bytes = whole.substr(0, length);
      if (length > whole.size()) bytes += std::string(length - whole.size(), '\xFF');
      ScriptedUserInterface ui;
      auto file = OpenBytes(bytes, ui);
      if (!file) {
        EXPECT_EQ(ui.messages().size(), 1u);
        continue;
      }
      ++opened;
      testing::RecordingCanvas canvas;
      const RenderView view = testing::WindowView(15, 150000);
      DrawBackground(canvas, kWhite, view, BackgroundSourcesOf(file.get()));
      DrawBackground(canvas, kWhite, view, BackgroundSourcesOf(file.get()));
    }
    // The directories lie at the end: only the whole file and longer ones open.
    EXPECT_GE(opened, 1);
  }
}

// Every byte of the tiles' and the raster's data spoilt in turn: each redraw draws what it can.
TEST(BackgroundFileTest, DamagedTileDataIsSurvived) {
  TempDir dir;
  for (const bool packed : {false, true}) {
    const std::string whole = ReadText(testing::WriteSmallCartography(dir, packed, !packed));
    BackgroundHeader header;
    ParseBackgroundHeader(reinterpret_cast<const unsigned char*>(whole.data()), header);
    for (std::size_t at = kBackgroundHeaderBytes; at < header.themes.offset; ++at) {
      for (const char spoilt : {'\xFF', '\x7F', '\x00'}) {
        std::string bytes = whole;
        bytes[at] = spoilt;
        ScriptedUserInterface ui;
        auto file = OpenBytes(bytes, ui);
        ASSERT_NE(file, nullptr);
        testing::RecordingCanvas canvas;
        for (const RenderView& view : {testing::WindowView(15, 150000), testing::WindowView(0.4, 4000)})
          DrawBackground(canvas, kWhite, view, BackgroundSourcesOf(file.get()));
        // A damaged tile or raster says so once, however often it is drawn.
        EXPECT_LE(ui.messages().size(), 1u);
      }
    }
  }
}

TEST(BackgroundFileTest, RecordsLargerThanTheReadBufferAreReadWhole) {
  TempDir dir;
  background::BackgroundWriter writer(BackgroundFormat::Cartography, {});
  const std::string path = dir.File("lunga.sfx");
  ASSERT_TRUE(writer.Open(path));
  writer.SetThemes({testing::Theme("LINEE", 0x123456)});
  // A tile record with a name of 65535 bytes, and a raster record of as long a name, straddle the
  // 64 KB buffer; the records after them must still be read.
  background::TileContent tile;
  tile.themes = {{"LINEE", {{{0, 0}, {1, 1}}}, {}, {}}};
  for (const std::uint32_t id : {1u, 2u}) {
    tile.id = id;
    tile.name = std::string(id == 1 ? 65535 : 3, 'n');
    tile.maximum = static_cast<std::int32_t>(1000 * id);
    ASSERT_TRUE(writer.AddTile(tile));
  }
  background::RasterPlace raster;
  for (const std::uint32_t id : {1u, 2u}) {
    raster.id = id;
    raster.name = std::string(id == 1 ? 65535 : 3, 'r');
    raster.box = Box::Of(0, 0, id, id);
    ASSERT_TRUE(writer.AddRaster(raster, testing::SmallRaster()));
  }
  ASSERT_TRUE(writer.Finish(Box::Of(0, 0, 2, 2)));
  ScriptedUserInterface ui;
  auto file = OpenBackground(path, ui);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->tiles().size(), 2u);
  EXPECT_EQ(file->tiles()[0].name.size(), 65535u);
  EXPECT_EQ(file->tiles()[1].name, "nnn");
  EXPECT_EQ(file->tiles()[1].maximum, 2000);
  EXPECT_EQ(file->tiles()[1].box, Box::Of(0, 0, 1, 1));
  ASSERT_EQ(file->rasters().size(), 2u);
  EXPECT_EQ(file->rasters()[1].name, "rrr");
  EXPECT_EQ(file->rasters()[1].box, Box::Of(0, 0, 2, 2));
  EXPECT_EQ(file->rasters()[1].width, 4);
  EXPECT_EQ(file->rasters()[1].height, 2);
}

TEST(BackgroundFileTest, AFileGoneOrChangedIsClosedAtTheNextRedrawWithOneMessage) {
  TempDir dir;
  const std::string other = testing::WriteSmallCartography(dir, false, false, "altra.sfx");
  const std::function<void(const std::string&)> kChanges[] = {
      [](const std::string& path) { std::filesystem::remove(path); },
      [&](const std::string& path) { std::filesystem::rename(other, path); },
      [](const std::string& path) { std::ofstream(path, std::ios::app) << "più lungo"; },
  };
  for (const auto& change : kChanges) {
    const std::string path = testing::WriteSmallCartography(dir, true, false);
    if (!std::filesystem::exists(other)) testing::WriteSmallCartography(dir, false, false, "altra.sfx");
    ScriptedUserInterface ui;
    auto file = OpenBackground(path, ui);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->BeginRedraw());
    change(path);
    testing::RecordingCanvas canvas;
    DrawBackground(canvas, kWhite, testing::WindowView(15, 150000), BackgroundSourcesOf(file.get()));
    EXPECT_FALSE(file->is_open());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.last_message().text, kBackgroundReadErrorMessage);
    // Only the clearing of the image: nothing of the file is drawn, and nothing is said again.
    EXPECT_EQ(canvas.calls().size(), 1u);
    DrawBackground(canvas, kWhite, testing::WindowView(15, 150000), BackgroundSourcesOf(file.get()));
    EXPECT_EQ(ui.messages().size(), 1u);
  }
}

}  // namespace
}  // namespace viamappa
