#include "map/BackgroundReader.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace viamappa {

BackgroundReader::BackgroundReader(BackgroundSource& source, std::uint64_t offset, std::uint64_t size)
    : source_(source), position_(offset) {
  const std::uint64_t file_size = source.size();
  if (offset > file_size || size > file_size - offset) {
    failed_ = true;
    end_ = offset;
    return;
  }
  end_ = offset + size;
  capacity_ = static_cast<std::size_t>(std::min<std::uint64_t>(size, kBackgroundBufferBytes));
  buffer_start_ = offset;
}

bool BackgroundReader::Read(void* out, std::size_t size) {
  if (failed_ || size > end_ - position_) return Fail();
  auto* bytes = static_cast<unsigned char*>(out);
  while (size > 0) {
    const std::uint64_t held_end = buffer_start_ + buffered_;
    if (position_ >= buffer_start_ && position_ < held_end) {
      const std::size_t at = static_cast<std::size_t>(position_ - buffer_start_);
      const std::size_t take = std::min(size, buffered_ - at);
      std::memcpy(bytes, buffer_.get() + at, take);
      bytes += take;
      size -= take;
      position_ += take;
      continue;
    }
    // The next piece of the stretch, from where the reading stands.
    if (!buffer_) buffer_ = std::make_unique<unsigned char[]>(capacity_);
    const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(capacity_, end_ - position_));
    if (!source_.ReadAt(position_, buffer_.get(), piece)) return Fail();
    buffer_start_ = position_;
    buffered_ = piece;
  }
  return true;
}

bool BackgroundReader::Skip(std::uint64_t size) {
  if (failed_ || size > end_ - position_) return Fail();
  position_ += size;
  return true;
}

bool BackgroundReader::Byte(std::uint8_t& value) {
  return Read(&value, 1);
}

bool BackgroundReader::Be16(std::uint32_t& value) {
  unsigned char b[2];
  if (!Read(b, 2)) return false;
  value = (static_cast<std::uint32_t>(b[0]) << 8) | b[1];
  return true;
}

bool BackgroundReader::Be32(std::uint32_t& value) {
  unsigned char b[4];
  if (!Read(b, 4)) return false;
  value = (static_cast<std::uint32_t>(b[0]) << 24) | (static_cast<std::uint32_t>(b[1]) << 16) |
          (static_cast<std::uint32_t>(b[2]) << 8) | b[3];
  return true;
}

bool BackgroundReader::Scale(std::int32_t& value) {
  std::uint32_t raw = 0;
  if (!Be32(raw)) return false;
  value = static_cast<std::int32_t>(raw);
  return true;
}

bool BackgroundReader::Offset(bool wide, std::uint64_t& value) {
  std::uint32_t high = 0;
  if (!Be32(high)) return false;
  if (!wide) {
    value = high;
    return true;
  }
  std::uint32_t low = 0;
  if (!Be32(low)) return false;
  value = (static_cast<std::uint64_t>(high) << 32) | low;
  return true;
}

bool BackgroundReader::Double(double& value) {
  unsigned char b[8];
  if (!Read(b, 8)) return false;
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[i];
  value = std::bit_cast<double>(bits);
  return true;
}

bool BackgroundReader::Packed32(std::int32_t& value) {
  unsigned char b[4];
  if (!Read(b, 4)) return false;
  value = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
      (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
  return true;
}

bool BackgroundReader::Packed16(std::int32_t& value) {
  unsigned char b[2];
  if (!Read(b, 2)) return false;
  value = static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
  return true;
}

bool BackgroundReader::String(std::string& value) {
  std::uint32_t length = 0;
  if (!Be16(length)) return false;
  value.resize(length);
  return Read(value.data(), length);
}

bool BackgroundReader::Colour3(std::uint32_t& value) {
  unsigned char b[3];
  if (!Read(b, 3)) return false;
  value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
          (static_cast<std::uint32_t>(b[2]) << 16);
  return true;
}

}  // namespace viamappa
