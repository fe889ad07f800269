#include "edit/BulkRenameDialog.h"

#include <unordered_set>

#include "base/NumberText.h"
#include "base/Utf8.h"
#include "db/DbBatch.h"
#include "db/JetDialect.h"
#include "edit/GeometryEdits.h"
#include "geom/GraphRecords.h"
#include "ui/RepeatedMessageFilter.h"

namespace viamappa {

namespace {

std::string WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

// The first characters of a text, as a field that holds that many keeps them.
std::string FirstCharacters(std::string_view text, std::size_t characters) {
  std::size_t pos = 0;
  for (std::size_t n = 0; pos < text.size() && n < characters; ++n) utf8::DecodeNext(text, pos);
  return std::string(text.substr(0, pos));
}

// A name as the database compares it: letter case aside.
std::string Folded(std::string_view text) {
  std::string folded;
  for (std::size_t pos = 0; pos < text.size();)
    utf8::Append(folded, utf8::FoldCase(utf8::DecodeNext(text, pos)));
  return folded;
}

// "%04d".
std::string FourDigits(std::int32_t id) {
  std::string text = FormatInteger(id);
  return text.size() < 4 ? std::string(4 - text.size(), '0') + text : text;
}

// The first text of a query's first row, or the fallback when there is none.
std::string FirstText(DbQuery& query, std::string_view fallback) {
  std::string text;
  if (!query.Open() || !query.GetText(0, text)) return std::string(fallback);
  return text;
}

}  // namespace

BulkRenameDialog::BulkRenameDialog(DbConnection& connection, UserInterface& ui,
                                   std::function<std::string()> today)
    : connection_(connection),
      ui_(ui),
      today_(today ? std::move(today) : std::function<std::string()>(TodayText)) {}

void BulkRenameDialog::Load() {
  localities_.assign(1, {0, 0, "Qualsiasi Località - 0000"});
  municipalities_.assign(1, {0, 0, "Qualsiasi Comune - 0000"});
  {
    DbQuery query(connection_);
    query.SetSelect("local.ID, local.denom, comuni.denom, comuni.provin, comuni.ID");
    query.SetFrom("local, comuni");
    query.SetWhere("local.ID > 0 AND local.istat = comuni.istat");
    query.SetOrderBy("local.denom");
    std::string name, municipality, province;
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      Entry entry;
      query.GetShort(0, entry.id);
      query.GetText(1, name);
      query.GetText(2, municipality);
      query.GetText(3, province);
      query.GetShort(4, entry.municipality);
      entry.text = name + " [" + municipality + "-" + province + "] " + FourDigits(entry.id);
      localities_.push_back(std::move(entry));
    }
  }
  {
    DbQuery query(connection_);
    query.SetSelect("ID, denom, provin");
    query.SetFrom("comuni");
    query.SetWhere("ID > 0");
    query.SetOrderBy("denom");
    std::string name, province;
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      Entry entry;
      query.GetShort(0, entry.id);
      query.GetText(1, name);
      query.GetText(2, province);
      entry.municipality = entry.id;
      entry.text = name + "-" + province + " " + FourDigits(entry.id);
      municipalities_.push_back(std::move(entry));
    }
  }
  locality_ = 0;
  municipality_ = 0;
  alternative_ = false;
  EmptyNames();
}

void BulkRenameDialog::SetFragment(std::string_view text) {
  fragment_ = FirstCharacters(text, kFieldCharacters);
}

void BulkRenameDialog::SetNewName(std::string_view text) {
  new_name_ = FirstCharacters(text, kFieldCharacters);
}

void BulkRenameDialog::EmptyNames() {
  names_.clear();
  name_ = -1;
  new_name_.clear();
}

void BulkRenameDialog::ChooseLocality(int index) {
  if (index < 0 || index >= static_cast<int>(localities_.size())) return;
  locality_ = index;
  // The locality's own municipality, found by its identifier.
  if (index > 0) {
    for (std::size_t i = 0; i < municipalities_.size(); ++i) {
      if (municipalities_[i].id == localities_[index].municipality) municipality_ = static_cast<int>(i);
    }
  }
  EmptyNames();
}

