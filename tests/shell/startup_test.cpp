#include "shell/startup.h"

#include "shell/config.h"
#include "shell/general_settings.h"
#include "store/log.h"

#include "shell/messages.h"
#include "shell/temp_folder.h"
#include "shell/version_text.h"
#include "store/file_header.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

using namespace kovra::shell;
using kovra::test::temp_folder;
namespace fs = std::filesystem;

namespace {

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f << bytes;
}

std::string printer_config(uint16_t first_word, std::size_t size) {
  std::string b(size, '\x11');
  if (size >= 2) {
    b[0] = char(first_word & 0xFF);
    b[1] = char(first_word >> 8);
  }
  return b;
}

struct StartupTest : ::testing::Test {
  temp_folder tmp;
  recording_message_sink sink;
  std::string prog;  // program folder

  void SetUp() override {
    ASSERT_FALSE(tmp.path().empty());
    prog = tmp.path() + "prog/";
    fs::create_directories(prog);
    fs::create_directories(tmp.path() + "home");
    fs::create_directories(tmp.path() + "run");
    set_message_sink(&sink);
  }
  void TearDown() override { set_message_sink(nullptr); }

  startup_input input(std::vector<std::string> options = {}) {
    startup_input in;
    in.args = {prog + "kovra"};
    in.args.insert(in.args.end(), options.begin(), options.end());
    in.env["HOME"] = tmp.path() + "home";
    in.env["XDG_RUNTIME_DIR"] = tmp.path() + "run";
    in.current_dir = tmp.path();
    return in;
  }
};

} // namespace

TEST(AbsoluteFolder, DotStepsAreFoldedAndASlashIsAdded) {
  EXPECT_EQ(absolute_folder("a/./b/../c", "/x"), "/x/a/c/");
  EXPECT_EQ(absolute_folder("../u", "/w/cur/"), "/w/u/");
  EXPECT_EQ(absolute_folder("/abs/dane", "/ignored/"), "/abs/dane/");
  EXPECT_EQ(absolute_folder("/abs/dane/", "/"), "/abs/dane/");
}

TEST_F(StartupTest, DefaultFoldersAndFilesAreMadeFromTheProgramFolder) {
  program_environment e = make_program_environment(input());
  std::string user = tmp.path() + "home/.local/share/kovra_p/";
  EXPECT_EQ(e.program_folder, prog);
  EXPECT_EQ(e.shared_folder, prog);
  EXPECT_EQ(e.data_folder, prog + "dane/");
  EXPECT_EQ(e.printouts_folder, prog + "dane/wydruki/");
  EXPECT_EQ(e.pdf_folder, prog + "dane/pdf/");
  EXPECT_EQ(e.user_folder, user);
  EXPECT_EQ(e.ini_folder, user);
  for (const auto& f : {e.data_folder, e.printouts_folder, e.pdf_folder, e.user_folder})
    EXPECT_TRUE(fs::is_directory(f)) << f;
  EXPECT_TRUE(e.folders_not_created.empty());

  EXPECT_EQ(e.psd_path, user + "kovra.psd");
  EXPECT_EQ(e.cfg_path, user + "kovra.cfg");
  EXPECT_EQ(e.prnconf_path, user + "prnconf.cfg");
  EXPECT_EQ(e.ini_path, user + "kovra.ini");
  EXPECT_EQ(e.des_path, user + "kovra.des");
  EXPECT_EQ(e.bazaaiob_path, user + "bazaaiob.dat");
  EXPECT_EQ(e.help_path, prog + "Kovra8_p.hlp");
  EXPECT_EQ(e.lock_path, tmp.path() + "run/kovra.lock");

  EXPECT_EQ(e.default_user.login, "Administrator");
  EXPECT_EQ(e.default_user.password, "");
  EXPECT_EQ(e.default_user.data_folder, prog + "dane/");
  EXPECT_EQ(e.default_user.config_path, prog + "kovra.cfg");
}

