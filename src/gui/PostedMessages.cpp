#include "gui/PostedMessages.h"

#include <QTimer>
#include <string>

namespace viamappa {

void PostedMessages::ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption) {
  QTimer::singleShot(0, &context_, [this, text = std::string(text), icon, caption = std::string(caption)] {
    target().ShowMessage(text, icon, caption);
  });
}

}  // namespace viamappa
