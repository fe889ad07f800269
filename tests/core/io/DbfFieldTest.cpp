#include "io/DbfField.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/io/ShapefileTestBytes.h"
#include "io/ShapefileReader.h"

namespace viamappa {
namespace {

using namespace test;

TEST(DbfFieldTest, NamesAreUpperCasedAndNumbersCountTheirIntegerDigits) {
  MemorySet set(ShpFile(3, {}), ShxFile(0),
                DbfFile({{"denom", 'C', 40},
                         {"prezzo", 'N', 8, 2},
                         {"NUM", 'N', 9},
                         {"Giorno", 'D', 8},
                         {"ok", 'L', 1},
                         {"memo", 'M', 10},
                         {std::string("ab\0cd", 5), 'C', 3},
                         {"ELEVENCHARS", 'C', 2}},
                        {}));
  ASSERT_TRUE(set.reader.ReadHeaders());
  EXPECT_EQ(set.reader.FindField("DENOM"), &set.reader.fields()[0]);
  EXPECT_EQ(set.reader.FindField("denom"), nullptr) << "the look-up is exact";
  // Name, offset, width, decimals: the field after a decimal number lies after all of its 8 bytes;
  // a name ends at its first zero byte.
  std::vector<std::string> fields;
  for (const DbfField& f : set.reader.fields())
    fields.push_back(f.name + " " + std::to_string(f.offset) + " " + std::to_string(f.width) + " " +
                     std::to_string(f.decimals));
  EXPECT_EQ(fields,
            (std::vector<std::string>{"DENOM 0 40 0", "PREZZO 40 5 2", "NUM 48 9 0", "GIORNO 57 8 0",
                                      "OK 65 1 0", "MEMO 66 0 0", "AB 76 3 0", "ELEVENCHARS 79 2 0"}));
}

}  // namespace
}  // namespace viamappa
