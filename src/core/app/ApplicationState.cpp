#include "app/ApplicationState.h"

namespace viamappa {

std::string MainWindowTitle(bool connected) {
  std::string title = "Viamappa - \"Gestione Grafo Stradale\"";
  if (!connected) title += " Database non associato";
  return title;
}

}  // namespace viamappa
