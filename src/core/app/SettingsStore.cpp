#include "app/SettingsStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#include "base/NumberText.h"
#include "base/TextUtil.h"

namespace viamappa {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A text value is read into a buffer of 2048 bytes with its terminating zero: a longer text is a
// failed read.
constexpr std::size_t kMaxTextBytes = 2047;

struct StylingValue {
  const char* name;
  std::int32_t MapStyling::*field;
};

// The styling values in the order they are written. Reading parses the whole file first, so the order
// in which values are looked up has no effect.
constexpr StylingValue kStylingValues[] = {
    {"LinComuni", &MapStyling::lin_comuni}, {"ColComuni", &MapStyling::col_comuni},
    {"MinComuni", &MapStyling::min_comuni}, {"MaxComuni", &MapStyling::max_comuni},
    {"LinLoc", &MapStyling::lin_loc},       {"ColLoc", &MapStyling::col_loc},
    {"ForeLoc", &MapStyling::fore_loc},     {"MinLoc", &MapStyling::min_loc},
    {"MaxLoc", &MapStyling::max_loc},       {"SymNodi", &MapStyling::sym_nodi},
    {"MinNodi", &MapStyling::min_nodi},     {"MaxNodi", &MapStyling::max_nodi},
    {"LinArchi", &MapStyling::lin_archi},   {"ColArchi", &MapStyling::col_archi},
    {"MinArchi", &MapStyling::min_archi},   {"MaxArchi", &MapStyling::max_archi},
    {"ColVie", &MapStyling::col_vie},       {"MinVie", &MapStyling::min_vie},
    {"MaxVie", &MapStyling::max_vie},
};

// ---- Reading the file's text -------------------------------------------------------------------------

// Text: a quoted text that was read whole. Number: a dword that fits 32 bits. Other: every other form,
// including the empty untyped "hex(0):", binary data and values that cannot be read.
enum class ValueKind { Text, Number, Other };

struct StoredValue {
  std::string name;
  ValueKind kind = ValueKind::Other;
  std::string text;
  std::uint32_t number = 0;
};

// One logical line of the file: a value written as hex data may go on over several lines, each but the
// last ending with a backslash.
struct Entry {
  std::vector<std::string> lines;    // as in the file, without the line feed
  bool key_line = false;             // "[...]": starts a section
  bool ours = false;                 // our key's line, or a value of our key's section
  bool blank = false;                // nothing but blanks
  bool open = false;                 // hex data whose last line still ends with a backslash
  std::optional<StoredValue> value;  // set for value lines of any section
};

struct Document {
  std::vector<Entry> entries;
  bool crlf = false;  // lines end with CR LF
};

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// The line without its carriage return and without blanks at both ends.
std::string_view Content(std::string_view raw) {
  if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
  return Trim(raw);
}

// Reads the quoted text that starts at text[pos] and moves pos past its closing quote. False when there
// is no opening quote, no closing quote or an escape other than \\, \", \n or \r.
bool ParseQuoted(std::string_view text, std::size_t& pos, std::string& out) {
  if (pos >= text.size() || text[pos] != '"') return false;
  ++pos;
  out.clear();
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c == '"') return true;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (pos >= text.size()) return false;
    const char escaped = text[pos++];
    if (escaped == '\\' || escaped == '"') {
      out += escaped;
    } else if (escaped == 'n') {
      out += '\n';
    } else if (escaped == 'r') {
      out += '\r';
    } else {
      return false;
    }
  }
  return false;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hex digits of a 32-bit number; nullopt when a digit is missing or wrong or the value needs more bits.
