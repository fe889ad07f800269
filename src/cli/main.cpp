// viamappa-cli: the batch commands of the road-graph editor, without a window.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "db/Engine.h"

namespace {

constexpr const char* kUsage =
    "Uso: viamappa-cli COMANDO [ARGOMENTI]\n"
    "\n"
    "Viamappa - \"Gestione Grafo Stradale\": comandi senza finestra.\n"
    "\n"
    "Comandi:\n"
    "  --help, help       mostra questo aiuto\n"
    "  --version          mostra la versione del programma e del motore del database\n"
    "\n"
    "I messaggi e l'avanzamento sono scritti sullo standard error; i risultati sullo standard output.\n"
    "Lo stato di uscita è 0 quando il comando è riuscito, diverso da 0 altrimenti.\n";

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc > 1 ? argv[1] : "";
  if (command.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "--version") {
    std::printf("viamappa-cli 1.0.0 (%s)\n", viamappa::EngineVersion().c_str());
    return 0;
  }
  std::fprintf(stderr, "viamappa-cli: comando sconosciuto: %s\n\n%s", argv[1], kUsage);
  return 2;
}