void BulkRenameDialog::ChooseMunicipality(int index) {
  if (index < 0 || index >= static_cast<int>(municipalities_.size())) return;
  municipality_ = index;
  locality_ = 0;
  EmptyNames();
}

bool BulkRenameDialog::ChooseLocalityId(std::int32_t id) {
  for (std::size_t i = 0; i < localities_.size(); ++i) {
    if (localities_[i].id != id) continue;
    ChooseLocality(static_cast<int>(i));
    return true;
  }
  return false;
}

bool BulkRenameDialog::ChooseMunicipalityId(std::int32_t id) {
  for (std::size_t i = 0; i < municipalities_.size(); ++i) {
    if (municipalities_[i].id != id) continue;
    ChooseMunicipality(static_cast<int>(i));
    return true;
  }
  return false;
}

std::string_view BulkRenameDialog::Field() const {
  return alternative_ ? arc_field::kAlternative : arc_field::kName;
}

// The locality wins over the municipality; the identifiers are bound as parameter 1.
void BulkRenameDialog::FilterQuery(DbQuery& query, std::string condition) const {
  const std::int32_t locality = locality_filter(), municipality = municipality_filter();
  if (locality >= 1) {
    condition += " AND " + std::string(arc_field::kLocality) + " = ?";
    query.BindInteger(1, locality);
  } else if (municipality > 0) {
    condition += " AND " + std::string(arc_field::kMunicipality) + " = ?";
    query.BindInteger(1, municipality);
  }
  query.SetWhere(condition);
}

bool BulkRenameDialog::Search() {
  const std::string fragment = WithoutTrailingBlanks(fragment_);
  if (fragment.empty()) {
    ui_.ShowMessage(
        "Attenzione: non è stato specificato l'oggetto della ricerca !!!\n\n"
        "Occorre indicare almeno un frammento del nome che si intende\n"
        "ricercare",
        MessageIcon::Stop);
    return false;
  }
  return RunSearch(fragment);
}

bool BulkRenameDialog::RunSearch(const std::string& fragment) {
  searched_ = fragment;
  EmptyNames();
  const std::string field(Field());
  DbQuery query(connection_);
  query.SetSelect(field);
  query.SetFrom(kArcTable);
  // The fragment matches itself: its wildcard characters are plain characters here.
  FilterQuery(query, field + " LIKE '*" + LikeFragment(fragment) + "*'");
  query.SetGroupBy(field);
  query.SetOrderBy(field);
  // Names that differ only in trailing blanks or letter case are one name.
  std::unordered_set<std::string> seen;
  std::string name;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    query.GetText(0, name);
    std::string shown = WithoutTrailingBlanks(name);
    if (seen.insert(Folded(shown)).second) names_.push_back(std::move(shown));
  }
  return true;
}

void BulkRenameDialog::ChooseName(int index) {
  if (index < -1 || index >= static_cast<int>(names_.size())) return;
  name_ = index;
  if (index >= 0) new_name_ = names_[index];
}

std::optional<std::string> BulkRenameDialog::Refusal() const {
  if (name_ < 0)
    return "Attenzione: non è stato indicato il toponimo da sostituire !!!\n\n"
           "Occorre selezionare obbligatoriamento uno dei toponimi\n"
           "presenti tra i risultati della ricerca";
  const std::string new_name = WithoutTrailingBlanks(new_name_);
  if (new_name.empty())
    return "Attenzione: non è stato specificato il nuovo toponimo !!!\n\n"
           "Occorre indicare obbligatoriamento un toponimo per effettuare\n"
           "la modifica del nome degli Archi Stradali";
  if (new_name == names_[name_])
    return "Attenzione: il nuovo toponimo è identico al vecchio toponimo !!!\n\n"
           "La modifica non ha senso !!!!";
  return std::nullopt;
}

