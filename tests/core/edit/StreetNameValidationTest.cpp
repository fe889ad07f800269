#include "edit/StreetNameValidation.h"

#include <algorithm>
#include <map>

#include "db/DbBatch.h"
#include "db/Engine.h"

#include "io/StreetDirectory.h"
#include "support/RoadNetworkDatabase.h"
#include "support/ScriptedEditDialogs.h"

namespace viamappa {
namespace {

using testing::ScriptedEditDialogs;
using testing::SuggestionAnswer;
using Texts = std::vector<std::string>;

constexpr SuggestionClose kChooseOk = SuggestionClose::Ok;
constexpr SuggestionClose kChooseCancel = SuggestionClose::Cancel;
constexpr SuggestionClose kChooseNewType = SuggestionClose::NewType;

// A directory with the types VIA, VIALE, PIAZZA and names chosen so that a typed name finds none, one or
// several of them.
class StreetNameValidationTest : public testing::RoadNetworkTest {
 protected:
  void SetUp() override {
    RoadNetworkTest::SetUp();
    Fill();
  }

  // The directory as it was first, whatever was added since.
  void Fill() {
    DbBatch batch(db());
    std::string error;
    for (const std::string_view table : {kStreetNameTable, kStreetTypeTable})
      ASSERT_TRUE(db().engine()->Execute("DELETE FROM " + std::string(table), error)) << error;
    DbTable tipi(db(), kStreetTypeTable);
    for (const char* type : {"VIA", "VIALE", "PIAZZA"})
      ASSERT_TRUE(tipi.AddNew() && tipi.SetField("tipo", type) && tipi.Update());
    DbTable nomi(db(), kStreetNameTable);
    for (const auto& [type, name] : std::vector<std::pair<const char*, const char*>>{{"VIA", "GARIBALDI"},
                                                                                     {"VIA", "DELL'ORO"},
                                                                                     {"VIA", "MAZZINI"},
                                                                                     {"VIALE", "MAZZINI"},
                                                                                     {"PIAZZA", "DUOMO"}})
      ASSERT_TRUE(nomi.AddNew() && nomi.SetField("tipo", type) && nomi.SetField("nome", name) &&
                  nomi.Update());
  }

