#include "io/ToponymImport.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/DbBatch.h"
#include "db/DbTable.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Opens the file for reading; an empty optional with the reason when it cannot be read.
File OpenText(const std::string& path, long& size, std::string& error) {
  File file(std::fopen(path.c_str(), "rb"), std::fclose);
  struct stat status {};
  if (!file) {
    error = errno == ENOENT ? "Il file " + path + " non esiste."
                            : "Il file " + path + " non può essere aperto (" + std::strerror(errno) + ").";
  } else if (fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode)) {
    error = "Il percorso " + path + " non indica un file.";
    file.reset();
  } else if (status.st_size == 0) {
    error = "Il file " + path + " è vuoto.";
    file.reset();
  }
  size = file ? static_cast<long>(status.st_size) : 0;
  return file;
}

// Reads the next line without its end (LF, CR LF or a lone CR); false at the end of the file.
bool NextLine(std::FILE* file, std::string& line, long& read_bytes) {
  line.clear();
  int c;
  while ((c = std::fgetc(file)) != EOF) {
    ++read_bytes;
    if (c == '\n') return true;
    if (c == '\r') {
      const int next = std::fgetc(file);
      if (next == '\n') {
        ++read_bytes;
      } else if (next != EOF) {
        std::ungetc(next, file);
      }
      return true;
    }
    line.push_back(static_cast<char>(c));
  }
  return !line.empty();
}

}  // namespace

std::optional<ToponymLine> ParseToponymLine(std::string_view line, CodePage page) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::string_view columns[8];
  std::size_t count = 0;
  std::size_t start = 0;
  while (count < 8) {
    const std::size_t tab = line.find('\t', start);
    columns[count++] =
        line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  if (count < 8) return std::nullopt;
  ToponymLine parsed;
  parsed.name = ToUtf8(columns[1], page);
  parsed.kind = ToUtf8(columns[3], page);
  parsed.minx = ToUtf8(columns[4], page);
  parsed.miny = ToUtf8(columns[5], page);
  parsed.maxx = ToUtf8(columns[6], page);
  parsed.maxy = ToUtf8(columns[7], page);
  return parsed;
}

bool IsLoadedToponymKind(std::string_view kind) {
  return kind == "MISC" || kind == "CS";
}

ToponymImportCounts ImportToponyms(DbConnection& connection, const std::string& path, UserInterface& ui) {
  ToponymImportCounts counts;
  ImportReport& report = counts.report;
  long size = 0;
  std::string error;
  File file = OpenText(path, size, error);
  if (!file) {
    report.Fail(ui, error);
    return counts;
  }
  ui.BeginBusy(true);
  ProgressDisplay progress(ui);
  progress.SetPhase("Importazione Toponimi");

  DbBatch batch(connection);
  if (!batch.began()) {
    report.Fail(ui, {});
    return counts;
  }
  DbTable toponimi(connection, "toponimi");
  const int f_id = toponimi.FieldIndex("ID"), f_denom = toponimi.FieldIndex("denom"),
            f_comune = toponimi.FieldIndex("comune"), f_minx = toponimi.FieldIndex("minx"),
            f_miny = toponimi.FieldIndex("miny"), f_maxx = toponimi.FieldIndex("maxx"),
            f_maxy = toponimi.FieldIndex("maxy");
  std::string line;
  long read_bytes = 0;
  CodePage page = CodePage::Windows1252;
  // The header, and with it the byte-order mark that tells a UTF-8 file.
  if (NextLine(file.get(), line, read_bytes) && line.starts_with(kUtf8ByteOrderMark)) page = CodePage::Utf8;
  std::int64_t id = 0;
  std::int64_t number = 1;
  while (NextLine(file.get(), line, read_bytes)) {
    ++number;
    progress.SetProgress(read_bytes, size);
    const std::optional<ToponymLine> parsed = ParseToponymLine(line, page);
    if (!parsed) {
      if (!Trim(line).empty()) report.Skip("con meno di 8 colonne");
      continue;
    }
    if (!IsLoadedToponymKind(parsed->kind)) {
      report.Skip("di tipo diverso da MISC e CS");
      continue;
    }
    const auto minx = ParseDecimal(parsed->minx), miny = ParseDecimal(parsed->miny),
               maxx = ParseDecimal(parsed->maxx), maxy = ParseDecimal(parsed->maxy);
    if (minx && miny && maxx && maxy && (*minx > *maxx || *miny > *maxy)) {
      report.Skip("con il riquadro rovesciato");
      continue;
    }
    ++counts.found;
    report.NoteText(number, parsed->name);
    // Box values may come with a decimal point: the access layer reads both separators.
    if (toponimi.AddNew() && toponimi.SetFieldInteger(f_id, id) && toponimi.SetField(f_denom, parsed->name) &&
        toponimi.SetFieldInteger(f_comune, 0) && toponimi.SetField(f_minx, Trim(parsed->minx)) &&
        toponimi.SetField(f_miny, Trim(parsed->miny)) && toponimi.SetField(f_maxx, Trim(parsed->maxx)) &&
        toponimi.SetField(f_maxy, Trim(parsed->maxy)) && toponimi.Update()) {
      ++counts.inserted;
      ++id;
    } else {
      if (connection.core()->MustStop()) {
        batch.Rollback();
        counts.found = counts.inserted = 0;
        report.Fail(ui, kDatabaseStopped);
        return counts;
      }
      report.Refuse(ui, number, parsed->name, {});
    }
  }
  if (std::ferror(file.get())) {
    batch.Rollback();
    counts.found = counts.inserted = 0;
    report.Fail(ui, "Il file " + path + " non può essere letto fino in fondo.");
  }
  return counts;
}

}  // namespace viamappa
