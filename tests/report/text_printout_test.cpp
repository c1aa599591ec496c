// A text printout from the generators to the printer or a numbered file.
#include "report/font_download.h"
#include "report/printer_dat.h"
#include "report/text_printout.h"
#include "shell/messages.h"
#include "shell/progress.h"
#include "shell/temp_folder.h"
#include "store/codepage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kovra::report;
namespace fs = std::filesystem;

namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class TextPrintout : public ::testing::Test {
protected:
  void SetUp() override {
    kovra::shell::set_message_sink(&sink);
    reset_font_download();
    folders.program = dir.path() + "prog/";
    folders.temp = dir.path() + "tmp/";
    folders.printouts = dir.path() + "dane/wydruki/";
    folders.config = dir.path() + "prnconf.cfg";
    fs::create_directories(folders.program);
    fs::create_directories(folders.temp);
    auto defs = parse_printer_dat(slurp(std::string(KOVRA_SOURCE_DIR) + "/data/printer.dat")).definitions;
    ASSERT_TRUE(defs);
    const printer_model* m = defs->find_model("ESC/P 9-igl. (FX, LX)");
    ASSERT_NE(m, nullptr);
    choose_printer_model(config, *m, defs->codes_of(*m));
    config.code_page = CODE_PAGE_LATIN2;
    job.document_path = "/home/u/dane/Dom 100%.kvr";
    job.estimate_name[0] = kovra::store::utf8_to_mazovia("Budynek mieszkalny");
    job.date = "09/12/26";
    job.left_margin = 10;
    job.top_margin = 0;
    job.bottom_margin = 20;
  }
  void TearDown() override {
    kovra::shell::set_message_sink(nullptr);
    reset_font_download();
  }

  text_print_result run(print_sink* printer = nullptr) {
    return run_text_printout(config, folders, job, generators, printer);
  }
  bool temp_is_empty() const { return fs::is_empty(folders.temp); }

  kovra::test::temp_folder dir;
  kovra::shell::recording_message_sink sink;
  text_print_folders folders;
  printer_config config;
  text_print_job job;
  std::function<void(text_writer&)> generators = [](text_writer& w) {
    w.block_code(SLOT_EMPHASIS_ON);
    w.block_add_flush("%s\n", kovra::store::utf8_to_mazovia("Zażółć gęślą jaźń").c_str());
    w.block_code(SLOT_EMPHASIS_OFF);
    w.end_page();
    w.block_add_flush("Strona druga\n");
  };
};

} // namespace

TEST_F(TextPrintout, PageLine) {
  const std::string line = make_page_line(job);
  const auto first_end = line.find('\n');
  EXPECT_EQ(first_end, 120u + 1);  // "%%" in the file name takes two bytes, prints as one
  const std::string shown = page_line_text(line, 7);
  EXPECT_EQ(shown.find(kovra::store::utf8_to_mazovia("Zbiór: Dom 100%")), 0u);
  EXPECT_EQ(shown.substr(shown.find('\n') - 13, 13), "strona nr   7");
  EXPECT_EQ(shown.find('\n'), 120u);
  EXPECT_EQ(shown.substr(shown.size() - 9), "09/12/26\n");

  job.chapter_name = "Rozdzial 1";
  job.document_path = "/x/" + std::string(100, 'n') + ".kvr";
  job.estimate_name[1] = std::string(70, 'e');
  const std::string cut = page_line_text(make_page_line(job), 1);
  EXPECT_NE(cut.find("Rozdzial 1, nnn"), std::string::npos);
  EXPECT_EQ(cut.substr(71, 3), "...");
  const std::string second = cut.substr(cut.find('\n') + 1);
  EXPECT_EQ(second.size(), 121u);
  // The two name pieces, the second cut to 56 characters.
  EXPECT_EQ(second.substr(0, 19), "Budynek mieszkalny ");
  EXPECT_EQ(second.substr(19, 57), std::string(56, 'e') + " ");
  EXPECT_EQ(second.substr(112), "09/12/26\n");
}