std::string BulkRenameDialog::LocalityScope() {
  const std::int32_t locality = locality_filter(), municipality = municipality_filter();
  std::string scope = "Verranno modificati esclusivamente gli archi localizzati\n";
  if (locality >= 1) {
    DbQuery name(connection_);
    name.SetSelect("denom");
    name.SetFrom("local");
    name.SetWhere("ID = ?");
    name.BindInteger(1, locality);
    DbQuery owner(connection_);
    owner.SetSelect("comuni.denom");
    owner.SetFrom("local, comuni");
    owner.SetWhere("local.ID = ? AND comuni.istat = local.istat");
    owner.BindInteger(1, locality);
    return scope + "nella Località di " + FirstText(name, "*** Località Inesitente ***") + " - Comune di " +
           FirstText(owner, "*** Comune Inesistente ***");
  }
  if (municipality >= 1) {
    DbQuery name(connection_);
    name.SetSelect("denom");
    name.SetFrom("comuni");
    name.SetWhere("ID = ?");
    name.BindInteger(1, municipality);
    return scope + "nel Comune di " + FirstText(name, "*** Comune Inesistente ***");
  }
  return "Gli archi da modificare verrano ricercati nell'intero grafo stradale.";
}

std::string BulkRenameDialog::ConfirmationText() {
  const std::string old_name = name_ >= 0 ? names_[name_] : std::string();
  return "Stanno per essere rinominati i seguenti ARCHI STRADALI:\n\n" +
         std::string(alternative_ ? "Denominazione ALTERNATIVA\n" : "Denominazione PRINCIPALE\n") +
         "Toponimo attuale: \"" + old_name + "\"\nNuovo Toponimo: \"" + WithoutTrailingBlanks(new_name_) +
         "\"\n\n" + LocalityScope() + "\n\nPremere OK per confermare la modifica";
}

std::optional<BulkRenameDialog::RenameCount> BulkRenameDialog::Ok() {
  if (const std::optional<std::string> refusal = Refusal()) {
    ui_.ShowMessage(*refusal, MessageIcon::Stop);
    return std::nullopt;
  }
  if (!ui_.AskOkCancel(ConfirmationText())) return std::nullopt;
  return Rename();
}

std::optional<BulkRenameDialog::RenameCount> BulkRenameDialog::Rename() {
  if (const std::optional<std::string> refusal = Refusal()) {
    ui_.ShowMessage(*refusal, MessageIcon::Stop);
    return std::nullopt;
  }
  const std::string today = today_();
  const std::string new_name = WithoutTrailingBlanks(new_name_);
  const std::string field(Field());
  RenameCount count;
  bool stored = false;
  {
    RepeatedMessageFilter filter(ui_);
    InterfaceScope scope(connection_, filter);
    DbBatch batch(connection_);
    if (!batch.began()) return std::nullopt;
    // Exactly the chosen name, letter case and trailing blanks aside: no other name that contains it.
    std::vector<std::int32_t> ids;
    {
      DbQuery query(connection_);
      query.SetSelect(std::string(arc_field::kId));
      query.SetFrom(kArcTable);
      FilterQuery(query, "RTRIM(" + field + ") LIKE '" + LikeFragment(names_[name_]) + "'");
      std::int32_t id = 0;
      for (bool row = query.Open(); row; row = query.MoveNext()) {
        query.GetLong(0, id);
        ids.push_back(id);
      }
    }
    count.selected = static_cast<int>(ids.size());
    ArcTable arcs(connection_);
    const int name_field = arcs.table().FieldIndex(field);
    const int renamed_field = arcs.table().FieldIndex(arc_field::kNameChanged);
    const int date_field = arcs.table().FieldIndex(arc_field::kModified);
    for (const std::int32_t id : ids) {
      if (!arcs.Seek(id) || !arcs.table().Edit()) continue;
      // A row refused is shown by the access layer and not counted.
      if (arcs.table().SetField(name_field, new_name) && arcs.table().SetFieldInteger(renamed_field, 1) &&
          arcs.table().SetField(date_field, today) && arcs.table().Update()) {
        ++count.changed;
      }
    }
    stored = batch.Commit();
  }
  if (!stored) {
    ui_.ShowMessage("Nessuna modifica è stata registrata nel database.", MessageIcon::Stop);
    return std::nullopt;
  }
  ui_.ShowMessage(
      "Modificati " + FormatInteger(count.changed) + " toponimi di " + FormatInteger(count.selected),
      MessageIcon::Information);
  RunSearch(searched_);
  return count;
}

}  // namespace viamappa
