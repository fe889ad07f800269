#include "edit/StreetNameValidation.h"

#include <algorithm>

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

// Every branch of the check: each case types a name, answers the questions and the lists in turn, and
// sees the name accepted (as what) or refused, the messages in order (first line, with "?" for a
// question and "!" for a stop), and what the directory gained.
TEST_F(StreetNameValidationTest, EveryBranchOfTheCheck) {
  struct Case {
    const char* typed;
    std::vector<bool> answers;
    std::vector<SuggestionAnswer> choices;
    bool accepted;
    const char* stored;  // the text afterwards
    Texts messages;
    Texts lists;  // the prompt of each list shown
    Texts added;  // "tipo:" or "tipo:nome" rows gained
  };
  const char* kUnknownName = "? Suggerimento: è stata indicata la denominazione sconosciuta:";
  const char* kUnknownType = "? Suggerimento: è stata indicato un tipo strada sconosciuto:";
  const char* kNewType = "? Attenzione: è stata indicata la denominazione sconosciuta:";
  const char* kNewName = "? La denominazione:";
  const char* kIllegal = "! La denominazione proposta è illegale e non può essere accettata.";
  const char* kR1 = "! Attenzione: è stata indicata la denominazione sconosciuta:";
  const Case cases[] = {
      // An entry of the directory, as it is, and with an apostrophe.
      {"VIA GARIBALDI", {}, {}, true, "VIA GARIBALDI", {}, {}, {}},
      // One suggestion, taken or refused; refused, the pair is found in the directory, not added again.
      {"via garibaldi", {true}, {}, true, "VIA GARIBALDI", {kUnknownName}, {}, {}},
      {"via dell'oro", {false, true}, {}, true, "VIA DELL'ORO", {kUnknownName, kNewName}, {}, {}},
      {"via garibaldi",
       {false, false},
       {},
       false,
       "via garibaldi",
       {kUnknownName, kNewName, kIllegal},
       {},
       {}},
      // Several: one taken, or the list cancelled and the name added as typed (upper case).
      {"VIA MAZZINI",
       {},
       {{kChooseOk, 1}},
       true,
       "VIALE MAZZINI",
       {},
       {"Denominazione proposta: \"VIA MAZZINI\""},
       {}},
      {"via mazzini",
       {},
       {{kChooseOk, -1}},
       false,
       "via mazzini",
       {kNewName, kIllegal},
       {"Denominazione proposta: \"via mazzini\""},
       {}},
      // None: a known type, a new name.
      {"via nuova", {true}, {}, true, "VIA NUOVA", {kNewName}, {}, {"VIA:NUOVA"}},
      // An unknown type with no suggestion: added on Yes, and kept when the name is then refused.
      {"STRADA NUOVA",
       {true, true},
       {},
       true,
       "STRADA NUOVA",
       {kNewType, kNewName},
       {},
       {"STRADA:NUOVA", "tipo STRADA"}},
      {"STRADA NUOVA",
       {true, false},
       {},
       false,
       "STRADA NUOVA",
       {kNewType, kNewName, kIllegal},
       {},
       {"tipo STRADA"}},
      {"STRADA NUOVA", {false}, {}, false, "STRADA NUOVA", {kNewType, kIllegal}, {}, {}},
      // One suggested type, taken or refused.
      {"PIAZ NUOVA", {true, true}, {}, true, "PIAZZA NUOVA", {kUnknownType, kNewName}, {}, {"PIAZZA:NUOVA"}},
      {"PIAZ NUOVA", {false}, {}, false, "PIAZ NUOVA", {kUnknownType, kIllegal}, {}, {}},
      // Several suggested types: one chosen, the typed one inserted as new, or cancelled.
      {"VI NUOVA",
       {true},
       {{kChooseOk, 1}},
       true,
       "VIALE NUOVA",
       {kNewName},
       {"Tipo strada proposto: \"VI\""},
       {"VIALE:NUOVA"}},
      {"VI NUOVA",
       {true},
       {{kChooseNewType, -1}},
       true,
       "VI NUOVA",
       {kNewName},
       {"Tipo strada proposto: \"VI\""},
       {"VI:NUOVA", "tipo VI"}},
      {"VI NUOVA",
       {},
       {{kChooseCancel, -1}},
       false,
       "VI NUOVA",
       {kIllegal},
       {"Tipo strada proposto: \"VI\""},
       {}},
      // Wildcards and apostrophes in a type are plain characters.
      {"V? NUOVA", {false}, {}, false, "V? NUOVA", {kNewType, kIllegal}, {}, {}},
      {"L'ARGO NUOVO",
       {true, true},
       {},
       true,
       "L'ARGO NUOVO",
       {kNewType, kNewName},
       {},
       {"L'ARGO:NUOVO", "tipo L'ARGO"}},
      // Without a type: taken from the directory or refused, never added.
      {"garibaldi", {true}, {}, true, "VIA GARIBALDI", {kUnknownName}, {}, {}},
      {"garibaldi", {false}, {}, false, "garibaldi", {kUnknownName, kR1}, {}, {}},
      {"MAZZINI", {}, {{kChooseOk, 0}}, true, "VIA MAZZINI", {}, {"Denominazione proposta: \"MAZZINI\""}, {}},
      {"MAZZINI",
       {},
       {{kChooseCancel, -1}},
       false,
       "MAZZINI",
       {kR1},
       {"Denominazione proposta: \"MAZZINI\""},
       {}},
      {"STAZIONE", {}, {}, false, "STAZIONE", {kR1}, {}, {}},
      {" DUOMO", {}, {}, false, " DUOMO", {kR1}, {}, {}},
      {"*", {}, {}, false, "*", {kR1}, {}, {}},
  };
  const Texts directory = Directory();
  const Texts types = Types();
  for (const Case& c : cases) {
    Fill();
    ui_.ClearMessages();
    for (const bool yes : c.answers) ui_.QueueAnswer(yes);
    ScriptedEditDialogs dialogs;
    for (const SuggestionAnswer& choice : c.choices) dialogs.Queue(choice);
    StreetNameValidation validation(db(), dialogs);
    std::string text = c.typed;
    EXPECT_EQ(validation.Validate(text), c.accepted) << c.typed;
    EXPECT_EQ(text, c.stored) << c.typed;

    Texts messages;
    for (const RecordedMessage& m : ui_.messages())
      messages.push_back((m.icon == MessageIcon::Question ? "? "
                          : m.icon == MessageIcon::Stop   ? "! "
                                                          : "  ") +
                         m.text.substr(0, m.text.find('\n')));
    EXPECT_EQ(messages, c.messages) << c.typed;
    Texts lists;
    for (const testing::ShownSuggestions& list : dialogs.suggestions) lists.push_back(list.prompt);
    EXPECT_EQ(lists, c.lists) << c.typed;

    Texts added;
    for (const std::string& row : Directory())
      if (std::find(directory.begin(), directory.end(), row) == directory.end()) added.push_back(row);
    for (const std::string& type : Types())
      if (std::find(types.begin(), types.end(), type) == types.end()) added.push_back("tipo " + type);
    EXPECT_EQ(added, c.added) << c.typed;
  }
}

}  // namespace
}  // namespace viamappa
