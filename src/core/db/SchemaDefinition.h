// Definitions of tables, indexes and relations, as the data dictionary hands them to the engine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/FieldType.h"

namespace viamappa {

struct FieldDefinition {
  std::string name;
  FieldType type = FieldType::Text;
  int size = 0;              // characters, for text
  int ordinal_position = 0;  // column order; equal positions keep the order of appending
  bool required = false;
  bool allow_zero_length = true;
  std::string validation_rule;  // a condition in the query dialect, such as "> 0"; empty for none
  std::string validation_text;  // the description shown when the rule refuses a value
};

struct IndexDefinition {
  std::string name;
  std::vector<std::string> fields;  // members in order, all ascending
  bool primary = false;
  bool unique = false;
  bool ignore_nulls = false;
  bool clustered = false;
};

struct FieldPair {
  std::string primary_field;
  std::string foreign_field;
};

// A relation with referential integrity enforced and no cascading.
struct RelationDefinition {
  std::string name;
  std::string primary_table;
  std::string foreign_table;
  std::vector<FieldPair> fields;
};

inline constexpr std::size_t kMaxIndexFields = 10;

// True when the name can name a table, field, index or relation; otherwise false with the reason.
bool CheckObjectName(std::string_view name, std::string& error);

// A table being defined: its name and fields, before it is appended to a database.
class TableDefinition {
 public:
  explicit TableDefinition(std::string name) : name_(std::move(name)) {}

  // Adds a field; false with the engine's description when the field cannot belong to the table
  // (invalid or repeated name, a text size outside 1 to 255, a computed type).
  bool AppendField(FieldDefinition field, std::string& error);

  const std::string& name() const { return name_; }
  const std::vector<FieldDefinition>& fields() const { return fields_; }

 private:
  std::string name_;
  std::vector<FieldDefinition> fields_;
};

}  // namespace viamappa
