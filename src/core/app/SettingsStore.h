// The configuration store: one key of typed values ("Software\Viamappa\Viamappa\1.00") kept in a UTF-8
// text file in the .reg export format, so that a person can read and edit it:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\Software\Viamappa\Viamappa\1.00]
//   "Database"="/home/anna/dati/rete.mdb"
//   "LinLoc"=dword:00000002
//   "MappaScala"="2500.0000"
//   "MappaOrgX"=hex(0):
//
// Texts are quoted, with \\, \", \n and \r escapes; 32-bit numbers are "dword:" and hex digits; "hex(0):"
// is a value written empty and without a type. Every other value form is a value of another type, and a
// line that is no value, key line, header or comment (";") is ignored. Value names are compared without
// regard to ASCII case and a repeated name counts once, its last occurrence winning. Only the values of
// our key's section count; values of other sections or before any key line are ignored.
//
// The program reads the file at start-up and writes it at exit, but never creates it: only the install
// step does. Writing keeps every line it does not own (other values, comments, other sections) and
// replaces the file atomically.
#pragma once

#include <optional>
#include <string>

#include "app/Settings.h"
#include "ui/UserInterface.h"

namespace viamappa {

class SettingsStore {
 public:
  explicit SettingsStore(std::string path) : path_(std::move(path)) {}

  // The file of the store: $VIAMAPPA_CONFIG when set and not empty, else
  // ${XDG_CONFIG_HOME:-$HOME/.config}/Viamappa/Viamappa/1.00.reg (a relative XDG_CONFIG_HOME is ignored).
  static std::string DefaultPath();

  // The key as written in the file's key line.
  static constexpr const char* kKey = "HKEY_LOCAL_MACHINE\\Software\\Viamappa\\Viamappa\\1.00";

  const std::string& path() const { return path_; }

  // The stored settings. When the file cannot be read (missing, unreadable, not a regular file) shows
  // the configuration anomaly message (stop icon) and returns the defaults. Otherwise each value is taken
  // when it has the expected type (text or 32-bit number) and can be read; anything else leaves that
  // field at its default, silently. Texts longer than 2047 bytes are not taken. The map view is taken
  // from texts holding decimal numbers; a resolution that is not a positive normal number counts as
  // absent (the view keeps resolution 1.0).
  Settings Load(UserInterface& ui) const;

  // The installation directory ("Directory"); empty when absent or not a readable text. When the file
  // cannot be read shows the configuration anomaly message and returns empty.
  std::string ReadDirectory(UserInterface& ui) const;

  // Writes the database and background paths, the styling and the map view. With a view the three map
  // values hold its resolution and origin; without one they are written empty and without a type, so
  // that the next start-up uses the defaults (settings.view is not written). Writes nothing and shows
  // nothing when the file does not exist or cannot be read and rewritten. Values not written here keep
  // their place and their text; new values are added at the end of the key's section.
  void Save(const Settings& settings, const std::optional<SavedMapView>& view) const;

  // For the install step: creates the installation directory when it is missing, and, when no file
  // exists at path, its folder and the file with the key, the "Directory" value and, when database is
  // not empty, the "Database" value. An existing file is left as it is. True when the directory and a
  // regular file at path exist afterwards.
  static bool Install(const std::string& path, const std::string& directory,
                      const std::string& database = {});

  // The configuration anomaly message shown when the file cannot be read.
  static std::string AnomalyMessage();

 private:
  std::string path_;
};

}  // namespace viamappa
