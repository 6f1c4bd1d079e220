// The number syntax of the transpose and status-byte arguments, and the
// decimal text of numbers.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "console.h"
#include "driver.h"

struct SignedCase {
  const char *text;
  int32_t value;
};

TEST(Numbers, Transpose) {
  const SignedCase cases[] = {
      {"0", 0},           {"12", 12},          {"-3", -3},
      {"+7", 7},          {"00012", 12},       {"-0", 0},
      {"  \t 5", 5},      {"\t-5", -5},        {"$10", 16},
      {"x1f", 31},        {"X1F", 31},         {"0x10", 16},
      {"0X10", 16},       {"-$10", -16},       {"+0x10", 16},
      {"%101", 5},        {"-%11", -3},        {"&17", 15},
      {"$0010", 16},      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},              {"$FFFFFFFF", -1},
      {"-$FFFFFFFF", 1},  {"-0x80000000", INT32_MIN},
      {"$80000000", INT32_MIN},                {"65535", 65535},
      {"%11111111111111111111111111111111", -1},
      {"&37777777777", -1},
      // Invalid text, and values outside the range, give 0.
      {"", 0},            {"   ", 0},          {"5 ", 0},
      {"12abc", 0},       {"abc", 0},          {"+", 0},
      {"-", 0},           {"$", 0},            {"0x", 0},
      {"&8", 0},          {"%102", 0},         {"1.5", 0},
      {"- 5", 0},         {"+-5", 0},          {"0$10", 0},
      {"00x10", 0},       {"\n5", 0},          {"2147483648", 0},
      {"2147483649", 0},  {"-2147483649", 0},  {"$100000000", 0},
      {"-$100000001", 0}, {"99999999999999999999999999", 0},
      {"$G", 0},          {"1e3", 0},
  };
  for (const SignedCase &c : cases)
    EXPECT_EQ(VALSIGNED(c.text), c.value) << "text '" << c.text << "'";
}

struct UnsignedCase {
  const char *text;
  uint32_t value;
};

TEST(Numbers, StatusByte) {
  const UnsignedCase cases[] = {
      {"144", 144},         {"+145", 145},      {"$90", 144},
      {"0x90", 144},        {"x90", 144},       {"%10010000", 144},
      {"&220", 144},        {" 400", 400},      {"00144", 144},
      {"4294967295", 4294967295u},              {"$FFFFFFFF", 4294967295u},
      {"-1", 0},            {"-0", 0},          {"-$90", 0},
      {"abc", 0},           {"4294967296", 0},  {"4294967297", 0},
      {"$100000001", 0},    {"144 ", 0},        {"", 0},
  };
  for (const UnsignedCase &c : cases)
    EXPECT_EQ(VALUNSIGNED(c.text), c.value) << "text '" << c.text << "'";
}

TEST(Numbers, DecimalText) {
  const struct {
    int32_t value;
    std::string text;
  } cases[] = {
      {0, "0"},         {7, "7"},         {10, "10"},         {99, "99"},
      {100, "100"},     {999, "999"},     {1000, "1000"},     {4095, "4095"},
      {9999, "9999"},   {10000, "10000"}, {60001, "60001"},   {65535, "65535"},
      {1000000, "1000000"},               {-1, "-1"},         {-3, "-3"},
      {-10, "-10"},     {-32768, "-32768"},
      {2147483647, "2147483647"},         {INT32_MIN, "-2147483648"},
  };
  for (const auto &c : cases) {
    char buf[32];
    memset(buf, '#', sizeof buf);
    unsigned n = NUMTXT(buf, c.value);
    EXPECT_EQ(std::string(buf, n), c.text);
    EXPECT_EQ(buf[n], '#') << "wrote past the text of " << c.value;
  }
}
