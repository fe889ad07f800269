// Where the bytes of a background file come from: the file itself, opened for reading and kept open
// while the map data live, or bytes in memory (tests, fuzzing). Reads name their position, so a reader
// never depends on where another left the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace viamappa {

class BackgroundSource {
 public:
  virtual ~BackgroundSource() = default;

  // Reads exactly size bytes at offset; false when fewer are there or the read fails.
  virtual bool ReadAt(std::uint64_t offset, void* out, std::size_t size) = 0;

  // The number of bytes there were when the source was opened.
  virtual std::uint64_t size() const = 0;

  // False once the file was removed, replaced by another or rewritten since it was opened: what was
  // read of it no longer describes it.
  virtual bool Unchanged() const = 0;
};

// Why a file could not be opened.
enum class OpenFailure { None, Missing, Refused, Other };

// Opens a file for reading. Null, with the reason, when it cannot be opened.
std::unique_ptr<BackgroundSource> OpenFileSource(const std::string& path, OpenFailure& failure);

// The bytes of a file held in memory; they must outlive the source.
std::unique_ptr<BackgroundSource> MemorySource(std::string_view bytes);

}  // namespace viamappa
