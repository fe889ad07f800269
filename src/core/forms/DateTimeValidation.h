// The checks of date and time fields when they are left: what the person typed becomes the program's
// date text "dd/mm/yyyy" or time text "hh.mm", or is refused with a message that quotes it.
#pragma once

#include <string>

#include "ui/UserInterface.h"

namespace viamappa {

inline constexpr const char* kDateCaption = "Verifica Input; errore formato data";
inline constexpr const char* kTimeCaption = "Verifica Input: errore formato orario";

// Rewrites a date as "dd/mm/yyyy": day, month and year between two of the separators , - . / : ;
// with two-digit years below 51 in the 2000s and the others in the 1900s. An empty text or one of
// blanks and zeros becomes "00/00/0000" (no date), one of blanks and nines "99/99/9999" (open end).
// True when the text is now a valid date; false after a warning over the owner, the text unchanged.
bool ValidateDate(UserInterface& ui, std::string& text);

// Rewrites a time as "hh.mm": hours alone, or hours and minutes around one of , - . : ; and "99.99"
// as the last minute of the day. An empty text becomes "00.00". True when valid; false after a
// warning, the text unchanged.
bool ValidateTime(UserInterface& ui, std::string& text);

}  // namespace viamappa
