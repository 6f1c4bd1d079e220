// Cutting a Windows command line into arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cmdline.h"

static std::vector<std::string> split(const std::string &line) {
  ARGS a;
  SPLITCMD(line.c_str(), &a);
  std::vector<std::string> out;
  for (int i = 0; i < a.n && i < 3; i++)
    out.push_back(a.v[i]);
  if (a.n > 3)
    out.push_back("+" + std::to_string(a.n - 3));  // the count of the rest
  return out;
}

TEST(CommandLine, Splits) {
  const std::string long300(300, 'x');
  struct Case {
    std::string line;
    std::vector<std::string> args;
  } cases[] = {
      {"midibas.exe", {}},
      {"midibas.exe   ", {}},
      {"midibas.exe song.mid", {"song.mid"}},
      {"\"C:\\Program Files\\midibas.exe\" song.mid -3", {"song.mid", "-3"}},
      {"midibas a \"b c\"d", {"a", "b cd"}},
      {"midibas song.mid \"\" 145", {"song.mid", "", "145"}},
      {"midibas \"\"\"\" x", {"", "x"}},
      {"midibas a\"\"b", {"ab"}},
      {"midibas\ta\t\tb", {"a", "b"}},
      {"midibas a\x01" "b\x1f" "c", {"a", "b", "c"}},
      {"midibas \"a\x01 b\"", {"a\x01 b"}},
      {"midibas \"lone quote", {"lone quote"}},
      {"midibas a \"", {"a", ""}},
      {"midibas 1 2 3 4 5", {"1", "2", "3", "+2"}},
      {"midibas " + long300 + " 7", {std::string(255, 'x'), "7"}},
      {"", {}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(split(c.line), c.args) << "line '" << c.line << "'";
}
