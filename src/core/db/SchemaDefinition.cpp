#include "db/SchemaDefinition.h"

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "base/Utf8.h"

namespace viamappa {

bool CheckObjectName(std::string_view name, std::string& error) {
  if (name.empty() || name.front() == ' ' || utf8::Length(name) > 64 || !utf8::IsValid(name)) {
    error = "Nome non valido: \"" + std::string(name) + "\" (da 1 a 64 caratteri, senza spazi iniziali).";
    return false;
  }
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '.' || c == '!' || c == '`' || c == '[' || c == ']' ||
        c == '"') {
      error = "Nome non valido: \"" + std::string(name) + "\" contiene caratteri non ammessi (. ! ` [ ] \").";
      return false;
    }
  }
  const std::string lower = AsciiLower(name);
  if (lower.starts_with("sqlite_") || lower.starts_with("vm_")) {
    error = "Nome riservato al motore del database: \"" + std::string(name) + "\".";
    return false;
  }
  return true;
}

bool TableDefinition::AppendField(FieldDefinition field, std::string& error) {
  if (!CheckObjectName(field.name, error)) return false;
  for (const FieldDefinition& existing : fields_) {
    if (EqualsIgnoringCase(existing.name, field.name)) {
      error = "Il campo \"" + field.name + "\" è già presente nella tavola \"" + name_ + "\".";
      return false;
    }
  }
  if (field.type == FieldType::Expression) {
    error = "Tipo di dati non valido per il campo \"" + field.name + "\".";
    return false;
  }
  if (field.type == FieldType::Text && (field.size < 1 || field.size > 255)) {
    error = "Dimensione non valida per il campo di testo \"" + field.name +
            "\": " + FormatInteger(field.size) + " (da 1 a 255 caratteri).";
    return false;
  }
  if (field.type != FieldType::Text) field.size = 0;
  fields_.push_back(std::move(field));
  return true;
}

}  // namespace viamappa
