#include "app/StreetListDialogModel.h"

#include <cstdio>
#include <limits>

#include "db/DbQuery.h"

namespace viamappa {

namespace {

std::vector<StreetListDialogModel::Entry> ReadEntries(DbConnection& connection, const char* table) {
  std::vector<StreetListDialogModel::Entry> entries;
  DbQuery query(connection);
  query.SetSelect("ID, denom");
  query.SetFrom(table);
  query.SetWhere("ID > 0");
  query.SetOrderBy("denom");
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    std::int32_t id = 0;
    std::string name;
    query.GetShort(0, id);
    query.GetText(1, name);
    entries.push_back({id, StreetListDialogModel::EntryText(id, name)});
  }
  return entries;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string StreetListDialogModel::EntryText(std::int32_t id, const std::string& name) {
  char number[16];
  std::snprintf(number, sizeof number, "%04d", static_cast<int>(id));
  return std::string(number) + " - " + name;
}

void StreetListDialogModel::Load(DbConnection& connection) {
  municipalities_ = ReadEntries(connection, "comuni");
  localities_ = ReadEntries(connection, "local");
  municipality_ = Control{};
  locality_ = Control{};
  choice_ = StreetListChoice{};
}

void StreetListDialogModel::CheckMunicipality(bool checked) {
  municipality_.checked = checked;
  municipality_.list_enabled = checked;
  if (checked) locality_ = Control{false, false, false, locality_.text};
}

void StreetListDialogModel::CheckLocality(bool checked) {
  locality_.checked = checked;
  locality_.list_enabled = checked;
  if (checked) municipality_ = Control{false, false, false, municipality_.text};
}

// The identifier is every leading digit of the text, not only the first four: an identifier above
// 9999 is shown with all its digits and must not pick the entry of its first four.
const StreetListDialogModel::Entry* StreetListDialogModel::Chosen(const std::string& text,
                                                                  const std::vector<Entry>& entries) {
  for (std::size_t i = 0; i < text.size() && i < 4; ++i) {
    if (!IsDigit(text[i])) return nullptr;
  }
  long long number = 0;
  for (std::size_t i = 0; i < text.size() && IsDigit(text[i]); ++i) {
    number = number * 10 + (text[i] - '0');
    if (number > std::numeric_limits<std::int32_t>::max()) return nullptr;
  }
  for (const Entry& entry : entries) {
    if (entry.id == number) return &entry;
  }
  return nullptr;
}

std::optional<std::string> StreetListDialogModel::Accept() {
  StreetListChoice choice;
  if (municipality_.checked) {
    const Entry* entry = Chosen(municipality_.text, municipalities_);
    if (!entry) {
      return "ATTENZIONE: Il Codice Comune non è valido.\n\n"
             "Occorre selezionare un Codice Comune presente nella lista.\n\n";
    }
    choice.by_municipality = true;
    choice.municipality = entry->id;
    // After the identifier and its blank: "- name".
    choice.municipality_name = entry->text.substr(EntryText(entry->id, "").size() - 2);
  }
  if (locality_.checked) {
    const Entry* entry = Chosen(locality_.text, localities_);
    if (!entry) {
      return "ATTENZIONE: Il Codice Località non è valido.\n\n"
             "Occorre selezionare un Codice Località presente nella lista.\n\n";
    }
    choice.by_locality = true;
    choice.locality = entry->id;
    choice.locality_name = entry->text.substr(EntryText(entry->id, "").size() - 2);
  }
  choice_ = std::move(choice);
  return std::nullopt;
}

}  // namespace viamappa
