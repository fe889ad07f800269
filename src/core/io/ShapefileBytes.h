// The integers and doubles of shapefile headers and records: big-endian or little-endian 32-bit
// integers and little-endian IEEE-754 doubles, read from and written into byte buffers.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace viamappa::shapefile_bytes {

inline std::uint32_t Swap(std::uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}
inline std::uint64_t Swap(std::uint64_t v) {
  return (static_cast<std::uint64_t>(Swap(static_cast<std::uint32_t>(v))) << 32) |
         Swap(static_cast<std::uint32_t>(v >> 32));
}

inline std::int32_t ReadLe32(const unsigned char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  if constexpr (std::endian::native == std::endian::big) v = Swap(v);
  return static_cast<std::int32_t>(v);
}
inline std::int32_t ReadBe32(const unsigned char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  if constexpr (std::endian::native == std::endian::little) v = Swap(v);
  return static_cast<std::int32_t>(v);
}
inline int ReadLe16(const unsigned char* p) {
  return p[0] | (p[1] << 8);
}
inline double ReadLeDouble(const unsigned char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  if constexpr (std::endian::native == std::endian::big) v = Swap(v);
  return std::bit_cast<double>(v);
}

inline void PutLe32(unsigned char* p, std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  if constexpr (std::endian::native == std::endian::big) v = Swap(v);
  std::memcpy(p, &v, 4);
}
inline void PutBe32(unsigned char* p, std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  if constexpr (std::endian::native == std::endian::little) v = Swap(v);
  std::memcpy(p, &v, 4);
}
inline void PutLe16(unsigned char* p, int value) {
  p[0] = static_cast<unsigned char>(value & 0xFF);
  p[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}
inline void PutLeDouble(unsigned char* p, double value) {
  auto v = std::bit_cast<std::uint64_t>(value);
  if constexpr (std::endian::native == std::endian::big) v = Swap(v);
  std::memcpy(p, &v, 8);
}

}  // namespace viamappa::shapefile_bytes