TEST_F(TextPrintout, WindowsFileHasWindowsLettersAndOnlyFormFeeds) {
  job.output = text_output::windows_file;
  auto r = run();
  ASSERT_TRUE(r.printed);
  EXPECT_EQ(r.output_path, folders.printouts + "Dom 100%.T01");
  const std::string out = slurp(r.output_path);
  std::string expected_letters = "Zażółć gęślą jaźń";
  std::string cp1250 = kovra::store::utf8_to_mazovia(expected_letters);
  kovra::store::mazovia_to_1250(cp1250);
  EXPECT_NE(out.find(cp1250), std::string::npos);
  for (char c : out) {
    const auto b = static_cast<unsigned char>(c);
    EXPECT_TRUE(b >= 32 || c == '\r' || c == '\n' || c == '\f') << int(b);
  }
  EXPECT_EQ(std::count(out.begin(), out.end(), '\f'), 2);
  EXPECT_TRUE(temp_is_empty());  // the spool file is gone
  // The chosen code page is back, in memory and in the file.
  EXPECT_EQ(config.code_page, CODE_PAGE_LATIN2);
  auto saved = read_printer_config(folders.config);
  EXPECT_EQ(saved.config.code_page, CODE_PAGE_LATIN2);
  EXPECT_EQ(saved.config.saved_code_page, 0);
  EXPECT_EQ(saved.config.left_margin, 10);
}

TEST_F(TextPrintout, NumberedFileNames) {
  fs::create_directories(folders.printouts);
  for (const char* name : {"Dom 100%.T01", "Dom 100%.T02", "Dom 100%.P07", "Inny.T05"})
    std::ofstream(folders.printouts + name) << "x";
  job.output = text_output::plain_file;
  auto r = run();
  ASSERT_TRUE(r.printed);
  EXPECT_EQ(r.output_path, folders.printouts + "Dom 100%.T03");
  job.output = text_output::codes_file;
  r = run();
  EXPECT_EQ(r.output_path, folders.printouts + "Dom 100%.P08");
  const std::string codes = slurp(r.output_path);
  EXPECT_EQ(codes.substr(0, 2), "\x1b@");  // the printer's reset comes first
  EXPECT_NE(codes.find("\x1b" "E"), std::string::npos);

  std::ofstream(folders.printouts + "Dom 100%.T99") << "x";
  job.output = text_output::plain_file;
  sink.clear();
  r = run();
  EXPECT_FALSE(r.printed);
  EXPECT_EQ(sink.requests().back().number, 285);
  EXPECT_TRUE(temp_is_empty());
}

TEST_F(TextPrintout, PrinterOutputPageRangeAndCopies) {
  memory_sink printer;
  job.first_page = 2;
  job.last_page = 2;
  job.copies = 2;
  auto r = run(&printer);
  ASSERT_TRUE(r.printed);
  EXPECT_EQ(printer.documents(), 2);
  const std::string& out = printer.bytes();
  EXPECT_EQ(out.find("Strona druga"), out.rfind("Strona druga") - out.size() / 2);
  EXPECT_EQ(out.find("Zaz"), std::string::npos);  // page 1 not printed
  EXPECT_EQ(out.substr(0, 2), "\x1b@");
}

