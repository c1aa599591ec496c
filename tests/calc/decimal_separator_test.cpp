#include "calc/decimal_separator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace kovra::calc;

namespace {

// Sets an environment variable for the scope of a test.
struct scoped_env {
  std::string name;
  std::string old;
  bool had;
  scoped_env(const char* n, const char* value) : name(n) {
    const char* o = std::getenv(n);
    had = o != nullptr;
    if (o) old = o;
    setenv(n, value, 1);
  }
  ~scoped_env() {
    if (had) setenv(name.c_str(), old.c_str(), 1);
    else unsetenv(name.c_str());
  }
};

} // namespace

TEST(DecimalSeparator, ConversionsBothWays) {
  set_system_decimal_separator(',');
  std::string typed = "1,5*2,25";
  from_display_separator(typed);
  EXPECT_EQ(typed, "1.5*2.25");
  char shown[] = "1.5 2.25";
  to_display_separator(shown);
  EXPECT_EQ(std::string(shown), "1,5 2,25");
  set_system_decimal_separator('.');
  std::string unchanged = "1,5";
  from_display_separator(unchanged);
  EXPECT_EQ(unchanged, "1,5");
  reset_system_decimal_separator();
}

TEST(DecimalSeparator, TrimSpaces) {
  char t[] = "   12 3  ";
  trim_spaces(t);
  EXPECT_EQ(std::string(t), "12 3");
  char blank[] = "    ";
  trim_spaces(blank);
  EXPECT_EQ(std::string(blank), "");
}

TEST(DecimalSeparator, CLocaleGivesPoint) {
  scoped_env all("LC_ALL", "C");
  reset_system_decimal_separator();
  EXPECT_EQ(system_decimal_separator(), '.');
  reset_system_decimal_separator();
}

// The Polish locale is compiled into a temporary folder, so the test does not depend on the
// locales installed on the machine.
TEST(DecimalSeparator, PolishLocaleGivesComma) {
  char pattern[] = "/tmp/kovra_locale_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  const std::string command = "localedef -i pl_PL -f UTF-8 '" + dir + "/pl_PL.UTF-8' >/dev/null 2>&1";
  const bool built = std::system(command.c_str()) == 0;
  struct cleanup {
    std::string d;
    ~cleanup() { std::filesystem::remove_all(d); }
  } remove_dir{dir};
  if (!built) GTEST_SKIP() << "localedef cannot build pl_PL here";
  scoped_env locpath("LOCPATH", dir.c_str());
  scoped_env all("LC_ALL", "pl_PL.UTF-8");
  reset_system_decimal_separator();
  EXPECT_EQ(system_decimal_separator(), ',');
  std::string typed = "1,5";
  from_display_separator(typed);
  EXPECT_EQ(typed, "1.5");
  reset_system_decimal_separator();
}
