// The texts of the main window: the information box, the exit question, the start-up failure and
// the notice of commands that the program does not offer yet.
#pragma once

#include <string>

namespace viamappa {

// The operating-system line of the information box: the system's name and release as uname reports
// them, such as "Linux 6.1.0-18-amd64".
std::string OperatingSystemLine();

// The text of the information box. engine_version is shown after the database path only when a
// database is open (database_open); empty paths read "Nessuno".
std::string InformationText(const std::string& operating_system, const std::string& database_path,
                            bool database_open, const std::string& engine_version,
                            const std::string& background_path);

// The question asked before the program ends.
std::string ExitQuestion();

// Shown with the stop icon when start-up cannot associate a database and the program ends.
std::string NoDatabaseAtStartupMessage();

// Shown for a command whose function the program does not offer yet.
std::string NotAvailableMessage();

}  // namespace viamappa
