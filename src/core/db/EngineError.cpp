#include "db/EngineError.h"

#include <string_view>

namespace viamappa {

namespace {

std::string AfterPrefix(std::string_view message, std::string_view prefix) {
  if (message.starts_with(prefix)) message.remove_prefix(prefix.size());
  return std::string(message);
}

}  // namespace

std::string DescribeEngineError(sqlite3* db, int rc) {
  const int extended = db ? sqlite3_extended_errcode(db) : rc;
  const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  switch (extended) {
    case SQLITE_CONSTRAINT_NOTNULL:
      return "Il campo " + AfterPrefix(message, "NOT NULL constraint failed: ") +
             " non può contenere un valore Null: è un campo obbligatorio.";
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
      return "Le modifiche non sono state registrate perché creerebbero valori duplicati in un indice "
             "univoco (" +
             AfterPrefix(message, "UNIQUE constraint failed: ") + ").";
    case SQLITE_CONSTRAINT_CHECK:
      // Every check of our tables is named with its own description.
      return AfterPrefix(message, "CHECK constraint failed: ");
    case SQLITE_CONSTRAINT_TRIGGER:
      // Relations raise their own description.
      return message;
    default:
      break;
  }
  switch (extended & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "Il database è bloccato da un'altra operazione o da un altro programma (" + message + ").";
    case SQLITE_READONLY:
      return "Il database è di sola lettura (" + message + ").";
    case SQLITE_FULL:
      return "Spazio su disco esaurito (" + message + ").";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return "Il file del database è danneggiato o non è un database (" + message + ").";
    case SQLITE_CANTOPEN:
      return "Impossibile aprire il file del database (" + message + ").";
    case SQLITE_IOERR:
      return "Errore di lettura o scrittura del file del database (" + message + ").";
    case SQLITE_NOMEM:
      return "Memoria insufficiente.";
    default:
      break;
  }
  return message;
}

}  // namespace viamappa