TEST_F(StartupTest, UserFolderFollowsXdgDataHomeAndLockFallsBackToIt) {
  startup_input in = input();
  in.env["XDG_DATA_HOME"] = tmp.path() + "xdg";
  in.env.erase("XDG_RUNTIME_DIR");
  program_environment e = make_program_environment(in);
  EXPECT_EQ(e.user_folder, tmp.path() + "xdg/kovra_p/");
  EXPECT_TRUE(fs::is_directory(e.user_folder));
  EXPECT_EQ(e.lock_path, e.user_folder + "kovra.lock");
}

TEST_F(StartupTest, OptionsOverrideTheFolders) {
  fs::create_directories(tmp.path() + "w/cur");
  startup_input in = input({"-d" + tmp.path() + "moje dane", "-u../u", "-s" + tmp.path() + "shared",
                            "-i" + tmp.path() + "ini/nested"});
  in.current_dir = tmp.path() + "w/cur";
  program_environment e = make_program_environment(in);
  EXPECT_EQ(e.data_folder, tmp.path() + "moje dane/");  // slash added
  EXPECT_EQ(e.printouts_folder, tmp.path() + "moje dane/wydruki/");
  EXPECT_EQ(e.user_folder, tmp.path() + "w/u/");         // climbing step folded away
  EXPECT_EQ(e.shared_folder, tmp.path() + "shared/");
  EXPECT_EQ(e.ini_folder, tmp.path() + "ini/nested/");
  EXPECT_EQ(e.ini_path, tmp.path() + "ini/nested/kovra.ini");
  EXPECT_EQ(e.cfg_path, tmp.path() + "w/u/kovra.cfg");
  for (const auto& f : {e.data_folder, e.user_folder, e.shared_folder, e.ini_folder, e.pdf_folder})
    EXPECT_TRUE(fs::is_directory(f)) << f;
  EXPECT_EQ(e.default_user.data_folder, e.data_folder);
}

TEST_F(StartupTest, IniFolderThatCannotBeMadeFallsBackToTheUserFolder) {
  write_file(tmp.path() + "plain_file", "x");
  program_environment e = make_program_environment(input({"-i" + tmp.path() + "plain_file/ini"}));
  EXPECT_EQ(e.ini_folder, e.user_folder);
  EXPECT_EQ(e.ini_path, e.user_folder + "kovra.ini");
  EXPECT_TRUE(e.folders_not_created.empty());
}

TEST_F(StartupTest, FolderThatCannotBeMadeIsNoErrorHere) {
  write_file(tmp.path() + "plain_file", "x");
  program_environment e = make_program_environment(input({"-d" + tmp.path() + "plain_file/dane"}));
  EXPECT_EQ(e.data_folder, tmp.path() + "plain_file/dane/");
  EXPECT_FALSE(e.folders_not_created.empty());
  EXPECT_EQ(e.folders_not_created.front(), e.data_folder);
}

TEST_F(StartupTest, ProgramFoundOnPathAndThroughALinkKeepsItsOwnFolder) {
  write_file(prog + "kovra", "#!/bin/sh\n");
  fs::permissions(prog + "kovra", fs::perms::owner_all);
  fs::create_directories(tmp.path() + "bin");
  fs::create_symlink(prog + "kovra", tmp.path() + "bin/kovra");

  startup_input in = input();
  in.args[0] = "kovra";
  in.env["PATH"] = "/nonexistent:" + tmp.path() + "bin";
  EXPECT_EQ(make_program_environment(in).program_folder, prog);

  in.args[0] = "bin/kovra";  // relative to the current folder
  EXPECT_EQ(make_program_environment(in).program_folder, prog);
}

