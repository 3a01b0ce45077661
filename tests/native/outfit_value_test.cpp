// Reading and writing the numbers of the outfit files.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "outfits/outfit_value.h"

namespace {

struct ValueCase {
  std::string text;
  int32_t expected;
};

class OutfitValueTable : public ::testing::TestWithParam<ValueCase> {};

TEST_P(OutfitValueTable, ReadsAsDecimalOrZero) {
  EXPECT_EQ(ParseOutfitValue(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Decimal, OutfitValueTable,
                         ::testing::Values(ValueCase{"0", 0}, ValueCase{"7", 7}, ValueCase{"007", 7},
                                           ValueCase{"-1", -1}, ValueCase{"+12", 12}, ValueCase{" \t\v\f\r\n 3", 3},
                                           ValueCase{"12abc", 12}, ValueCase{"5 ", 5},
                                           ValueCase{"2147483647", 2147483647}, ValueCase{"-2147483648", INT32_MIN},
                                           ValueCase{"0000000000000000000042", 42}, ValueCase{"0x10", 0}));

// Not a decimal integer, or outside 32 bits: reads like a missing key.
INSTANTIATE_TEST_SUITE_P(Rejected, OutfitValueTable,
                         ::testing::Values(ValueCase{"", 0}, ValueCase{"abc", 0}, ValueCase{"-", 0}, ValueCase{"+", 0},
                                           ValueCase{"- 5", 0}, ValueCase{"--5", 0},
                                           ValueCase{"\xA0"
                                                     "5",
                                                     0},
                                           ValueCase{"2147483648", 0}, ValueCase{"-2147483649", 0},
                                           ValueCase{"4294967295", 0}, ValueCase{"99999999999999999999999999", 0}));

TEST(OutfitValueFormat, PlainDecimalForms) {
  EXPECT_EQ(FormatUnsignedValue(0), "0");
  EXPECT_EQ(FormatUnsignedValue(4294967295u), "4294967295");
  EXPECT_EQ(FormatSignedValue(-1), "-1");
  EXPECT_EQ(FormatSignedValue(INT32_MIN), "-2147483648");
  EXPECT_EQ(FormatSignedValue(2147483647), "2147483647");
}

TEST(OutfitValueFormat, SignedFormsReadBack) {
  for (int32_t value : {INT32_MIN, -100, -1, 0, 1, 99, INT32_MAX}) {
    EXPECT_EQ(ParseOutfitValue(FormatSignedValue(value)), value);
  }
  // Unsigned forms read back while they fit 31 bits.
  EXPECT_EQ(ParseOutfitValue(FormatUnsignedValue(2147483647u)), 2147483647);
}

}  // namespace
