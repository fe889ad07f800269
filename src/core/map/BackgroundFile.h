// A background file opened for the map: a vector cartography file (".sfx": themes, text styles,
// tiles of entities and possibly rasters) or an orthophoto file (".sfw": rasters only). The header and
// the directories are read once, when the map data are built; the data of a tile or a raster are read
// again at every full redraw that shows it. Every count, size and offset read from the file is held
// against the bytes there: a file that breaks them is refused with the read error, never read beyond.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Box.h"
#include "map/BackgroundSource.h"
#include "map/BackgroundTheme.h"
#include "ui/UserInterface.h"

namespace viamappa {

inline constexpr std::size_t kBackgroundHeaderBytes = 128;

inline constexpr const char* kNoBackgroundMessage =
    "ATTENZIONE: non è stato selezionato nessuno sfondo cartografico !!!\n\n"
    "La funzione che consente di selezionare lo sfondo cartografico\n"
    "è disponibile nel menu Configurazione";
inline constexpr const char* kNotSfxMessage = "Il file non risponde alle specifiche del formato SFX";
inline constexpr const char* kNotSfwMessage = "Il file non risponde alle specifiche del formato SFW";
inline constexpr const char* kBackgroundReadErrorMessage = "Si è verificato un errore di lettura";
inline constexpr const char* kCannotOpenBackgroundMessage = "Impossibile aprire il file cartografico\n\n";
inline constexpr const char* kBackgroundMissingReason = "\n\nFile inesistente";
inline constexpr const char* kBackgroundRefusedReason = "\n\nViolazione della condivisione";

enum class BackgroundFormat { Cartography, Orthophoto };  // ".sfx", ".sfw"

// Where a directory lies and how many records it holds.
struct DirectoryPlace {
  std::uint64_t offset = 0;
  std::uint32_t bytes = 0;
  std::uint32_t count = 0;
};

struct BackgroundHeader {
  BackgroundFormat format = BackgroundFormat::Cartography;
  Box extent;
  DirectoryPlace themes;       // cartography only
  DirectoryPlace text_styles;  // cartography only
  DirectoryPlace tiles;        // cartography only
  DirectoryPlace rasters;
  bool packed = false;  // 'C': entities with packed coordinates from origin
  Point origin;
  bool wide = false;  // 'X': 64-bit offsets
};

enum class HeaderFault { None, NotSfx, NotSfw };

// Reads the 128 header bytes: "SFX" or "SFW", 0xA9 at byte 3, '\n' at byte 127. A file that does not
// begin with "SFX" is taken for an orthophoto file.
HeaderFault ParseBackgroundHeader(const unsigned char* bytes, BackgroundHeader& header);

// A group of entities of one kind in a tile, or the texts of one style.
struct EntityBlock {
  std::uint64_t offset = 0;
  std::uint32_t bytes = 0;
  std::uint32_t count = 0;
};

struct BackgroundTile {
  std::uint32_t id = 0;
  std::string name;
  std::int32_t minimum = -1;
  std::int32_t maximum = -1;
  EntityBlock theme_index;  // count: its records
  EntityBlock text_index;
  Box box;
  bool damaged = false;  // a read of its data failed: it is left out from then on
};

struct RasterEntry {
  std::uint32_t id = 0;
  std::string name;
  std::int32_t minimum = -1;
  std::int32_t maximum = -1;
  std::uint64_t offset = 0;
  std::uint32_t bytes = 0;
  Box box;
  int width = 0;  // pixels, as the directory gives them (0 when it does not)
  int height = 0;
  bool damaged = false;
};

// What a tile holds of one theme, and of one text style.
struct TileThemeEntry {
  const BackgroundTheme* theme = nullptr;  // null for a code the file does not define
  EntityBlock lines;
  EntityBlock areas;
  EntityBlock points;
};
struct TileTextEntry {
  const BackgroundTextStyle* style = nullptr;
  EntityBlock texts;
};

class BackgroundFile {
 public:
  // Reads the header and the directories of source. On failure shows why (the format's message or the
  // read error, stop icon) and answers null. ui also receives the read errors met while drawing.
  static std::unique_ptr<BackgroundFile> Open(std::unique_ptr<BackgroundSource> source, UserInterface& ui);

  const BackgroundHeader& header() const { return header_; }
  // The file's extent; empty when the header's is not a finite box.
  Box extent() const;

  const std::vector<BackgroundTheme>& themes() const { return themes_; }
  std::vector<BackgroundTheme>& themes() { return themes_; }  // for the person's switches
  const std::vector<BackgroundTextStyle>& text_styles() const { return text_styles_; }
  std::vector<BackgroundTile>& tiles() { return tiles_; }
  std::vector<RasterEntry>& rasters() { return rasters_; }

  // Before a redraw reads the file: false when it was closed, or when it is gone or changed since it was
  // opened (the read error is shown and the file closed; the map goes on without it).
  bool BeginRedraw();

  // The index of a tile: false, with the tile left out and the read error shown, on any damage.
  bool ReadTileIndex(BackgroundTile& tile, std::vector<TileThemeEntry>& themes,
                     std::vector<TileTextEntry>& texts);

  // The source to read entity blocks and raster data from; only while open.
  BackgroundSource& source() { return *source_; }
  bool is_open() const { return source_ != nullptr; }

  // Shows the read error.
  void ReportReadError();

 private:
  BackgroundFile(std::unique_ptr<BackgroundSource> source, UserInterface& ui);
  bool ReadDirectories();

  std::unique_ptr<BackgroundSource> source_;
  UserInterface& ui_;
  BackgroundHeader header_;
  std::vector<BackgroundTheme> themes_;  // sorted by code
  std::vector<BackgroundTextStyle> text_styles_;
  std::vector<BackgroundTile> tiles_;
  std::vector<RasterEntry> rasters_;
};

// The background of the map data: none, with the information message, when path is empty; none, with
// "Impossibile aprire il file cartografico" and its reason, when the file cannot be opened; otherwise
// as BackgroundFile::Open.
std::unique_ptr<BackgroundFile> OpenBackground(const std::string& path, UserInterface& ui);

}  // namespace viamappa
