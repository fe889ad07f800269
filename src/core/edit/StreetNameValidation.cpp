#include "edit/StreetNameValidation.h"

#include <optional>

#include "base/TextUtil.h"
#include "db/DbQuery.h"
#include "db/DbTable.h"
#include "db/JetDialect.h"
#include "io/StreetDirectory.h"

namespace viamappa {

namespace {

constexpr std::string_view kIllegal =
    "La denominazione proposta è illegale e non può essere accettata.\n"
    "Occorre correggere la denominazione della strada.";

std::string InQuotes(std::string_view text) {
  std::string out("\"");
  out.append(text).append("\"");
  return out;
}

// "*text*" as a LIKE pattern in quotes, the text matching only itself.
std::string Containing(std::string_view text) {
  return "'*" + LikeFragment(text) + "*'";
}

std::string Joined(std::string_view type, std::string_view name) {
  std::string out(type);
  out.append(" ").append(name);
  return out;
}

}  // namespace

TypedStreetName PrepareStreetName(std::string_view text) {
  const std::string upper = AsciiUpper(CutTrailingBlanks(text));
  const std::size_t blank = upper.find(' ');
  if (blank == std::string::npos || blank == 0) return {{}, upper};
  return {upper.substr(0, blank), upper.substr(blank + 1)};
}

StreetNameValidation::StreetNameValidation(DbConnection& connection, SuggestionDialogs& dialogs)
    : connection_(connection), ui_(connection.ui()), dialogs_(dialogs) {}

std::vector<std::string> StreetNameValidation::NameSuggestions(std::string_view name, std::string_view type) {
  DbQuery query(connection_);
  query.SetSelect(std::string(street_field::kType) + ", " + std::string(street_field::kName));
  query.SetFrom(kStreetNameTable);
  std::string where = std::string(street_field::kName) + " LIKE " + Containing(name);
  if (!type.empty()) where += " AND " + std::string(street_field::kType) + " LIKE " + Containing(type);
  query.SetWhere(where);
  query.SetOrderBy(std::string(street_field::kName) + ", " + std::string(street_field::kType));
  std::vector<std::string> found;
  std::string t, n;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    query.GetText(0, t);
    query.GetText(1, n);
    found.push_back(Joined(CutTrailingBlanks(t), CutTrailingBlanks(n)));
  }
  return found;
}

bool StreetNameValidation::AskSubstitution(std::string_view typed, std::string_view suggestion) {
  return ui_.AskYesNo("Suggerimento: è stata indicata la denominazione sconosciuta:\n" + InQuotes(typed) +
                      "\n\nEsiste già la denominazione analoga:\n" + InQuotes(suggestion) +
                      "\n\nConfermi la sostituzione suggerita ?");
}

bool StreetNameValidation::Validate(std::string& text) {
  const std::string entered(CutTrailingBlanks(text));
  const TypedStreetName typed = PrepareStreetName(entered);
  const bool has_type = !typed.type.empty();
  std::vector<std::string> found;
  if (has_type) {
    found = NameSuggestions(typed.name, typed.type);
    if (found.empty()) found = NameSuggestions(typed.name, {});
  } else {
    // Without a type the name is looked for as typed; the search ignores letter case anyway.
    found = NameSuggestions(entered, {});
  }

  std::optional<std::string> taken;
  if (found.size() == 1) {
    if (found.front() == entered || AskSubstitution(entered, found.front())) taken = found.front();
  } else if (found.size() > 1) {
    NameSuggestionsDialog dialog(entered, found);
    if (dialogs_.RunSuggestions(dialog) == SuggestionClose::Ok && dialog.selection()) taken = dialog.chosen();
  }
  if (taken) {
    text = *taken;
    return true;
  }

  if (!has_type) {
    ui_.ShowMessage("Attenzione: è stata indicata la denominazione sconosciuta:\n" + InQuotes(entered) +
                        "\n\n" + std::string(kIllegal),
                    MessageIcon::Stop);
    return false;
  }
  std::string type = typed.type;
  if (!CheckTypeAndName(type, typed.name)) return false;
  text = Joined(type, typed.name);
  return true;
}

