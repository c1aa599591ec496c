// Printing through CUPS end to end, on a private cupsd touching no system printer: a raw queue
// whose device is a test backend appending what it receives to a file. The text printout's
// printer bytes and a graphic printout go through the program's own paths and arrive whole.
// Skipped with a message when cupsd is not installed or cannot start (Debian: cups-daemon,
// cups-client).
#include "app/app_support.h"
#include "app/print_command.h"
#include "printouts/print_dispatcher.h"
#include "printouts/print_document.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <gtest/gtest.h>

#include <cups/cups.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace kovra;

namespace {

namespace fs = std::filesystem;

std::string bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Waits until `path` has stopped growing after having some bytes (a job has been written).
std::string wait_for_output(const std::string& path, int seconds) {
  std::string last;
  int stable = 0;
  for (int i = 0; i < seconds * 10; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::string now = bytes_of(path);
    stable = (!now.empty() && now == last) ? stable + 1 : 0;
    last = now;
    if (stable >= 5) break;
  }
  return last;
}

struct private_cups {
  std::string dir, socket;
  pid_t pid = -1;
  std::string why_not;

  explicit private_cups(const std::string& folder) : dir(folder) {
    if (std::system("command -v cupsd >/dev/null 2>&1 && command -v lpadmin >/dev/null 2>&1") != 0) {
      why_not = "cupsd or lpadmin is not installed (Debian: cups-daemon cups-client)";
      return;
    }
    ::chmod(dir.c_str(), 0755);  // the daemon's helpers run as another user
    for (const char* d : {"spool", "cache", "state", "tmp", "ppd", "bin", "bin/backend"}) fs::create_directories(dir + d);
    socket = dir + "cups.sock";
    std::ofstream(dir + "cupsd.conf") << "Listen " << socket << "\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                                      << "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                      << "<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n"
                                      << "  </Limit>\n</Policy>\n";
    std::ofstream(dir + "cups-files.conf") << "ServerRoot " << dir << "\nRequestRoot " << dir << "spool\nCacheDir "
                                           << dir << "cache\nStateDir " << dir << "state\nTempDir " << dir
                                           << "tmp\nErrorLog " << dir << "error_log\nAccessLog " << dir
                                           << "access_log\nPageLog " << dir << "page_log\nServerBin " << dir << "bin\n";
    // The daemon's own helpers, and a backend writing each job to the file its URI names.
    for (const auto& e : fs::directory_iterator("/usr/lib/cups")) {
      const fs::path link = fs::path(dir + "bin") / e.path().filename();
      if (!fs::exists(link)) fs::create_symlink(e.path(), link);
    }
    const std::string backend = dir + "bin/backend/kovratest";
    std::ofstream(backend) << "#!/bin/sh\n[ $# -eq 0 ] && { echo 'direct kovratest \"Unknown\" \"Kovra test\"'; exit 0; }\n"
                           << "out=\"${DEVICE_URI#kovratest:}\"\nif [ $# -ge 6 ]; then cat \"$6\" >> \"$out\"; "
                           << "else cat >> \"$out\"; fi\n";
    ::chmod(backend.c_str(), 0700);

    std::vector<std::string> words = {"cupsd", "-f", "-c", dir + "cupsd.conf", "-s", dir + "cups-files.conf"};
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    if (::posix_spawnp(&pid, "cupsd", nullptr, nullptr, argv.data(), environ) != 0) {
      pid = -1;
      why_not = "cupsd could not be started";
      return;
    }
    for (int i = 0; i < 50 && !fs::exists(socket); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (!fs::exists(socket)) {
      why_not = "cupsd did not start: " + bytes_of(dir + "error_log");
      return;
    }
    ::setenv("CUPS_SERVER", socket.c_str(), 1);
    cupsSetServer(socket.c_str());
  }

  bool add_queue(const std::string& name, const std::string& output) {
    const std::string cmd = "CUPS_SERVER='" + socket + "' lpadmin -p " + name + " -E -v 'kovratest:" + output +
                            "' >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
  }

  ~private_cups() {
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      int status = 0;
      ::waitpid(pid, &status, 0);
    }
    ::unsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
  }
};

TEST(CupsPrinting, TextAndGraphicPrintoutsArriveAtAPrivateQueue) {
  test::program_fixture f;
  test::test_app();
  private_cups cups(f.tmp.path());
  if (!cups.why_not.empty()) GTEST_SKIP() << cups.why_not;
  const std::string text_out = f.tmp.path() + "text.bin", graphic_out = f.tmp.path() + "graphic.bin";
  ASSERT_TRUE(cups.add_queue("kovra_text", text_out));
  ASSERT_TRUE(cups.add_queue("kovra_graphic", graphic_out));

  printouts::print_document doc;
  std::string error;
  ASSERT_TRUE(printouts::open_print_document(f.demo("demo_house"), doc, error)) << error;
  printouts::text_print_options opts;
  opts.format = printouts::text_format::printer_codes;
  opts.temp_folder = f.tmp.path();
  // The same printout once into a file and once to the queue: the queue receives those bytes.
  const std::string local = f.tmp.path() + "local.prn";
  ASSERT_EQ(printouts::print_text(doc, {40}, opts, local), "");
  ASSERT_EQ(printouts::print_text(doc, {40}, opts, f.tmp.path() + "queued.prn", "kovra_text"), "");
  const std::string expected = bytes_of(local);
  ASSERT_GT(expected.size(), 1000u);
  EXPECT_EQ(wait_for_output(text_out, 15), expected);

  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName("kovra_graphic");
  ASSERT_TRUE(printer.isValid()) << "Qt does not see the private queue";
  ASSERT_EQ(printouts::print_graphic(doc, {40}, printer), "");
  const std::string pdf = wait_for_output(graphic_out, 20);
  ASSERT_GT(pdf.size(), 1000u);
  EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);

  // The state asked before printing: a paused queue, and one that does not exist.
  EXPECT_EQ(app::printer_status("kovra_graphic"), 0);
  ASSERT_EQ(std::system(("CUPS_SERVER='" + cups.socket + "' cupsdisable kovra_graphic").c_str()), 0);
  EXPECT_EQ(app::printer_status("kovra_graphic"), 2);
  EXPECT_EQ(app::printer_status("no_such_queue"), 4);
}

} // namespace
