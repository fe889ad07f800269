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

// Conflates a secondary road graph into a database's graph:
// import-secondario DATABASE FILE.shp [--snap METRI] [--report FILE.csv]. The summary goes to standard
// output; the report, when asked for, has one line per secondary record.
int ImportSecondary(const std::vector<std::string>& args, const Options& options);

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
// The shortest route between two points of the graph: route DATABASE X1 Y1 X2 Y2 [--save FILE]
// [--snap METRI]. Each point snaps to the graph as the route modes of the map window snap the pointer;
// the route's length and stretches go to standard output, and to FILE with --save.
int Route(const std::vector<std::string>& args, const Options& options);
// The road graph as a whole (TopologyCliCommands.cpp): regenerate-nodes DATABASE and merge-arcs
// DATABASE print their summary; find-names DATABASE FRAGMENT [--alterna] [--comune ID | --localita ID]
// prints the names the renaming lists, one a line; rename DATABASE OLD NEW [same options] renames and
// prints how many arcs changed; validate DATABASE [--report FILE.csv] lists the findings of the check
// (on standard output, or in the file) and ends with one count per kind.
int RegenerateNodes(const std::vector<std::string>& args, const Options& options);
int MergeArcs(const std::vector<std::string>& args, const Options& options);
int FindNames(const std::vector<std::string>& args, const Options& options);
int Rename(const std::vector<std::string>& args, const Options& options);
int Validate(const std::vector<std::string>& args, const Options& options);

// Writes a synthetic region: synth OUTDIR [--arcs N] [--comuni M] [--localita K] [--seed S]
// [--lato METRI].
int Synth(const std::vector<std::string>& args, const Options& options);

// The toponym search: search DB FRAGMENT [--comuni] [--localita] [--toponimi] [--strade] [--intere]
// [--comune ID]. Prints the hit lines, one a line; without a kind option it searches the kinds the
// dialog starts with.
int Search(const std::vector<std::string>& args, const Options& options);

// Road highlighting: highlight DB [--classi SS,SR,SP,SC,PR] and the state options. Prints the
// condition on archi and the number of arcs it selects.
int Highlight(const std::vector<std::string>& args, const Options& options);

// For the install step: writes the settings file with the installation directory (and the database
// to open, when given) when it does not exist yet.
int InstallSettings(const std::vector<std::string>& args, const Options& options);

// Pictures of the symbol library as PNG files: the symbols as the symbol chooser's grid, and the
// fill patterns. An existing file is replaced only with --yes.
int Symbols(const std::vector<std::string>& args, const Options& options);
int Patterns(const std::vector<std::string>& args, const Options& options);

// The attributes of an arc. arc DATABASE ID prints the fields of its row, one "field=value" a line.
// set-name DATABASE ID NAME [--alterna NAME] [--classe CODE] runs the arc attributes dialog with the
// name (and the alternative and class, when given) typed in and OK pressed: the names are checked
// against the street directory, its questions answered by --yes (and No without it), and the row as
// stored is printed. delete-arc DATABASE ID presses Elimina: the arc is marked deleted (regional) or
// removed (added), when --yes confirms.
int ArcFields(const std::vector<std::string>& args, const Options& options);
int SetName(const std::vector<std::string>& args, const Options& options);
int DeleteArc(const std::vector<std::string>& args, const Options& options);

// Prints where the settings file is.
int SettingsPath(const std::vector<std::string>& args, const Options& options);

// Background files: make-sfx DATABASE FILE.sfx [--doppie] [--64] writes a vector cartography from the
// municipalities and localities; make-sfw RASTER FILE.sfw an orthophoto from a georeferenced raster.
int MakeSfx(const std::vector<std::string>& args, const Options& options);
int MakeSfw(const std::vector<std::string>& args, const Options& options);

// Draws the map of a database into a PNG picture as the map window would:
// render DATABASE FILE.png [--size WxH] [--scala N] [--centro X Y] [--sfondo FILE].
int Render(const std::vector<std::string>& args, const Options& options);

}  // namespace viamappa::cli
