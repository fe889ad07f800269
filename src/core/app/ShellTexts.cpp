#include "app/ShellTexts.h"

#include <sys/utsname.h>

namespace viamappa {

std::string OperatingSystemLine() {
  utsname names{};
  if (uname(&names) != 0) return "sconosciuto";
  return std::string(names.sysname) + " " + names.release;
}

std::string InformationText(const std::string& operating_system, const std::string& database_path,
                            bool database_open, const std::string& engine_version,
                            const std::string& background_path) {
  std::string text = "INFORMAZIONI SUL PROGRAMMA\n\n";
  text += "Viamappa - \"Gestione Grafo Stradale\"\n";
  text += "Sistema operativo " + operating_system;
  text += "\n\nDatabase: " + (database_path.empty() ? std::string("Nessuno") : database_path);
  if (database_open) text += " (" + engine_version + ")";
  text += "\n\nSfondo cartografico: " + (background_path.empty() ? std::string("Nessuno") : background_path);
  return text;
}

std::string ExitQuestion() {
  return "E' stata richiesta l'uscita da Viamappa.\n\nIntendi veramente uscire dal programma ?";
}

std::string NoDatabaseAtStartupMessage() {
  return "Non è stato possibile associare un database valido.\n\nNon è pertanto possibile procedere oltre "
         "!!!\n\n";
}

std::string NotAvailableMessage() {
  return "Funzione non ancora disponibile.\n\nQuesta funzione sarà offerta da una prossima versione del "
         "programma.";
}

}  // namespace viamappa
