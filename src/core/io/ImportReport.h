// What an import met besides the rows it stored: records it left out and why, records the database
// refused, texts that the files the program writes cannot hold, and whether the import failed as a whole.
// An import ends either with everything it reports stored, or with nothing stored and the reason shown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/UserInterface.h"

namespace viamappa {

// The most points a stored polyline or ring can hold: its count is a 16-bit field.
inline constexpr std::int32_t kMaxStoredPoints = 32767;

class ImportReport {
 public:
  // The import stopped: nothing of it is stored. Shows why, with the reason given (none when it has been
  // told already).
  void Fail(UserInterface& ui, std::string_view reason);
  bool failed() const { return failed_; }

  // The file does not fit the import (its shape type or attributes); the import said so and stored
  // nothing, and its summary follows with zero counts.
  void Unusable() { unusable_ = true; }
  bool unusable() const { return unusable_; }

  // A record or line left out, counted by its kind ("senza geometria", "cancellati", ...).
  void Skip(std::string_view kind);

  // A record the database refused, or that could not be stored whole: not stored. The first refusal is
  // shown naming the record (its number and, when it has one, its name) and the reason; the others are
  // counted for the summary.
  void Refuse(UserInterface& ui, std::int64_t record, std::string_view name, std::string_view reason);
  int refused() const { return refused_; }

  // A text stored as read that the files the program writes in Windows-1252 cannot hold; the first is
  // named in the summary.
  void NoteText(std::int64_t record, std::string_view text);

  // The lines the summary adds after its counts (each starting with a line end); empty when there is
  // nothing to add. items names what was skipped, with its agreement: "ignorati|record" or
  // "ignorate|righe".
  std::string SummaryLines(std::string_view skipped_word, std::string_view items) const;

 private:
  struct Skipped {
    std::string kind;
    int count = 0;
  };
  bool failed_ = false;
  bool unusable_ = false;
  int refused_ = 0;
  std::vector<Skipped> skipped_;
  int texts_ = 0;
  std::string first_text_;
};

// The message of an import that stopped: nothing was stored, and why.
std::string ImportFailedMessage(std::string_view reason);

// The reason of an import stopped by a failure of the database beyond one record (a full disk, an I/O
// error), which the access layer has shown.
inline constexpr std::string_view kDatabaseStopped =
    "Il database non può registrare altri dati: la causa è descritta nel messaggio precedente.";

}  // namespace viamappa