std::optional<std::uint32_t> ParseDword(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

// A line of the form "Name"=data, or nullopt when the line is not a value line. continued is set when
// the data is hex data that goes on over the next line.
std::optional<StoredValue> ParseValueLine(std::string_view content, bool& continued) {
  continued = false;
  StoredValue value;
  std::size_t pos = 0;
  if (!ParseQuoted(content, pos, value.name)) return std::nullopt;
  const std::string_view rest = Trim(content.substr(pos));
  if (rest.empty() || rest.front() != '=') return std::nullopt;
  const std::string_view data = Trim(rest.substr(1));

  if (!data.empty() && data.front() == '"') {
    std::size_t end = 0;
    if (ParseQuoted(data, end, value.text) && end == data.size() && value.text.size() <= kMaxTextBytes) {
      value.kind = ValueKind::Text;
    } else {
      value.text.clear();
    }
  } else if (StartsWithIgnoringCase(data, "dword:")) {
    if (const auto number = ParseDword(data.substr(6))) {
      value.kind = ValueKind::Number;
      value.number = *number;
    }
  } else if (StartsWithIgnoringCase(data, "hex") && data.back() == '\\') {
    continued = true;
  }
  return value;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

Document Parse(std::string_view text) {
  Document document;
  const std::vector<std::string_view> lines = SplitLines(text);
  document.crlf = !lines.empty() && !lines[0].empty() && lines[0].back() == '\r';
  bool in_our_section = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Entry entry;
    entry.lines.emplace_back(lines[i]);
    std::string_view raw = lines[i];
    if (i == 0 && raw.starts_with(kByteOrderMark)) raw.remove_prefix(kByteOrderMark.size());
    const std::string_view content = Content(raw);
    entry.blank = content.empty();
    bool continued = false;
    if (content.size() >= 2 && content.front() == '[' && content.back() == ']') {
      in_our_section = EqualsIgnoringCase(Trim(content.substr(1, content.size() - 2)), SettingsStore::kKey);
      entry.key_line = true;
      entry.ours = in_our_section;
    } else if (auto value = ParseValueLine(content, continued)) {
      entry.value = std::move(value);
      entry.ours = in_our_section;
      while (continued && i + 1 < lines.size()) {
        entry.lines.emplace_back(lines[++i]);
        const std::string_view next = Content(lines[i]);
        continued = !next.empty() && next.back() == '\\';
      }
      entry.open = continued;
    }
    document.entries.push_back(std::move(entry));
  }
  // A last line without its line end gets one when the file is written: the file's own kind.
  if (document.crlf && !text.ends_with('\n')) {
    std::string& last = document.entries.back().lines.back();
    if (!last.ends_with('\r')) last += '\r';
  }
  return document;
}

// The value of our key with this name: the last one when the name is repeated.
const StoredValue* Find(const Document& document, std::string_view name) {
  const StoredValue* found = nullptr;
  for (const Entry& entry : document.entries) {
    if (entry.ours && entry.value && EqualsIgnoringCase(entry.value->name, name)) found = &*entry.value;
  }
  return found;
}

std::optional<std::string> ReadText(const Document& document, std::string_view name) {
  const StoredValue* value = Find(document, name);
  if (!value || value->kind != ValueKind::Text) return std::nullopt;
  return value->text;
}

std::optional<std::int32_t> ReadNumber(const Document& document, std::string_view name) {
  const StoredValue* value = Find(document, name);
  if (!value || value->kind != ValueKind::Number) return std::nullopt;
  return static_cast<std::int32_t>(value->number);
}

std::optional<double> ReadDecimal(const Document& document, std::string_view name) {
  const auto text = ReadText(document, name);
  return text ? ParseDecimal(*text) : std::nullopt;
}

// ---- Writing values ----------------------------------------------------------------------------------

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

std::string TextLine(std::string_view name, std::string_view text) {
  return Quoted(name) + "=" + Quoted(text);
}

std::string NumberLine(std::string_view name, std::int32_t number) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex(8, '0');
  auto bits = static_cast<std::uint32_t>(number);
  for (int i = 7; i >= 0; --i, bits >>= 4) hex[static_cast<std::size_t>(i)] = kDigits[bits & 0xFu];
  return Quoted(name) + "=dword:" + hex;
}

std::string EmptyLine(std::string_view name) {
  return Quoted(name) + "=hex(0):";
}

// "%1.4lf" of the resolution, or the shortest exact text when four decimals would not bring it back
// (a very small resolution would otherwise read back as 0); "1.0" for no usable resolution.
std::string ResolutionText(double resolution) {
  if (!std::isfinite(resolution) || !(resolution > DBL_MIN)) return "1.0";
  const std::string fixed = FormatFixed(resolution, 4);
  const auto back = ParseDecimal(fixed);
  if (!back || std::fabs(*back - resolution) > 1e-6 * resolution) return FormatShortest(resolution);
  return fixed;
}

// "%1.4lf" of the coordinate, or "0.0" for the largest double and for what is no finite number.
std::string CoordinateText(double coordinate) {
  if (!std::isfinite(coordinate) || !(coordinate < DBL_MAX)) return "0.0";
  return FormatFixed(coordinate, 4);
}

