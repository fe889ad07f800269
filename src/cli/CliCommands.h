// The commands of viamappa-cli. Each answers the process exit status: 0 when it did its work, 1 when it
// was refused or failed (the reason is on standard error), 2 for a wrong command line.
#pragma once

#include <string>
#include <vector>

namespace viamappa::cli {

struct Options {
  bool yes = false;  // answer every question with yes, also whether to replace a file
};

int Create(const std::vector<std::string>& args, const Options& options);
int Repair(const std::vector<std::string>& args, const Options& options);
int Duplicate(const std::vector<std::string>& args, const Options& options);
int Check(const std::vector<std::string>& args, const Options& options);
int Info(const std::vector<std::string>& args, const Options& options);

// The one-time loads into a database: the summary goes to standard output.
enum class ImportKind { Graph, Municipalities, Localities, Toponyms };
int Import(ImportKind kind, const std::vector<std::string>& args, const Options& options);

// The localization of the arcs (localize DATABASE) or of the toponyms (localize-toponimi DATABASE):
// the final message goes to standard output.
enum class LocalizeKind { RoadGraph, Toponyms };
int Localize(LocalizeKind kind, const std::vector<std::string>& args, const Options& options);

// The shapefile exports: export-graph, export-changes and export-tramex DATABASE FILE.shp; the number of
// arcs exported goes to standard output.
enum class ExportKind { Graph, Changes, Tramex };
int Export(ExportKind kind, const std::vector<std::string>& args, const Options& options);

// The street list: street-list DATABASE FILE.txt [--comune ID | --localita ID]; without an option the
// whole list. The number of rows goes to standard output.
int StreetList(const std::vector<std::string>& args, const Options& options);

// Writes a synthetic region: synth OUTDIR [--arcs N] [--comuni M] [--localita K] [--seed S]
// [--lato METRI].
int Synth(const std::vector<std::string>& args, const Options& options);

// For the install step: writes the settings file with the installation directory (and the database
// to open, when given) when it does not exist yet.
int InstallSettings(const std::vector<std::string>& args, const Options& options);

// Prints where the settings file is.
int SettingsPath(const std::vector<std::string>& args, const Options& options);

}  // namespace viamappa::cli
