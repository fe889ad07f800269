#include "query/SearchHit.h"

#include <charconv>

#include "base/NumberText.h"

namespace viamappa {

namespace {

// printf "%0<width>d": the sign first, then zeros up to the width.
std::string Padded(std::int32_t value, std::size_t width) {
  std::string digits = FormatInteger(value < 0 ? -static_cast<std::int64_t>(value) : value);
  const std::size_t room = value < 0 ? (width > 0 ? width - 1 : 0) : width;
  if (digits.size() < room) digits.insert(0, room - digits.size(), '0');
  return value < 0 ? "-" + digits : digits;
}

std::size_t DigitWidth(HitKind kind) {
  return kind == HitKind::Municipality || kind == HitKind::Locality ? 4 : 6;
}

// The number the digits write, when they are exactly what Padded(width) writes for it.
std::optional<std::int32_t> ExactNumber(std::string_view digits, std::size_t width) {
  if (digits.empty()) return std::nullopt;
  for (const char c : digits)
    if (c < '0' || c > '9') return std::nullopt;
  std::int32_t value = 0;
  const auto [end, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (failure != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (Padded(value, width) != digits) return std::nullopt;
  return value;
}

}  // namespace

std::string MunicipalityHitLine(std::int32_t id, std::string_view name) {
  return "C" + Padded(id, 4) + " - Comune: " + std::string(name);
}

std::string LocalityHitLine(std::int32_t id, std::string_view name, std::string_view municipality) {
  return "L" + Padded(id, 4) + " - Località: " + std::string(name) + " (" + std::string(municipality) + ")";
}

std::string ToponymHitLine(std::int32_t id, std::string_view name, std::string_view municipality) {
  return "T" + Padded(id, 6) + " - Toponimo: " + std::string(name) + " (" + std::string(municipality) + ")";
}

std::string StreetHitLine(std::int32_t arc, std::string_view name, std::string_view locality,
                          std::string_view municipality) {
  std::string line = "V" + Padded(arc, 6) + " - Viabilità: " + std::string(name);
  if (municipality.empty()) return line;
  line += " [";
  if (!locality.empty()) line += std::string(locality) + "-";
  return line + std::string(municipality) + "]";
}

SearchHit ParseHitLine(std::string_view line) {
  if (line.empty()) return {};
  const auto kind = static_cast<HitKind>(line.front());
  if (kind != HitKind::Municipality && kind != HitKind::Locality && kind != HitKind::Toponym &&
      kind != HitKind::Street)
    return {};
  const std::size_t end = line.find(" - ", 1);
  if (end == std::string_view::npos) return {};
  const std::optional<std::int32_t> id = ExactNumber(line.substr(1, end - 1), DigitWidth(kind));
  if (!id) return {};
  return {kind, *id};
}

std::string MunicipalityFilterEntry(std::string_view name, std::string_view province, std::int32_t id) {
  return std::string(name) + "-" + std::string(province) + " " + Padded(id, 4);
}

std::optional<std::int32_t> ParseFilterEntry(std::string_view entry) {
  const std::size_t blank = entry.rfind(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  return ExactNumber(entry.substr(blank + 1), 4);
}

}  // namespace viamappa