  Texts Directory() { return Rows("tipo || ':' || nome", "nomi", "", "tipo, nome"); }
  Texts Types() { return Rows("tipo", "tipi", "", "tipo"); }
};

// Every branch of the check: each case types a name, answers the questions (Y or N) and the lists in
// turn, and sees the name accepted (as what) or refused, the messages in order (by their first line,
// coded below), the list shown (D for names, T for types, each with the typed text) and what the
// directory gained.
TEST_F(StreetNameValidationTest, EveryBranchOfTheCheck) {
  const std::map<char, std::string> first_lines = {
      {'U', "? Suggerimento: è stata indicata la denominazione sconosciuta:"},
      {'T', "? Suggerimento: è stata indicato un tipo strada sconosciuto:"},
      {'W', "? Attenzione: è stata indicata la denominazione sconosciuta:"},
      {'N', "? La denominazione:"},
      {'I', "! La denominazione proposta è illegale e non può essere accettata."},
      {'R', "! Attenzione: è stata indicata la denominazione sconosciuta:"}};
  struct Case {
    const char* typed;
    const char* answers;
    std::vector<SuggestionAnswer> choices;
    bool accepted;
    const char* stored;  // the text afterwards
    const char* messages;
    char list;
    Texts added;  // "tipo:" or "tipo:nome" rows gained
  };
  const Case cases[] = {
      // An entry of the directory, as it is.
      {"VIA GARIBALDI", "", {}, true, "VIA GARIBALDI", "", 0, {}},
      // One suggestion, taken or refused; refused, the pair is found in the directory, not added again.
      {"via garibaldi", "Y", {}, true, "VIA GARIBALDI", "U", 0, {}},
      {"via dell'oro", "NY", {}, true, "VIA DELL'ORO", "UN", 0, {}},
      {"via garibaldi", "NN", {}, false, "via garibaldi", "UNI", 0, {}},
      // Several: one taken, or none and the name refused.
      {"VIA MAZZINI", "", {{kChooseOk, 1}}, true, "VIALE MAZZINI", "", 'D', {}},
      {"via mazzini", "", {{kChooseOk, -1}}, false, "via mazzini", "NI", 'D', {}},
      // None: a known type, a new name.
      {"via nuova", "Y", {}, true, "VIA NUOVA", "N", 0, {"VIA:NUOVA"}},
      // An unknown type with no suggestion: added on Yes, and kept when the name is then refused.
      {"STRADA NUOVA", "YY", {}, true, "STRADA NUOVA", "WN", 0, {"STRADA:NUOVA", "tipo STRADA"}},
      {"STRADA NUOVA", "YN", {}, false, "STRADA NUOVA", "WNI", 0, {"tipo STRADA"}},
      {"STRADA NUOVA", "N", {}, false, "STRADA NUOVA", "WI", 0, {}},
      // One suggested type, taken or refused.
      {"PIAZ NUOVA", "YY", {}, true, "PIAZZA NUOVA", "TN", 0, {"PIAZZA:NUOVA"}},
      {"PIAZ NUOVA", "N", {}, false, "PIAZ NUOVA", "TI", 0, {}},
      // Several suggested types: one chosen, the typed one inserted as new, or cancelled.
      {"VI NUOVA", "Y", {{kChooseOk, 1}}, true, "VIALE NUOVA", "N", 'T', {"VIALE:NUOVA"}},
      {"VI NUOVA", "Y", {{kChooseNewType, -1}}, true, "VI NUOVA", "N", 'T', {"VI:NUOVA", "tipo VI"}},
      {"VI NUOVA", "", {{kChooseCancel, -1}}, false, "VI NUOVA", "I", 'T', {}},
      // Wildcards and apostrophes in a type are plain characters.
      {"V? NUOVA", "N", {}, false, "V? NUOVA", "WI", 0, {}},
      {"L'ARGO NUOVO", "YY", {}, true, "L'ARGO NUOVO", "WN", 0, {"L'ARGO:NUOVO", "tipo L'ARGO"}},
      // Without a type: taken from the directory or refused, never added.
      {"garibaldi", "Y", {}, true, "VIA GARIBALDI", "U", 0, {}},
      {"garibaldi", "N", {}, false, "garibaldi", "UR", 0, {}},
      {"MAZZINI", "", {{kChooseOk, 0}}, true, "VIA MAZZINI", "", 'D', {}},
      {"MAZZINI", "", {{kChooseCancel, -1}}, false, "MAZZINI", "R", 'D', {}},
      {"STAZIONE", "", {}, false, "STAZIONE", "R", 0, {}},
      {" DUOMO", "", {}, false, " DUOMO", "R", 0, {}},
      {"*", "", {}, false, "*", "R", 0, {}},
  };
  const Texts directory = Directory();
  const Texts types = Types();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Fill();
    ui_.ClearMessages();
    for (const char* a = c.answers; *a; ++a) ui_.QueueAnswer(*a == 'Y');
    ScriptedEditDialogs dialogs;
    for (const SuggestionAnswer& choice : c.choices) dialogs.Queue(choice);
    StreetNameValidation validation(db(), dialogs);
    std::string text = c.typed;
    EXPECT_EQ(validation.Validate(text), c.accepted);
    EXPECT_EQ(text, c.stored);

    Texts messages, expected;
    for (const RecordedMessage& m : ui_.messages())
      messages.push_back((m.icon == MessageIcon::Question ? "? "
                          : m.icon == MessageIcon::Stop   ? "! "
                                                          : "  ") +
                         m.text.substr(0, m.text.find('\n')));
    for (const char* m = c.messages; *m; ++m) expected.push_back(first_lines.at(*m));
    EXPECT_EQ(messages, expected);
    Texts lists, list;
    for (const testing::ShownSuggestions& shown : dialogs.suggestions) lists.push_back(shown.prompt);
    const std::string typed = c.typed;
    if (c.list == 'D') list.push_back("Denominazione proposta: \"" + typed + "\"");
    if (c.list == 'T') list.push_back("Tipo strada proposto: \"" + typed.substr(0, typed.find(' ')) + "\"");
    EXPECT_EQ(lists, list);

    Texts added;
    for (const std::string& row : Directory())
      if (std::find(directory.begin(), directory.end(), row) == directory.end()) added.push_back(row);
    for (const std::string& type : Types())
      if (std::find(types.begin(), types.end(), type) == types.end()) added.push_back("tipo " + type);
    EXPECT_EQ(added, c.added);
  }
}

}  // namespace
}  // namespace viamappa
