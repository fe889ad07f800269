// The toponym search dialog ("Ricerca Toponimo"): the fragment, the four contexts, single arcs or whole
// streets, the municipality filter, the "Ricerca" button, the list of hits and "Ok". The model holds the
// state of the controls, fills the lists from the database and answers the messages of its buttons; a
// view only binds its widgets to it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/DbConnection.h"
#include "query/SearchHit.h"
#include "query/ToponymSearch.h"

namespace viamappa {

class ToponymSearchDialog {
 public:
  static constexpr const char* kTitle = "Ricerca Toponimo";
  static constexpr const char* kFragmentLabel = "Cerca:";
  static constexpr const char* kMunicipalitiesBox = "Ricerca Comuni";
  static constexpr const char* kLocalitiesBox = "Ricerca Località";
  static constexpr const char* kToponymsBox = "Ricerca Toponimi";
  static constexpr const char* kStreetsBox = "Ricerca Stradario";
  static constexpr const char* kSingleArcsRadio = "Ricerca Singoli Archi";
  static constexpr const char* kWholeStreetsRadio = "Ricerca Strade Intere";
  static constexpr const char* kFilterLabel = "Selezione Comune";
  static constexpr const char* kSearchButton = "Ricerca";
  static constexpr const char* kHitsLabel = "Risultato della ricerca";
  static constexpr const char* kOkButton = "Ok";

  // The fragment field takes at most this many characters.
  static constexpr std::size_t kFragmentLimit = 40;

  static constexpr const char* kNoFragmentMessage =
      "Attenzione: non è stato specificato l'oggetto della ricerca !!!\n\n"
      "Occorre indicare almeno un frammento del nome che si intende\n"
      "ricercare";
  static constexpr const char* kNoContextMessage =
      "Attenzione: non è stato specificato il contesto della ricerca !!!\n\n"
      "Occorre selezionare almeno un tipo di contesto che si intende\n"
      "esplorare";
  static constexpr const char* kNoHitMessage =
      "Attenzione: non è stato selezionato un oggetto valido !!!\n\n"
      "Occorre selezionare obbligatoriamento uno dei toponimi\n"
      "presenti tra i risultati della ricerca";

  // Opens over the database with the fragment of the previous search: the filter lists "Qualsiasi
  // Comune - 0000" (chosen) and then every municipality with an identifier above 0 by name; municipalities,
  // localities and streets are searched, single arcs listed; no hits yet.
  ToponymSearchDialog(DbConnection& connection, std::string_view kept_fragment = {});

  // The fragment field: what is typed beyond 40 characters is left out.
  void SetFragment(std::string_view text);
  const std::string& fragment() const { return fragment_; }

  SearchRequest& contexts() { return request_; }
  const SearchRequest& contexts() const { return request_; }
  void SetWholeStreets(bool whole) { request_.whole_streets = whole; }
  bool whole_streets() const { return request_.whole_streets; }

  const std::vector<std::string>& filter_entries() const { return filter_entries_; }
  // -1 for no entry chosen.
  void ChooseFilter(int index);
  int filter_index() const { return filter_index_; }
  // The identifier the chosen entry ends with; 0 for none chosen or the first entry.
  std::int32_t MunicipalityFilter() const;

  // "Ricerca": nullopt when the search ran and filled the hits (none chosen); otherwise the message to
  // show with the stop icon, the hits left as they were.
  std::optional<std::string> Search();

  const std::vector<std::string>& hits() const { return hits_; }
  // -1 for no hit chosen.
  void ChooseHit(int index);
  int hit_index() const { return hit_index_; }

  // "Ok": nullopt when the chosen line names a hit, which accepted() then gives; otherwise the message to
  // show with the stop icon, and the dialog stays.
  std::optional<std::string> Accept();
  const SearchHit& accepted() const { return accepted_; }

 private:
  DbConnection& connection_;
  std::string fragment_;
  SearchRequest request_;
  std::vector<std::string> filter_entries_;
  int filter_index_ = 0;
  std::vector<std::string> hits_;
  int hit_index_ = -1;
  SearchHit accepted_;
};

}  // namespace viamappa
