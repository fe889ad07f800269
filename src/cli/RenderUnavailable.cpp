// render without Qt Gui: this build has no drawing surface for pictures.
#include <cstdio>

#include "cli/CliCommands.h"

namespace viamappa::cli {

int Render(const std::vector<std::string>&, const Options&) {
  std::fprintf(stderr, "ERRORE: questa versione di viamappa-cli non disegna immagini (manca Qt)\n");
  return 1;
}

}  // namespace viamappa::cli