// Where a new value of our key goes: after the last value of the last section of our key, or right
// after its key line. Adds the section at the end when the file has none.
std::size_t InsertionPoint(Document& document) {
  std::optional<std::size_t> key_line;
  for (std::size_t i = 0; i < document.entries.size(); ++i) {
    if (document.entries[i].key_line && document.entries[i].ours) key_line = i;
  }
  if (key_line) {
    std::size_t at = *key_line + 1;
    for (std::size_t i = at; i < document.entries.size() && !document.entries[i].key_line; ++i) {
      if (document.entries[i].value) at = i + 1;
    }
    return at;
  }

  const std::string cr = document.crlf ? "\r" : "";
  const auto add_line = [&](std::string line, bool is_key) {
    Entry entry;
    entry.lines.push_back(std::move(line) + cr);
    entry.key_line = entry.ours = is_key;
    entry.blank = !is_key;
    document.entries.push_back(std::move(entry));
  };
  bool all_blank = true;
  for (const Entry& entry : document.entries) all_blank = all_blank && entry.blank;
  if (all_blank) {
    document.entries.clear();
    add_line(std::string(kHeader), false);
    document.entries.back().blank = false;
    add_line("", false);
  } else if (!document.entries.back().blank) {
    add_line("", false);
  }
  add_line("[" + std::string(SettingsStore::kKey) + "]", true);
  return document.entries.size();
}

// Gives the value its new line: in place of the first value of our key with that name (repeats are
// dropped), else added at the end of the key's section.
void SetValue(Document& document, std::string_view name, const std::string& line) {
  std::string raw = line + (document.crlf ? "\r" : "");
  StoredValue value;
  value.name = std::string(name);
  std::optional<std::size_t> first;
  for (std::size_t i = 0; i < document.entries.size();) {
    const Entry& entry = document.entries[i];
    if (entry.ours && entry.value && EqualsIgnoringCase(entry.value->name, name)) {
      if (first) {
        document.entries.erase(document.entries.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
      first = i;
    }
    ++i;
  }
  if (first) {
    Entry& entry = document.entries[*first];
    entry.lines = {std::move(raw)};
    entry.value = std::move(value);
    return;
  }
  Entry entry;
  entry.lines = {std::move(raw)};
  entry.ours = true;
  entry.value = std::move(value);
  const std::size_t at = InsertionPoint(document);
  if (at > 0 && document.entries[at - 1].open) {
    // Hex data cut short at the end of the file would take the new line as its own; a blank line
    // ends it.
    document.entries[at - 1].lines.push_back(document.crlf ? "\r" : "");
    document.entries[at - 1].open = false;
  }
  document.entries.insert(document.entries.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

std::string Serialize(const Document& document) {
  std::string out;
  for (const Entry& entry : document.entries) {
    for (const std::string& line : entry.lines) {
      out += line;
      out += '\n';
    }
  }
  return out;
}

// ---- Files -------------------------------------------------------------------------------------------

// The whole content of a regular file; nullopt when it cannot be opened or read or is no regular file.
std::optional<std::string> ReadFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat status {};
  std::optional<std::string> content;
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
    content.emplace();
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n > 0) {
        content->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0) {
        break;
      } else if (errno != EINTR) {
        content.reset();
        break;
      }
    }
  }
  ::close(fd);
  return content;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Replaces (or creates) the file at target with content through a temporary file in the same folder,
// so that the file is always either the old one or the new one whole. With keep, the new file gets its
// owner and permissions; without, it is created with 0666 less the process umask.
bool WriteAtomically(const fs::path& target, std::string_view content, const struct stat* keep) {
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::string hidden_name = ".";
  hidden_name += target.filename().string();
  hidden_name += '.';
  const std::string prefix = (folder / hidden_name).string();
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = prefix + FormatInteger(::getpid()) + "-" + FormatInteger(attempt) + ".tmp";
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, keep ? 0600 : 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  bool ok = WriteAll(fd, content);
  if (ok && keep) {
    // Only the owner (or root) can give the file back to another owner; the permissions matter more.
    [[maybe_unused]] const int owner_kept = ::fchown(fd, keep->st_uid, keep->st_gid);
    ok = ::fchmod(fd, keep->st_mode & 07777) == 0;
  }
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  const int folder_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd >= 0) {
    ::fsync(folder_fd);
    ::close(folder_fd);
  }
  return true;
}

}  // namespace

