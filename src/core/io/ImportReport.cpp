#include "io/ImportReport.h"

#include "base/CodePage.h"
#include "base/NumberText.h"
#include "base/Utf8.h"

namespace viamappa {

namespace {

// A name as messages show it: quoted, and cut when long.
std::string Quoted(std::string_view name) {
  constexpr std::size_t kShown = 60;
  std::size_t pos = 0;
  for (std::size_t characters = 0; pos < name.size() && characters < kShown; ++characters)
    utf8::DecodeNext(name, pos);
  return "\"" + std::string(name.substr(0, pos)) + (pos < name.size() ? "…" : "") + "\"";
}

}  // namespace

void ImportReport::Fail(UserInterface& ui, std::string_view reason) {
  failed_ = true;
  if (!reason.empty()) ui.ShowMessage(ImportFailedMessage(reason), MessageIcon::Stop);
}

void ImportReport::Skip(std::string_view kind) {
  for (Skipped& skipped : skipped_) {
    if (skipped.kind == kind) {
      ++skipped.count;
      return;
    }
  }
  skipped_.push_back({std::string(kind), 1});
}

void ImportReport::Refuse(UserInterface& ui, std::int64_t record, std::string_view name,
                          std::string_view reason) {
  if (refused_++ > 0) return;
  std::string text = "Il record " + FormatInteger(record);
  if (!name.empty()) text += " (" + Quoted(name) + ")";
  text += " non è stato registrato";
  text += reason.empty() ? "." : ": " + std::string(reason);
  text += "\n\nGli altri record rifiutati sono contati nel riepilogo dell'importazione.";
  ui.ShowMessage(text, MessageIcon::Warning);
}

void ImportReport::NoteText(std::int64_t record, std::string_view text) {
  if (FitsWindows1252(text)) return;
  if (texts_++ == 0) first_text_ = "record " + FormatInteger(record) + " " + Quoted(text);
}

std::string ImportReport::SummaryLines(std::string_view skipped_word, std::string_view items) const {
  std::string lines;
  int skipped = 0;
  std::string kinds;
  for (const Skipped& entry : skipped_) {
    skipped += entry.count;
    kinds += (kinds.empty() ? "" : ", ") + FormatInteger(entry.count) + " " + entry.kind;
  }
  if (skipped > 0)
    lines += "\n" + std::string(skipped_word) + " " + FormatInteger(skipped) + " " + std::string(items) +
             ": " + kinds;
  if (refused_ > 0)
    lines += "\nrifiutati dal database " + FormatInteger(refused_) + " record, non registrati";
  if (texts_ > 0)
    lines += "\n" + FormatInteger(texts_) +
             (texts_ == 1 ? " testo contiene caratteri" : " testi contengono caratteri") +
             " che gli export in Windows-1252 non possono scrivere (il primo: " + first_text_ + ")";
  return lines;
}

std::string ImportFailedMessage(std::string_view reason) {
  return "Importazione non eseguita: nessun dato è stato registrato nel database.\n\n" + std::string(reason);
}

}  // namespace viamappa
