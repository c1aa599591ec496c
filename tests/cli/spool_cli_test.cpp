// kovra-cli spool and printers, end to end.
#include "cli/cli_run.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using kovra::test::run_cli;

namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

const std::string definitions = std::string(KOVRA_SOURCE_DIR) + "/data/printer.dat";

} // namespace

TEST(SpoolCli, SpoolFileToPrinterBytes) {
  kovra::test::temp_folder dir;
  const std::string spool = dir.path() + "in.spl";
  // Initialisation, three pages with a Polish letter (Mazovia "ł") and emphasis, final reset.
  const std::string spooled = std::string("\x1b\x10\x1b\x08\r\n") + "one \x92\r\n\x1b\x01" +
                              "\x1b\x04two\x1b\x05\r\n\x1b\x01" + "three\r\n\x1b\x01\x1b\x10";
  std::ofstream(spool, std::ios::binary) << spooled;
  const std::string out = dir.path() + "out.prn";
  auto r = run_cli({"spool", spool, "--definitions", definitions, "--printer", "ESC/P_9-igl._(FX,_LX)",
                    "--code-page", "2", "--pages", "2-3", "-o", out});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(slurp(out), "\x1b@\x0f\r\n\x1b" "Etwo\x1b" "F\r\n\fthree\r\n\f");
  EXPECT_EQ(slurp(spool), spooled);  // the input is left alone

  r = run_cli({"spool", spool, "--definitions", definitions, "--printer", "Tekst bez kodow", "--plain",
               "--code-page", "0", "-o", out});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(slurp(out), "\r\none l\r\n\ftwo\r\n\fthree\r\n\f");

  r = run_cli({"spool", spool, "--definitions", definitions, "--printer", "Proprinter", "--pages", "4-9", "-o", out});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("Ilość stron wydruku: 3."), std::string::npos);
}

TEST(SpoolCli, TextFileThroughTheWriter) {
  kovra::test::temp_folder dir;
  const std::string text = dir.path() + "in.txt";
  std::ofstream(text) << "Zażółć\nsecond line\fnext page\n";
  const std::string out = dir.path() + "out.prn";
  auto r = run_cli({"spool", text, "--text", "--definitions", definitions, "--printer", "LaserJet_(PCL_5)", "-o", out});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string bytes = slurp(out);
  // Reset, symbol set and pitch, emphasis off, the left margin (0 columns) and 8 lpi.
  EXPECT_EQ(bytes.substr(0, 33), "\x1b" "E\x1b(17U\x1b(s16.67H\x1b(s0B\x1b&a0L\x1b&l8D\r\n");
  EXPECT_NE(bytes.find("Za\xbe\xa2\x88\x86\r\nsecond line\fnext page\r\n"), std::string::npos);  // code page 852
  EXPECT_EQ(bytes.substr(bytes.size() - 3), "\f\x1b" "E");
}

TEST(SpoolCli, BadUse) {
  kovra::test::temp_folder dir;
  EXPECT_EQ(run_cli({"spool"}).exit_code, 64);
  EXPECT_EQ(run_cli({"spool", "x.spl", "--printer", "Proprinter"}).exit_code, 64);  // no output
  EXPECT_EQ(run_cli({"spool", "x.spl", "--printer", "Proprinter", "--code-page", "4", "-o", "y"}).exit_code, 64);
  auto r = run_cli({"spool", dir.path() + "x.spl", "--definitions", definitions, "--printer", "Nope", "-o", "y"});
  EXPECT_EQ(r.exit_code, 64);
  EXPECT_NE(r.err.find("Nope"), std::string::npos);
  r = run_cli({"spool", dir.path() + "x.spl", "--definitions", definitions, "--printer", "Proprinter", "-o",
               dir.path() + "y"});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("Brak zbioru"), std::string::npos);
  r = run_cli({"spool", "x.spl", "--definitions", dir.path() + "none.dat", "--printer", "P", "-o", "y"});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("definiującego drukarki"), std::string::npos);
}

TEST(SpoolCli, AQueueThatCannotBeReachedIsReported) {
  kovra::test::temp_folder dir;
  const std::string spool = dir.path() + "in.spl";
  std::ofstream(spool, std::ios::binary) << "\x1b\x10\r\nx\r\n\x1b\x01";
  auto r = run_cli({"spool", spool, "--definitions", definitions, "--printer", "Proprinter", "--queue",
                    "kovra-test-no-such-queue"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("Żadna z drukarek tekstowych nie jest gotowa."), std::string::npos) << r.err;
  EXPECT_EQ(slurp(spool).size(), 9u);
}

TEST(SpoolCli, PrintersListsTheModels) {
  auto r = run_cli({"printers", "--definitions", definitions});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("HP / LaserJet (PCL 5)  (LASER, LATIN2, A4)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Ogolne / Tekst bez kodow  (DOT, CHOOSE)"), std::string::npos);
  EXPECT_NE(r.out.find("queues:"), std::string::npos);
}