std::string SettingsStore::DefaultPath() {
  const char* configured = std::getenv("VIAMAPPA_CONFIG");
  if (configured && *configured) return configured;
  std::string base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      const passwd* user = ::getpwuid(::getuid());
      home = user ? user->pw_dir : nullptr;
    }
    base = std::string(home ? home : "") + "/.config";
  }
  return base + "/Viamappa/Viamappa/1.00.reg";
}

std::string SettingsStore::AnomalyMessage() {
  return "ATTENZIONE: è stata riscontrata una anomalia grave\n"
         "che rende impossibile il corretto funzionamento di\n"
         "questo programma.\n\n"
         "Ipotesi A) Il prodotto non è stato installato nella\n"
         "           maniera corretta, utilizzando Setup.\n\n"
         "Ipotesi B) Il registro di configurazione di Windows\n"
         "           si è corrotto e deve essere ripristinato.\n\n";
}

Settings SettingsStore::Load(UserInterface& ui) const {
  Settings settings;
  const auto content = ReadFile(path_);
  if (!content) {
    ui.ShowMessage(AnomalyMessage(), MessageIcon::Stop, {});
    return settings;
  }
  const Document document = Parse(*content);
  if (auto text = ReadText(document, "Database")) settings.database = std::move(*text);
  if (auto text = ReadText(document, "Sfondo")) settings.background = std::move(*text);
  for (const StylingValue& value : kStylingValues) {
    if (const auto number = ReadNumber(document, value.name)) settings.styling.*value.field = *number;
  }
  // A resolution of 0, below 0 or too small to divide by would break every scale computed from it.
  if (const auto resolution = ReadDecimal(document, "MappaScala"); resolution && *resolution > DBL_MIN) {
    settings.view.resolution = *resolution;
  }
  if (const auto x = ReadDecimal(document, "MappaOrgX")) settings.view.origin_x = *x;
  if (const auto y = ReadDecimal(document, "MappaOrgY")) settings.view.origin_y = *y;
  return settings;
}

std::string SettingsStore::ReadDirectory(UserInterface& ui) const {
  const auto content = ReadFile(path_);
  if (!content) {
    ui.ShowMessage(AnomalyMessage(), MessageIcon::Stop, {});
    return {};
  }
  return ReadText(Parse(*content), "Directory").value_or(std::string());
}

void SettingsStore::Save(const Settings& settings, const std::optional<SavedMapView>& view) const {
  // Through a symbolic link, the file it points to is rewritten and the link kept.
  std::error_code error;
  const fs::path target = fs::canonical(path_, error);
  if (error) return;
  struct stat status {};
  if (::stat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return;
  if (::access(target.c_str(), W_OK) != 0) return;
  // Values this program does not own are kept, so a file that cannot be read is not rewritten.
  const auto content = ReadFile(target.string());
  if (!content) return;

  Document document = Parse(*content);
  SetValue(document, "Database", TextLine("Database", settings.database));
  SetValue(document, "Sfondo", TextLine("Sfondo", settings.background));
  for (const StylingValue& value : kStylingValues) {
    SetValue(document, value.name, NumberLine(value.name, settings.styling.*value.field));
  }
  if (view) {
    SetValue(document, "MappaScala", TextLine("MappaScala", ResolutionText(view->resolution)));
    SetValue(document, "MappaOrgX", TextLine("MappaOrgX", CoordinateText(view->origin_x)));
    SetValue(document, "MappaOrgY", TextLine("MappaOrgY", CoordinateText(view->origin_y)));
  } else {
    for (const char* name : {"MappaScala", "MappaOrgX", "MappaOrgY"})
      SetValue(document, name, EmptyLine(name));
  }
  WriteAtomically(target, Serialize(document), &status);
}

bool SettingsStore::Install(const std::string& path, const std::string& directory,
                            const std::string& database) {
  if (path.empty()) return false;
  // The installation directory is where the first start offers to create the default database: it must
  // be there.
  std::error_code folder_error;
  if (!directory.empty() && !fs::is_directory(directory, folder_error) &&
      !fs::create_directories(directory, folder_error))
    return false;
  const fs::path file(path);
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 && errno == ENOENT) {
    std::error_code ignored;
    if (file.has_parent_path()) fs::create_directories(file.parent_path(), ignored);
    std::string content =
        std::string(kHeader) + "\n\n[" + kKey + "]\n" + TextLine("Directory", directory) + "\n";
    if (!database.empty()) content += TextLine("Database", database) + "\n";
    WriteAtomically(file, content, nullptr);
  }
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace viamappa
