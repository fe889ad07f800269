// Exporting the road graph of a whole region (1,000,000 arcs by default): our export-graph beside
// ogr2ogr writing the same rows of our database (archi joined to geoarchi, in identifier order, with the
// coordinates turned into a line by Spatialite's GeomFromWKB) into a shapefile.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "BenchSupport.h"
#include "db/DbConnection.h"
#include "io/GraphExport.h"
#include "ui/ScriptedUserInterface.h"

namespace {

// The bytes 00 to FF as an SQL blob literal: substr() of it turns a number below 256 into one byte.
std::string ByteTable() {
  std::string hex = "x'";
  const char* digits = "0123456789ABCDEF";
  for (int i = 0; i < 256; ++i) {
    hex += digits[i >> 4];
    hex += digits[i & 15];
  }
  return hex + "'";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace viamappa;
  long long arcs = 1000000;
  std::string data_dir = "build/bench-data";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--arcs") == 0) arcs = std::atoll(argv[i + 1]);
    if (std::strcmp(argv[i], "--data") == 0) data_dir = argv[i + 1];
  }
  const std::string database = bench::GeneratedDatabase(data_dir, arcs, "export");
  if (database.empty()) return 1;
  const std::string work = data_dir + "/export-" + std::to_string(getpid());
  std::filesystem::create_directories(work);

  ScriptedUserInterface ui;
  std::optional<std::int64_t> written;
  double ours = 0;
  {
    DbConnection connection(database, ui);
    const auto start = std::chrono::steady_clock::now();
    written = ExportGraph(connection, GraphExportKind::RoadGraph, work + "/GRAFO.shp", ui);
    ours = bench::Seconds(start);
  }
  const long long our_bytes = written
                                  ? static_cast<long long>(std::filesystem::file_size(work + "/GRAFO.shp") +
                                                           std::filesystem::file_size(work + "/GRAFO.dbf"))
                                  : 0;

  // A line's WKB: byte order, type 2, the point count as four little-endian bytes, the coordinates.
  const std::string bytes = ByteTable();
  const std::string wkb = "CAST(x'0102000000' || substr(" + bytes + ", (g.punti & 255) + 1, 1) || substr(" +
                          bytes + ", ((g.punti >> 8) & 255) + 1, 1) || x'0000' || g.coord AS BLOB)";
  const std::string sql =
      "SELECT a.codele AS COD_ELE, a.codreg AS COD_REG, a.denom AS DENOM, a.alterna AS ALT, a.classe AS "
      "CLASSE, "
      "CASE WHEN a.piazza THEN 'S' ELSE 'N' END AS PIAZZA, GeomFromWKB(" +
      wkb + ") AS geometry FROM archi a JOIN geoarchi g ON a.ID = g.ID ORDER BY a.ID";
  const std::string command = "ogr2ogr -f 'ESRI Shapefile' " + work + "/peer.shp " + database +
                              " -dialect SQLite -sql \"" + sql + "\" 2>&1";
  const auto peer_start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const double theirs = bench::Seconds(peer_start);
  const long long peer_bytes = status == 0
                                   ? static_cast<long long>(std::filesystem::file_size(work + "/peer.shp") +
                                                            std::filesystem::file_size(work + "/peer.dbf"))
                                   : 0;
  std::filesystem::remove_all(work);
  if (!written || status != 0) {
    for (const RecordedMessage& message : ui.messages()) std::fprintf(stderr, "%s\n", message.text.c_str());
    std::fprintf(stderr, "export benchmark: %s\n",
                 written ? "ogr2ogr failed; is gdal-bin installed?" : "our export failed");
    return 1;
  }
  std::printf("export benchmark: %lld arcs written\n", static_cast<long long>(*written));
  std::printf("  %-28s %8.2f s  %8.1f MB\n", "our export-graph", ours, our_bytes / 1e6);
  std::printf("  %-28s %8.2f s  %8.1f MB\n", "ogr2ogr from our database", theirs, peer_bytes / 1e6);
  std::printf("  %-28s %8.2f     goal <= 1.0\n", "ratio", ours / theirs);
  bench::PrintFigure({"export.graph", ours, "s", theirs, "ratio<=1.0"});
  return 0;
}