TEST_F(TextPrintout, FontsGoOnceToAFontLoadingPrinter) {
  std::ofstream(folders.program + "boldpl17.hp") << "BOLD";
  std::ofstream(folders.program + "stanpl17.hp") << "STAN";
  config.font = FONT_LOAD;
  config.code_page = CODE_PAGE_MAZOVIA;
  memory_sink printer;
  ASSERT_TRUE(run(&printer).printed);
  EXPECT_EQ(printer.documents(), 2);
  EXPECT_EQ(printer.bytes().substr(0, 8), "BOLDSTAN");
  // Polish letters through the downloaded fonts' table: "ż" is 197 there.
  EXPECT_NE(printer.bytes().find(std::string("Za") + char(197)), std::string::npos);

  ASSERT_TRUE(run(&printer).printed);
  EXPECT_EQ(printer.documents(), 3);  // not again
  port_changed();
  ASSERT_TRUE(run(&printer).printed);
  EXPECT_EQ(printer.documents(), 5);

  // A printer-code file always starts with them; a plain file never has them.
  job.output = text_output::codes_file;
  auto r = run();
  EXPECT_EQ(slurp(r.output_path).substr(0, 10), "BOLDSTAN\x1b@");
  job.output = text_output::plain_file;
  r = run();
  EXPECT_EQ(slurp(r.output_path).find("BOLD"), std::string::npos);

  fs::remove(folders.program + "stanpl17.hp");
  port_changed();
  job.output = text_output::printer;
  sink.clear();
  EXPECT_FALSE(run(&printer).printed);
  EXPECT_EQ(sink.requests().back().number, 171);
  EXPECT_TRUE(temp_is_empty());
}

TEST_F(TextPrintout, PreviewCancelAndNoPrinter) {
  std::string previewed;
  job.preview = [&](const std::string& spool) {
    previewed = slurp(spool);
    return false;
  };
  memory_sink printer;
  EXPECT_FALSE(run(&printer).printed);
  EXPECT_NE(previewed.find("Strona druga"), std::string::npos);
  EXPECT_EQ(printer.documents(), 0);
  EXPECT_TRUE(temp_is_empty());

  job.preview = nullptr;
  EXPECT_FALSE(run(nullptr).printed);
  EXPECT_EQ(sink.requests().back().number, 209);
  EXPECT_TRUE(temp_is_empty());
}

namespace {

// A progress window whose stop button is pressed at once.
class stop_at_once : public kovra::shell::progress_ui {
public:
  void show(const kovra::shell::progress_view& v) override { shown = v.text; }
  void set_position(int) override {}
  bool refresh() override { return true; }
  void hide() override {}
  std::string shown;
};

} // namespace

TEST_F(TextPrintout, ShowsItsProgressAndCanBeStopped) {
  stop_at_once ui;
  int64_t now = 0;
  kovra::shell::set_progress_ui(&ui);
  kovra::shell::set_progress_clock([&] { return now += 1000; });
  memory_sink printer;
  job.copies = 2;
  const auto r = run(&printer);
  kovra::shell::reset_progress();
  EXPECT_FALSE(r.printed);
  EXPECT_EQ(r.spool, spool_result::stopped);
  EXPECT_EQ(ui.shown, "Program w trakcie drukowania.");
  std::vector<int> shown;
  for (const auto& m : sink.requests()) shown.push_back(m.number);
  EXPECT_EQ(shown, (std::vector<int>{177, 174, 176}));
  EXPECT_TRUE(temp_is_empty());
}

// The spool file is made once, exclusively, and kept open: a name planted in the folder is
// never opened, and no spool file is left in the temporary folder afterwards.
TEST_F(TextPrintout, SpoolFileIsCreatedExclusively) {
  std::string path;
  std::FILE* f = create_spool_file(folders.temp, path);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(path.rfind(folders.temp, 0), 0u);
  // The name exists from the start, so a link planted after the name was chosen cannot be
  // taken for it: the stream writes into the file that was created.
  const std::string target = dir.path() + "victim";
  std::ofstream(target) << "keep";
  fs::remove(path);
  fs::create_symlink(target, path);
  text_writer w;
  ASSERT_TRUE(w.open_spool(f, 1));
  w.block_add_flush("x\n");
  ASSERT_TRUE(w.close_spool(SLOT_RESET));
  EXPECT_EQ(slurp(target), "keep");
  fs::remove(path);
  memory_sink printer;
  ASSERT_TRUE(run(&printer).printed);
  EXPECT_TRUE(temp_is_empty());
}
