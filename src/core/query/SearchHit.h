// The lines of the toponym search: each hit is one line whose first letter tells its kind and whose
// digits after the letter are its identifier; the municipality filter's entries end with the
// municipality's identifier. Lines are read back only through the parsers here, which take every digit
// and accept a line only when it is exactly what the formatting would write.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace viamappa {

// The kind of a hit, by the first letter of its line.
enum class HitKind : char {
  None = '?',
  Municipality = 'C',
  Locality = 'L',
  Toponym = 'T',
  Street = 'V',
};

struct SearchHit {
  HitKind kind = HitKind::None;
  std::int32_t id = 0;

  bool operator==(const SearchHit&) const = default;
};

// "C%04d - Comune: %s".
std::string MunicipalityHitLine(std::int32_t id, std::string_view name);
// "L%04d - Località: %s (%s)".
std::string LocalityHitLine(std::int32_t id, std::string_view name, std::string_view municipality);
// "T%06d - Toponimo: %s (%s)".
std::string ToponymHitLine(std::int32_t id, std::string_view name, std::string_view municipality);
// "V%06ld - Viabilità: %s", with " [%s]" for a municipality, or " [%s-%s]" for a locality and its
// municipality (either empty means left out: the municipality alone, or the short form).
std::string StreetHitLine(std::int32_t arc, std::string_view name, std::string_view locality = {},
                          std::string_view municipality = {});

// The hit of a line: a kind letter, all the digits that follow it and " - " after them, the digits being
// exactly those the line's format writes for the number (no other padding, no sign). Any other text is
// the kind None.
SearchHit ParseHitLine(std::string_view line);

// The first entry of the municipality filter, meaning no filter: "Qualsiasi Comune - 0000".
inline constexpr std::string_view kAnyMunicipalityEntry = "Qualsiasi Comune - 0000";

// A municipality's filter entry: "%s-%s %04d" with its name, province and identifier.
std::string MunicipalityFilterEntry(std::string_view name, std::string_view province, std::int32_t id);

// The identifier an entry ends with: the digits after its last blank, exactly as "%04d" writes them;
// nullopt for any other text.
std::optional<std::int32_t> ParseFilterEntry(std::string_view entry);

}  // namespace viamappa
