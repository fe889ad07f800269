#include "app/ShellModel.h"

#include "map/CommandIds.h"

namespace viamappa {

namespace {

MenuItem Command(int id, bool with_image = false) {
  return MenuItem{MenuItem::Kind::Command, std::string(CommandLabel(id)), id, with_image, {}};
}

MenuItem Separator() {
  return MenuItem{MenuItem::Kind::Separator, {}, 0, false, {}};
}

MenuItem Popup(std::string text, std::vector<MenuItem> items) {
  return MenuItem{MenuItem::Kind::Popup, std::move(text), 0, false, std::move(items)};
}

std::vector<MenuItem> BuildMenuBar() {
  std::vector<MenuItem> operations;
  for (const int id : {cmd::kThematicStyling, 0, cmd::kPan, cmd::kZoom, cmd::kAreaSelection, cmd::kHomeView,
                       0, cmd::kToponymSearch, cmd::kHighlightRoads, 0, cmd::kDrawArcMode, cmd::kDragMode,
                       cmd::kAdjustSegmentMode, cmd::kDeleteVertexMode, 0, cmd::kPathStart, cmd::kPathEnd}) {
    operations.push_back(id == 0 ? Separator() : Command(id, true));
  }
  return {
      Popup("&Database",
            {Command(cmd::kCreateDatabase), Command(cmd::kConnectDatabase), Command(cmd::kDisconnectDatabase),
             Separator(), Command(cmd::kRepairDatabase), Command(cmd::kDuplicateDatabase)}),
      Popup("&Import/Export",
            {Popup("&Import", {Command(cmd::kImportMunicipalities), Command(cmd::kImportLocalities),
                               Command(cmd::kImportToponyms), Command(cmd::kImportRoadGraph), Separator(),
                               Command(cmd::kImportSecondaryGraph)}),
             Popup("&Export", {Command(cmd::kExportRoadGraph), Command(cmd::kExportChanges), Separator(),
                               Command(cmd::kExportTramex)})}),
      Popup("&Operazioni", std::move(operations)),
      Popup("&Utilità",
            {Command(cmd::kLocalizeRoadGraph), Command(cmd::kLocalizeToponyms), Separator(),
             Command(cmd::kRenameArcs), Command(cmd::kExportStreetList), Separator(),
             Command(cmd::kRegenerateNodes), Command(cmd::kMergeBrokenArcs), Command(cmd::kValidateGraph)}),
      Popup("&Configurazione", {Command(cmd::kChooseBackground)}),
      Command(cmd::kExit),
      Command(cmd::kAbout),
  };
}

}  // namespace

const std::vector<MenuItem>& MenuBarModel() {
  static const std::vector<MenuItem> menu_bar = BuildMenuBar();
  return menu_bar;
}

const std::vector<int>& ToolBarLayout() {
  static const std::vector<int> layout = {cmd::kThematicStyling,
                                          0,
                                          cmd::kPan,
                                          cmd::kZoom,
                                          cmd::kAreaSelection,
                                          cmd::kHomeView,
                                          0,
                                          cmd::kDrawArcMode,
                                          cmd::kDragMode,
                                          cmd::kAdjustSegmentMode,
                                          cmd::kDeleteVertexMode,
                                          0,
                                          cmd::kToponymSearch,
                                          cmd::kHighlightRoads,
                                          0,
                                          cmd::kPathStart,
                                          cmd::kPathEnd};
  return layout;
}

std::vector<ToolBarGroup> ToolBarGroups() {
  constexpr int kButtonWidth = 23;
  constexpr int kSeparatorWidth = 7;
  std::vector<ToolBarGroup> groups;
  const std::vector<int>& layout = ToolBarLayout();
  int buttons = 0;
  for (int index = 0; index < static_cast<int>(layout.size()); ++index) {
    if (layout[index] != 0) {
      ++buttons;
      continue;
    }
    groups.push_back({index, buttons * kButtonWidth + kSeparatorWidth});
    buttons = 0;
  }
  if (buttons > 0) groups.push_back({-1, buttons * kButtonWidth});
  return groups;
}

const std::vector<KeyBinding>& MainWindowKeys() {
  static const std::vector<KeyBinding> keys = {{"Ctrl+V", cmd::kThematicStyling}};
  return keys;
}

const std::vector<KeyBinding>& MapWindowKeys() {
  static const std::vector<KeyBinding> keys = {
      {"Ctrl+S", cmd::kPan},
      {"Ctrl+Z", cmd::kZoom},
      {"Ctrl+A", cmd::kAreaSelection},
      {"Home", cmd::kHomeView},
      {"Ctrl+T", cmd::kToponymSearch},
      {"Ctrl+E", cmd::kHighlightRoads},
      {"Shift+D", cmd::kDrawArcMode},
      {"Shift+S", cmd::kDragMode},
      {"Shift+M", cmd::kAdjustSegmentMode},
      {"Shift+K", cmd::kDeleteVertexMode},
      {"Shift+P", cmd::kPathStart},
      {"Shift+A", cmd::kPathEnd},
      {"F9", cmd::kPreviousView},
      {"PgUp", 5501},
      {"Shift+PgUp", 5502},
      {"PgDown", 5503},
      {"Shift+PgDown", 5504},
      {"Left", 5505},
      {"Shift+Left", 5506},
      {"Num+4", 5505},
      {"Num+Left", 5505},
      {"Right", 5507},
      {"Shift+Right", 5508},
      {"Num+6", 5507},
      {"Num+Right", 5507},
      {"Up", 5509},
      {"Shift+Up", 5510},
      {"Num+8", 5509},
      {"Num+Up", 5509},
      {"Down", 5511},
      {"Shift+Down", 5512},
      {"Num+2", 5511},
      {"Num+Down", 5511},
      {"Num+7", 5513},
      {"Num+Home", 5513},
      {"Num+9", 5514},
      {"Num+PgUp", 5514},
      {"Num+1", 5515},
      {"Num+End", 5515},
      {"Num+3", 5516},
      {"Num+PgDown", 5516},
      {"Return", 5517},
      {"Num+Enter", 5517},
      {"Ins", 5518},
      {"End", 5519},
      {"Esc", 5520},
      {"Ctrl+U", 5521},
      {"Ctrl+Up", 5522},
      {"Ctrl+Down", 5523},
      // Ctrl+Z is the zoom tool's: undo takes Alt+Backspace.
      {"Alt+Backspace", cmd::kUndoEdit},
      {"Ctrl+Y", cmd::kRedoEdit},
  };
  return keys;
}

}  // namespace viamappa
