// A user interface in front of another whose messages wait for the event loop: a message that arises
// while the map is being painted (a damaged background tile) is shown after the paint, not inside it,
// where a modal box would paint the window again from within its own painting.
#pragma once

#include <QObject>

#include "ui/ForwardingInterface.h"

namespace viamappa {

class PostedMessages : public ForwardingInterface {
 public:
  explicit PostedMessages(UserInterface& target) : ForwardingInterface(target) {}

  // Messages still waiting when this goes are dropped.
  void ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption = {}) override;

 private:
  QObject context_;  // the posted messages go with it
};

}  // namespace viamappa
