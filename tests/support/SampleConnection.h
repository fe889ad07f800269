// A test fixture with the sample database open through the access layer and a scripted interface.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "db/DbConnection.h"
#include "support/SampleDatabase.h"
#include "support/TempDir.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa::testing {

class SampleConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("rete.mdb");
    std::string error;
    ASSERT_TRUE(CreateSampleDatabase(path_, error)) << error;
    connection_ = std::make_unique<DbConnection>(path_, ui_);
    ASSERT_TRUE(connection_->IsOpen());
  }

  // Runs statements straight on the engine, for setting up rows.
  void Exec(const std::string& sql) {
    std::string error;
    ASSERT_TRUE(connection_->engine()->Execute(sql, error)) << error;
  }

  // The text of the last message and clears the record of messages.
  std::string TakeMessage() {
    const std::string text = ui_.last_message().text;
    ui_.ClearMessages();
    return text;
  }

  TempDir dir_;
  std::string path_;
  ScriptedUserInterface ui_;
  std::unique_ptr<DbConnection> connection_;
};

}  // namespace viamappa::testing
