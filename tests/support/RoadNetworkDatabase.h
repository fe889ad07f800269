// A new, empty road-network database kept as the program keeps it, and its rows read back as text.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/ApplicationState.h"
#include "app/DatabaseCreation.h"
#include "base/NumberText.h"
#include "db/DbQuery.h"
#include "support/TempDir.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa::testing {

// A complete, empty road-network database at path; false when it could not be made.
inline bool MakeRoadNetworkDatabase(const std::string& path) {
  ScriptedUserInterface quiet;
  return CreateDatabaseFile(path, quiet) == CreationResult::Created;
}

// The rows of a query, their columns joined by "|": texts as stored, dates as dd/mm/yyyy, numbers in
// their shortest form, NULL as nothing.
inline std::vector<std::string> Rows(DbConnection& connection, const std::string& select,
                                     const std::string& from, const std::string& where = {},
                                     const std::string& order = {}) {
  DbQuery query(connection);
  query.SetSelect(select);
  query.SetFrom(from);
  query.SetWhere(where);
  query.SetOrderBy(order);
  std::vector<std::string> rows;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    std::string line;
    for (int i = 0; i < query.FieldCount(); ++i) {
      std::string value;
      std::int32_t number = 0;
      double real = 0;
      if (query.GetText(i, value)) {
      } else if (query.GetLong(i, number) || query.GetShort(i, number)) {
        value = std::to_string(number);
      } else if (query.GetDouble(i, real)) {
        value = FormatShortest(real);
      }
      line += (i ? "|" : "") + value;
    }
    rows.push_back(line);
  }
  return rows;
}

// The rows of a table as a connection of its own sees them; -1 when it cannot be read.
inline int CountRows(const std::string& path, const std::string& table) {
  ScriptedUserInterface quiet;
  DbConnection connection(path, quiet);
  const std::vector<std::string> rows = Rows(connection, "count(*)", table);
  return rows.size() == 1 ? std::stoi(rows[0]) : -1;
}

// The texts of the messages shown so far.
inline std::vector<std::string> Texts(const ScriptedUserInterface& ui) {
  std::vector<std::string> texts;
  for (const RecordedMessage& message : ui.messages()) texts.push_back(message.text);
  return texts;
}

class RoadNetworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("rete.mdb");
    ASSERT_TRUE(MakeRoadNetworkDatabase(path_));
    state_.database_path = path_;
    state_.connection = std::make_unique<DbConnection>(path_, ui_);
  }

  DbConnection& db() { return *state_.connection; }
  std::vector<std::string> Rows(const std::string& select, const std::string& from,
                                const std::string& where = {}, const std::string& order = {}) {
    return testing::Rows(db(), select, from, where, order);
  }

  TempDir dir_;
  std::string path_;
  ScriptedUserInterface ui_;
  ApplicationState state_;
};

}  // namespace viamappa::testing
