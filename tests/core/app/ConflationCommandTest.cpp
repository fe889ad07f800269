#include "app/ConflationCommand.h"

#include <gtest/gtest.h>

#include "core/io/SecondaryGraphFiles.h"

namespace viamappa {
namespace {

using namespace viamappa::test;

class CountingShell : public WindowlessShell {
 public:
  void RebuildMap() override { ++rebuilds; }
  int rebuilds = 0;
};

class ConflationCommandTest : public ConflationTest {
 protected:
  CountingShell shell_;
  ConflationCommand command_{state_, ui_, shell_};
};

TEST_F(ConflationCommandTest, RefusesWithoutAPrimaryGraph) {
  EXPECT_FALSE(command_.ImportSecondaryGraph());
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
  EXPECT_TRUE(ui_.file_choices().empty());
  EXPECT_EQ(shell_.rebuilds, 0);
}

// The file, then the snap factor; the map is rebuilt whether the conflation ran or not, unless the
// file choice was cancelled.
TEST_F(ConflationCommandTest, AsksTheFileAndTheFactorAndRebuildsTheMap) {
  BuildPrimary({{0, 0, 0}, {1, 100, 0}}, {{{0, 0}, {100, 0}}});
  const std::string base = WriteSecondaryGraph(dir_.File("secondario"), {{{{0, 3}, {100, 3}}}});
  // The factor is typed only where the dialog shows.
  const struct {
    std::optional<std::string> file;
    std::optional<std::string> factor;
    bool stored;
    int rebuilds;
    std::string message;
  } cases[] = {
      {std::nullopt, "", false, 0, ""},
      {base + ".dbf", "", false, 1, ""},
      {base + ".SHP", std::nullopt, false, 1, ""},
      {base + ".shp", "2,5", true, 1, "Inseriti 1 Archi derivati da Archi Secondari"},
      {base + ".shp", "3,0", true, 1, "Inseriti 0 Archi derivati da Archi Secondari"},
  };
  for (const auto& c : cases) {
    ui_.ClearMessages();
    shell_.rebuilds = 0;
    ui_.QueueFile(c.file);
    if (c.factor != "") ui_.QueueSnapFactor(c.factor);
    EXPECT_EQ(command_.ImportSecondaryGraph(), c.stored);
    EXPECT_EQ(shell_.rebuilds, c.rebuilds);
    if (c.message.empty()) {
      EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
    } else {
      EXPECT_NE(ui_.last_message().text.find(c.message), std::string::npos) << ui_.last_message().text;
    }
  }
  EXPECT_TRUE(ui_.file_choices().back().must_exist);
  EXPECT_EQ(ui_.snap_factor_dialogs().back(), "10,00") << "each run opens with the default";
}

}  // namespace
}  // namespace viamappa
