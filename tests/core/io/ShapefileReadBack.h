// A written shapefile set read back whole by the program's reader.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/Windows1252.h"
#include "io/ShapefileReader.h"

namespace viamappa::test {

struct ReadBackRecord {
  ShapeRecord shape;
  std::vector<std::string> row;               // the values in field order, in UTF-8, trailing blanks cut
  std::map<std::string, std::string> values;  // the same by field name
};

struct ReadBackSet {
  std::vector<std::string> layout;  // each field as "NAME Tlength"
  std::vector<ReadBackRecord> records;
};

// base is the set's path without its extension; a set of Windows-1252 text.
inline ReadBackSet ReadBack(const std::string& base) {
  ReadBackSet set;
  ShapefileReader reader;
  if (!reader.Open(base) || !reader.ReadHeaders()) {
    ADD_FAILURE() << "cannot read " << base << ": " << reader.error();
    return set;
  }
  for (const DbfField& field : reader.fields())
    set.layout.push_back(field.name + " " + field.type + std::to_string(field.length));
  set.records.resize(static_cast<std::size_t>(reader.record_count()));
  EXPECT_TRUE(reader.RewindShapes() && reader.RewindAttributes());
  std::string record;
  for (ReadBackRecord& r : set.records) {
    EXPECT_TRUE(reader.NextShape(r.shape) && reader.NextAttributes(record));
    for (const DbfField& field : reader.fields()) {
      std::string value = Windows1252ToUtf8(ShapefileReader::FieldValue(record, field));
      value.erase(value.find_last_not_of(' ') + 1);
      r.values[field.name] = r.row.emplace_back(std::move(value));
    }
  }
  return set;
}

}  // namespace viamappa::test
