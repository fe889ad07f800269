#include "query/ToponymSearchDialog.h"

#include "base/Utf8.h"
#include "db/DbQuery.h"
#include "query/PlaceTables.h"

namespace viamappa {

namespace {

// The first limit characters of a text.
std::string_view FirstCharacters(std::string_view text, std::size_t limit) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < limit && pos < text.size(); ++n) utf8::DecodeNext(text, pos);
  return text.substr(0, pos);
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

ToponymSearchDialog::ToponymSearchDialog(DbConnection& connection, std::string_view kept_fragment)
    : connection_(connection) {
  SetFragment(kept_fragment);
  filter_entries_.emplace_back(kAnyMunicipalityEntry);
  DbQuery query(connection);
  query.SetSelect("ID, denom, provin");
  query.SetFrom(kMunicipalityTable);
  query.SetWhere("ID > 0");
  query.SetOrderBy("denom");
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    std::int32_t id = 0;
    std::string name, province;
    query.GetShort(0, id);
    query.GetText(1, name);
    query.GetText(2, province);
    filter_entries_.push_back(MunicipalityFilterEntry(name, province, id));
  }
}

void ToponymSearchDialog::SetFragment(std::string_view text) {
  fragment_ = std::string(FirstCharacters(text, kFragmentLimit));
}

void ToponymSearchDialog::ChooseFilter(int index) {
  filter_index_ = index >= 0 && index < static_cast<int>(filter_entries_.size()) ? index : -1;
}

std::int32_t ToponymSearchDialog::MunicipalityFilter() const {
  if (filter_index_ < 0) return 0;
  return ParseFilterEntry(filter_entries_[static_cast<std::size_t>(filter_index_)]).value_or(0);
}

std::optional<std::string> ToponymSearchDialog::Search() {
  request_.municipality = MunicipalityFilter();
  request_.fragment = std::string(WithoutTrailingBlanks(fragment_));
  if (request_.fragment.empty()) return kNoFragmentMessage;
  if (!request_.municipalities && !request_.localities && !request_.toponyms && !request_.streets)
    return kNoContextMessage;
  hits_ = SearchPlaces(connection_, request_);
  hit_index_ = -1;
  return std::nullopt;
}

void ToponymSearchDialog::ChooseHit(int index) {
  hit_index_ = index >= 0 && index < static_cast<int>(hits_.size()) ? index : -1;
}

std::optional<std::string> ToponymSearchDialog::Accept() {
  const SearchHit hit =
      hit_index_ < 0 ? SearchHit() : ParseHitLine(hits_[static_cast<std::size_t>(hit_index_)]);
  if (hit.kind == HitKind::None) return kNoHitMessage;
  accepted_ = hit;
  return std::nullopt;
}

}  // namespace viamappa
