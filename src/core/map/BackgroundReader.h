// Reads one stretch of a background file (a directory, an index, a block of entities, a raster tile)
// through a buffer of at most 64 KB, refilled as the reading moves on, so records may straddle the
// buffer's end and be of any size. Nothing is read outside the stretch, and the stretch must lie
// inside the file: every read that would leave it fails, as does every read after a failure.
//
// The values of the background formats: big-endian unsigned counts and offsets ("BE"), 64-bit offsets
// as two big-endian halves, little-endian doubles, little-endian signed packed integers, strings of a
// 2-byte BE length and their bytes, colours of three bytes b0 | b1 << 8 | b2 << 16.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "map/BackgroundSource.h"

namespace viamappa {

inline constexpr std::size_t kBackgroundBufferBytes = 65536;

class BackgroundReader {
 public:
  // The stretch of size bytes at offset; it fails at once when it does not lie inside the source.
  BackgroundReader(BackgroundSource& source, std::uint64_t offset, std::uint64_t size);
  BackgroundReader(const BackgroundReader&) = delete;
  BackgroundReader& operator=(const BackgroundReader&) = delete;

  // Exactly size bytes, or false.
  bool Read(void* out, std::size_t size);
  bool Skip(std::uint64_t size);

  // Bytes of the stretch not read yet.
  std::uint64_t remaining() const { return failed_ ? 0 : end_ - position_; }
  bool failed() const { return failed_; }

  bool Byte(std::uint8_t& value);
  bool Be16(std::uint32_t& value);
  bool Be32(std::uint32_t& value);
  // A 4-byte BE scale value: -1 and -2 are stored as their 32-bit patterns.
  bool Scale(std::int32_t& value);
  // A 4-byte BE offset, or an 8-byte one (high half first) when wide.
  bool Offset(bool wide, std::uint64_t& value);
  bool Double(double& value);
  bool Packed32(std::int32_t& value);
  bool Packed16(std::int32_t& value);
  // A string's bytes as stored.
  bool String(std::string& value);
  bool Colour3(std::uint32_t& value);

 private:
  bool Fail() {
    failed_ = true;
    return false;
  }

  BackgroundSource& source_;
  std::uint64_t position_ = 0;  // of the next byte to hand out, in the file
  std::uint64_t end_ = 0;
  std::unique_ptr<unsigned char[]> buffer_;
  std::size_t capacity_ = 0;
  std::uint64_t buffer_start_ = 0;  // file position of buffer_[0]
  std::size_t buffered_ = 0;        // bytes held from buffer_start_
  bool failed_ = false;
};

}  // namespace viamappa
