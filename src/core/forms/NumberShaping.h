// Number fields: what the person typed is reshaped, never refused, into a fixed-width text with a
// comma before the decimals; while typing, the field takes only what the shaping keeps.
#pragma once

#include <string>
#include <string_view>

namespace viamappa {

struct NumberLayout {
  int integer_digits = 0;  // the integer part is always this many digits wide
  int decimals = 0;
  bool sign_at_end = false;  // the sign follows the number; without it no sign is written
  bool blank_leading_zeros = false;
  bool group_thousands = false;  // a point between every three integer digits
};

// Reshapes the text in place: the integer part padded with zeros or cut to its last digits, the
// decimals cut or padded to their count after a comma, then the grouping points, the blanks for
// leading zeros and the sign at the end as the layout asks. An empty or blank text stays as it is.
// A text the shaping wrote reads back as the same number: with grouping a point is a grouping mark,
// and with the sign at the end a sign there counts.
void FormatNumber(std::string& text, const NumberLayout& layout);

// Whether a number field may hold this text while it is being typed: leading blanks, at most the
// layout's integer digits (leading zeros apart) and decimals, a sign only when the layout writes
// one, and nothing else. So the shaping never cuts a digit the person typed.
bool NumberFieldAccepts(std::string_view text, const NumberLayout& layout);

// The field's width in characters: the digits, the grouping points, the decimals with their comma,
// the sign at the end, and one more.
int NumberFieldLength(const NumberLayout& layout);

}  // namespace viamappa
