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

// The shortest route between two points of the graph: route DATABASE X1 Y1 X2 Y2 [--save FILE]
// [--snap METRI]. Each point snaps to the graph as the route modes of the map window snap the pointer;
// the route's length and stretches go to standard output, and to FILE with --save.
int Route(const std::vector<std::string>& args, const Options& options);

// Writes a synthetic region: synth OUTDIR [--arcs N] [--comuni M] [--localita K] [--seed S]
// [--lato METRI].
int Synth(const std::vector<std::string>& args, const Options& options);

// For the install step: writes the settings file with the installation directory (and the database
// to open, when given) when it does not exist yet.
int InstallSettings(const std::vector<std::string>& args, const Options& options);

// Prints where the settings file is.
int SettingsPath(const std::vector<std::string>& args, const Options& options);

}  // namespace viamappa::cli
