#include "app/LocalizationCommands.h"

#include "io/Localization.h"
#include "ui/RepeatedMessageFilter.h"

namespace viamappa {

bool LocalizationCommands::LocalizeRoadGraph() {
  if (!state_.connected()) return false;
  RepeatedMessageFilter filter(ui_);
  InterfaceScope scope(*state_.connection, filter);
  return viamappa::LocalizeRoadGraph(*state_.connection, filter);
}

bool LocalizationCommands::LocalizeToponyms() {
  if (!state_.connected()) return false;
  RepeatedMessageFilter filter(ui_);
  InterfaceScope scope(*state_.connection, filter);
  return viamappa::LocalizeToponyms(*state_.connection, filter);
}

}  // namespace viamappa
