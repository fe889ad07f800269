// A database file as another tool sees it: SQL run through a plain SQLite connection, and whole pages
// overwritten as a failing disk overwrites them, found by walking a table's b-tree in the file itself.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "db/Sqlite.h"
#include "support/TempDir.h"

namespace viamappa::testing {

// Runs SQL on the file; the error text, empty on success.
inline std::string RawExec(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  std::string error;
  ExecuteSql(db, sql, &error);
  sqlite3_close(db);
  return error;
}

// The first column of the first row of a query, as text; empty when there is none.
inline std::string RawText(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  std::string text;
  if (SqliteStatement statement = PrepareStatement(db, sql);
      statement && sqlite3_step(statement.get()) == SQLITE_ROW)
    text = ColumnText(statement.get(), 0);
  sqlite3_close(db);
  return text;
}

// The root page of a table or an index.
inline std::uint32_t RootPage(const std::string& path, const std::string& name) {
  return static_cast<std::uint32_t>(
      std::stoul(RawText(path, "SELECT rootpage FROM sqlite_master WHERE name = '" + name + "'")));
}

// The pages of a database file as they are on disk when it is made.
class PageFile {
 public:
  explicit PageFile(std::string path) : path_(std::move(path)), bytes_(ReadText(path_)) {
    page_size_ = (Byte(16) << 8) | Byte(17);
    if (page_size_ == 1) page_size_ = 65536;
  }

  // The leaf pages of a table's b-tree, in the order of their row ids.
  std::vector<std::uint32_t> Leaves(std::uint32_t page) const {
    const std::size_t header = Header(page);
    if (Byte(header) == 0x0D) return {page};
    std::vector<std::uint32_t> leaves;
    if (Byte(header) != 0x05) return leaves;
    for (std::size_t i = 0; i < Cells(page); ++i) {
      const std::vector<std::uint32_t> below = Leaves(Be32(Start(page) + Be16(header + 12 + 2 * i)));
      leaves.insert(leaves.end(), below.begin(), below.end());
    }
    const std::vector<std::uint32_t> last = Leaves(Be32(header + 8));
    leaves.insert(leaves.end(), last.begin(), last.end());
    return leaves;
  }

  // The row ids on a leaf page.
  std::vector<std::int64_t> RowIds(std::uint32_t leaf) const {
    std::vector<std::int64_t> ids;
    for (std::size_t i = 0; i < Cells(leaf); ++i) {
      std::size_t at = Start(leaf) + Be16(Header(leaf) + 8 + 2 * i);
      Varint(at);  // the size of the row
      ids.push_back(static_cast<std::int64_t>(Varint(at)));
    }
    return ids;
  }

  // Overwrites a whole page, its header too, so that the engine can no longer read it.
  void Damage(std::uint32_t page) const {
    std::fstream file(path_, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(Start(page)));
    const std::string garbage(page_size_, '\x5A');
    file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
  }

 private:
  std::size_t Start(std::uint32_t page) const { return (page - 1) * page_size_; }
  std::size_t Header(std::uint32_t page) const { return Start(page) + (page == 1 ? 100 : 0); }
  std::size_t Cells(std::uint32_t page) const { return Be16(Header(page) + 3); }
  std::uint32_t Byte(std::size_t at) const { return static_cast<unsigned char>(bytes_.at(at)); }
  std::uint32_t Be16(std::size_t at) const { return (Byte(at) << 8) | Byte(at + 1); }
  std::uint32_t Be32(std::size_t at) const { return (Be16(at) << 16) | Be16(at + 2); }
  std::uint64_t Varint(std::size_t& at) const {
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) {
      const std::uint32_t byte = Byte(at++);
      value = (value << 7) | (byte & 0x7F);
      if (!(byte & 0x80)) return value;
    }
    return (value << 8) | Byte(at++);
  }

  std::string path_;
  std::string bytes_;
  std::size_t page_size_ = 4096;
};

}  // namespace viamappa::testing