TEST_F(StartupTest, StartUpStampsTheVersionAndHandsPrnconfToItsReader) {
  kovra::store::reset_header_template();
  reset_ini_filename();
  reset_general_settings();
  program_environment first = make_program_environment(input());
  std::vector<std::string> read;
  startup_input in = input();
  in.read_printer_config = [&](const std::string& path) { read.push_back(path); };

  startup_result r = start_up(in);
  EXPECT_EQ(r.instance, lock_result::acquired);
  EXPECT_EQ(read, std::vector<std::string>{first.prnconf_path});
  const auto& label = kovra::store::header_template().label;
  EXPECT_EQ(std::string(label.data()), "KOSZTORYS " + version_text());
  EXPECT_EQ(kovra::store::header_template().revision, program_minor_version());
  EXPECT_TRUE(sink.requests().empty());
  EXPECT_EQ(kovra::store::program_folder(), first.program_folder);  // the log goes there
  // The configuration is created and read, and the INI path is fixed for the forms.
  EXPECT_TRUE(r.general_settings_loaded);
  EXPECT_TRUE(fs::exists(first.cfg_path));
  EXPECT_EQ(config_path(), first.cfg_path);
  EXPECT_EQ(general_settings().catalogue_prefix(), "KNR");
  EXPECT_EQ(ini_filename(), first.ini_path);
  EXPECT_FALSE(r.ini_error);
  kovra::store::reset_header_template();
}

TEST_F(StartupTest, SecondCopyGetsMessage182AndStopsEarly) {
  startup_result running = start_up(input());
  ASSERT_EQ(running.instance, lock_result::acquired);
  write_file(running.environment.prnconf_path, printer_config(315, 511));

  startup_input in = input();
  bool read = false;
  in.read_printer_config = [&](const std::string&) { read = true; };
  startup_result second = start_up(in);
  EXPECT_TRUE(second.already_running());
  EXPECT_FALSE(second.lock.held());
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].number, 182);
  EXPECT_EQ(sink.requests()[0].caption, "Błąd");
  // The later steps did not run, and the running copy still holds its lock.
  EXPECT_FALSE(read);
  EXPECT_TRUE(fs::exists(running.environment.prnconf_path));
  EXPECT_TRUE(running.lock.held());
  instance_lock third;
  EXPECT_EQ(third.acquire(running.environment.lock_path), lock_result::already_running);
}

TEST(SingleInstance, LockHeldByAnotherProcessIsFreedWhenItDies) {
  temp_folder tmp;
  std::string path = tmp.path() + "kovra.lock";
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    instance_lock held;
    char ok = held.acquire(path) == lock_result::acquired ? '1' : '0';
    (void)!::write(ready[1], &ok, 1);
    ::pause();  // holds the lock until killed
    ::_exit(0);
  }
  ::close(ready[1]);
  char ok = 0;
  ASSERT_EQ(::read(ready[0], &ok, 1), 1);
  ::close(ready[0]);
  ASSERT_EQ(ok, '1');

  instance_lock mine;
  EXPECT_EQ(mine.acquire(path), lock_result::already_running);
  EXPECT_FALSE(mine.held());

  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(mine.acquire(path), lock_result::acquired);
  EXPECT_TRUE(mine.held());
  mine.release();
  EXPECT_FALSE(mine.held());
  instance_lock again;
  EXPECT_EQ(again.acquire(path), lock_result::acquired);
}

TEST(SingleInstance, LockFileThatCannotBeOpenedIsReportedAsUnavailable) {
  instance_lock lock;
  EXPECT_EQ(lock.acquire("/nonexistent-folder/kovra.lock"), lock_result::unavailable);
  EXPECT_FALSE(lock.held());
}

TEST(VersionText, MajorDotTwoDigitMinor) {
  EXPECT_TRUE(std::regex_match(version_text(), std::regex("v\\.[0-9]+\\.[0-9]{2}"))) << version_text();
  char expected[32];
  std::snprintf(expected, sizeof expected, "v.%d.%02d", program_major_version(), program_minor_version());
  EXPECT_EQ(version_text(), expected);
  EXPECT_EQ(product_version_line(), "Kovra - kosztorys " + version_text());
}