bool StreetNameValidation::CheckTypeAndName(std::string& type, const std::string& name) {
  DbQuery known(connection_);
  known.SetSelect(street_field::kType);
  known.SetFrom(kStreetTypeTable);
  known.SetWhere(std::string(street_field::kType) + " = " + SqlTextLiteral(type));
  int rows = 0;
  for (bool row = known.Open(); row; row = known.MoveNext()) ++rows;

  if (rows != 1) {
    DbQuery like(connection_);
    like.SetSelect(street_field::kType);
    like.SetFrom(kStreetTypeTable);
    like.SetWhere(std::string(street_field::kType) + " LIKE " + Containing(type));
    like.SetOrderBy(street_field::kType);
    std::vector<std::string> types;
    std::string text;
    for (bool row = like.Open(); row; row = like.MoveNext()) {
      like.GetText(0, text);
      types.emplace_back(CutTrailingBlanks(text));
    }
    if (types.empty()) {
      const bool add =
          ui_.AskYesNo("Attenzione: è stata indicata la denominazione sconosciuta:\n" +
                       InQuotes(Joined(type, name)) + "\n\nIl tipo strada:\n\n" + InQuotes(type) +
                       "\n\nnon esiste nello stradario.\n\n"
                       "Intendi inserire una nuovo tipo nello stradario ?");
      if (!add || !AddType(type)) return Refuse();
    } else if (types.size() == 1) {
      if (!ui_.AskYesNo("Suggerimento: è stata indicato un tipo strada sconosciuto:\n" + InQuotes(type) +
                        "\n\nEsiste già la denominazione analoga:\n" + InQuotes(types.front()) +
                        "\n\nConfermi la sostituzione suggerita ?"))
        return Refuse();
      type = types.front();
    } else {
      TypeSuggestionsDialog dialog(type, types);
      switch (dialogs_.RunSuggestions(dialog)) {
        case SuggestionClose::Ok:
          if (!dialog.selection()) return Refuse();
          type = dialog.chosen();
          break;
        case SuggestionClose::NewType:
          if (!AddType(type)) return Refuse();
          break;
        case SuggestionClose::Cancel:
          return Refuse();
      }
    }
  }

  // The pair is not looked up first: only names that matched no entry the person took come here.
  const bool add = ui_.AskYesNo("La denominazione:\n\n" + InQuotes(Joined(type, name)) +
                                "\n\nnon esiste nello stradario.\n\n"
                                "Intendi inserire una nuova denominazione nello stradario ?");
  if (!add || !AddName(type, name)) return Refuse();
  return true;
}

bool StreetNameValidation::AddType(const std::string& type) {
  DbTable tipi(connection_, kStreetTypeTable);
  if (!tipi.IsOpen() || !tipi.AddNew() || !tipi.SetField(street_field::kType, type) || !tipi.Update())
    return false;
  added_.push_back({type, std::nullopt});
  return true;
}

bool StreetNameValidation::AddName(const std::string& type, const std::string& name) {
  // A pair refused as a substitution may be in the directory already: it is not added twice.
  const std::string pair = std::string(street_field::kType) + " = " + SqlTextLiteral(type) + " AND " +
                           std::string(street_field::kName) + " = " + SqlTextLiteral(name);
  if (CountRows(connection_, kStreetNameTable, pair).value_or(0) > 0) return true;
  DbTable nomi(connection_, kStreetNameTable);
  if (!nomi.IsOpen() || !nomi.AddNew() || !nomi.SetField(street_field::kType, type) ||
      !nomi.SetField(street_field::kName, name) || !nomi.Update())
    return false;
  added_.push_back({type, name});
  return true;
}

bool StreetNameValidation::Refuse() {
  ui_.ShowMessage(kIllegal, MessageIcon::Stop);
  return false;
}

}  // namespace viamappa
