// The spooler: page ranges, copies, flags, code conversion, failures; and the bytes two
// shipped printer models get in each code page.
#include "report/file_sink.h"
#include "report/printer_config.h"
#include "report/printer_dat.h"
#include "report/spooler.h"
#include "report/text_writer.h"
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

const std::string init_line = "\x1b\x10\x1b\x08\r\n";
const std::string sep = "\x1b\x01";

// A spool file of n pages "PAGE<k>", each ended, and the final reset mark.
std::string spool_of(int pages) {
  std::string s = init_line;
  for (int k = 1; k <= pages; ++k) s += "PAGE" + std::to_string(k) + "\r\n" + sep;
  return s + "\x1b\x10";
}

printer_codes test_codes() {
  printer_codes c{};
  c[1] = "<FF>";
  c[4] = "<B>";
  c[5] = "<b>";
  c[8] = "<C>";
  c[16] = "<R>";
  return c;
}

class Spooler : public ::testing::Test {
protected:
  void SetUp() override { kovra::shell::set_message_sink(&sink); }
  void TearDown() override { kovra::shell::set_message_sink(nullptr); }

  std::string source(const std::string& bytes) {
    const std::string p = dir.path() + "spool.tmp";
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  spool_result to_printer(const std::string& bytes, int first = 1, int last = spool_all_pages, int copies = 1,
                          int flags = 0) {
    spool_request r;
    r.source = source(bytes);
    r.first_page = first;
    r.last_page = last;
    r.copies = copies;
    r.flags = SPOOL_PRINTER | flags;
    return spool_file(r, codes, code_page(CODE_PAGE_MAZOVIA), &printer);
  }
  int last_message() const { return sink.requests().empty() ? 0 : sink.requests().back().number; }

  kovra::test::temp_folder dir;
  kovra::shell::recording_message_sink sink;
  memory_sink printer;
  printer_codes codes = test_codes();
};

} // namespace

TEST_F(Spooler, PageRangeSendsTheInitialisationAndExactlyThosePages) {
  EXPECT_EQ(to_printer(spool_of(6), 3, 5), spool_result::done);
  EXPECT_EQ(printer.bytes(), "<R><C>\r\nPAGE3\r\n<FF>PAGE4\r\n<FF>PAGE5\r\n<FF>");
  EXPECT_EQ(printer.documents(), 1);
  EXPECT_EQ(printer.last_document_name(), "Kovra - kosztorys");
  EXPECT_TRUE(sink.requests().empty());

  memory_sink all;
  spool_request r;
  r.source = source(spool_of(2));
  r.flags = SPOOL_PRINTER;
  EXPECT_EQ(spool_file(r, codes, code_page(CODE_PAGE_MAZOVIA), &all), spool_result::done);
  EXPECT_EQ(all.bytes(), "<R><C>\r\nPAGE1\r\n<FF>PAGE2\r\n<FF><R>");  // the final reset too
}

TEST_F(Spooler, RangesWithoutPagesReportMessage145) {
  struct range_case {
    std::string spool;
    int first, last, pages;
  };
  const range_case cases[] = {
      {"", 1, 9999, 0},
      {init_line + "\x1b\x10", 1, 9999, 0},
      {spool_of(3), 4, 9999, 3},
      {init_line + "open page, not ended\r\n", 2, 2, 1},
  };
  for (const auto& c : cases) {
    sink.clear();
    const std::string out = dir.path() + "out.prn";
    std::ofstream(out) << "earlier printout";
    spool_request r;
    r.source = source(c.spool);
    r.output = out;
    r.first_page = c.first;
    r.last_page = c.last;
    r.flags = SPOOL_CODES | SPOOL_CREATE;
    EXPECT_EQ(spool_file(r, codes, code_page(1), nullptr), spool_result::no_pages) << c.first;
    ASSERT_EQ(sink.requests().size(), 1u);
    EXPECT_EQ(sink.requests()[0].number, 145);
    EXPECT_EQ(sink.requests()[0].text.find("Ilość stron wydruku: " + std::to_string(c.pages) + ".\n"), 0u);
    EXPECT_EQ(slurp(out), "earlier printout");  // nothing opened, nothing emptied
    EXPECT_EQ(count_spool_pages(c.spool), c.pages);
  }
  EXPECT_EQ(printer.documents(), 0);
}

TEST_F(Spooler, PlainTextKeepsOnlyPageEnds) {
  const std::string spool = init_line + "\x1b\x04" "Bold\x1b\x05 text\r\n" + sep + "\x1b\x10";
  const std::string out = dir.path() + "plain.txt";
  spool_request r;
  r.source = source(spool);
  r.output = out;
  r.flags = SPOOL_PLAIN | SPOOL_CREATE;
  EXPECT_EQ(spool_file(r, codes, code_page(CODE_PAGE_MAZOVIA), nullptr), spool_result::done);
  EXPECT_EQ(slurp(out), "\r\nBold text\r\n<FF>");
  // Without a printer definition a plain file still gets form feeds between pages.
  r.source = source(spool);
  EXPECT_EQ(spool_file(r, printer_codes{}, code_page(CODE_PAGE_MAZOVIA), nullptr), spool_result::done);
  EXPECT_EQ(slurp(out), "\r\nBold text\r\n\f");
  EXPECT_FALSE(fs::exists(r.source));  // deleted after the copy
}

TEST_F(Spooler, ConversionReadsAndMarks) {
  // Letters go through the table; code bytes do not.
  codes[4] = std::string(1, char(0x86));
  const std::string polish = kovra::store::utf8_to_mazovia("ąŁ");
  spool_request r;
  r.source = source(init_line + "\x1b\x04" + polish + "\r\n" + sep);
  r.flags = SPOOL_PRINTER | SPOOL_KEEP_SOURCE;
  EXPECT_EQ(spool_file(r, codes, code_page(CODE_PAGE_LATIN2), &printer), spool_result::done);
  EXPECT_EQ(printer.bytes(), "<R><C>\r\n\x86\xA5\x9D\r\n<FF>");
  EXPECT_TRUE(fs::exists(r.source));  // kept

  // A mark across the end of a 240-byte read stays whole; a zero byte ends its line.
  memory_sink p2;
  std::string long_line(238, 'x');
  r.source = source(init_line + long_line + "\x1b\x04y\r\nab" + std::string(1, '\0') + "cd\r\nef\r\n" + sep);
  r.flags = SPOOL_PRINTER;
  EXPECT_EQ(spool_file(r, codes, code_page(CODE_PAGE_MAZOVIA), &p2), spool_result::done);
  EXPECT_EQ(p2.bytes(), "<R><C>\r\n" + long_line + "\x86y\r\nabef\r\n<FF>");
}

TEST_F(Spooler, CopiesAndBinaryCopies) {
  EXPECT_EQ(to_printer(spool_of(1), 1, 9999, 2), spool_result::done);
  EXPECT_EQ(printer.documents(), 2);
  EXPECT_EQ(printer.bytes(), "<R><C>\r\nPAGE1\r\n<FF><R><R><C>\r\nPAGE1\r\n<FF><R>");

  // Every copy lands in the file, the first one replacing what was there.
  const std::string out = dir.path() + "copies.prn";
  std::ofstream(out) << "old";
  spool_request r;
  r.source = source(spool_of(1));
  r.output = out;
  r.copies = 2;
  r.flags = SPOOL_CODES | SPOOL_CREATE;
  EXPECT_EQ(spool_file(r, codes, code_page(1), nullptr), spool_result::done);
  EXPECT_EQ(slurp(out), "<R><C>\r\nPAGE1\r\n<FF><R><R><C>\r\nPAGE1\r\n<FF><R>");

  // Without SPOOL_CREATE the file is appended to; a binary copy sends the bytes as they are.
  const std::string raw = spool_of(3) + std::string(1000, 'z');
  r.source = source(raw);
  r.copies = 1;
  r.flags = SPOOL_BINARY | SPOOL_CODES;
  EXPECT_EQ(spool_file(r, codes, code_page(0), nullptr), spool_result::done);
  EXPECT_EQ(slurp(out), "<R><C>\r\nPAGE1\r\n<FF><R><R><C>\r\nPAGE1\r\n<FF><R>" + raw);
}

TEST_F(Spooler, Failures) {
  spool_request r;
  r.source = dir.path() + "missing.tmp";
  r.flags = SPOOL_PRINTER;
  EXPECT_EQ(spool_file(r, codes, code_page(1), &printer), spool_result::missing_source);
  EXPECT_EQ(last_message(), 171);

  r.source = dir.path();  // a folder cannot be read
  EXPECT_EQ(spool_file(r, codes, code_page(1), &printer), spool_result::cannot_open);
  EXPECT_EQ(last_message(), 172);

  r.source = source(spool_of(1));
  EXPECT_EQ(spool_file(r, codes, code_page(1), nullptr), spool_result::printer_unavailable);
  EXPECT_EQ(last_message(), 209);

  printer.fail_begin(true);
  EXPECT_EQ(spool_file(r, codes, code_page(1), &printer), spool_result::printer_unavailable);
  EXPECT_EQ(last_message(), 209);
  EXPECT_TRUE(fs::exists(r.source));  // nothing printed, nothing deleted

  memory_sink offline;
  offline.fail_after(10);
  r.source = source(spool_of(40));
  EXPECT_EQ(spool_file(r, codes, code_page(1), &offline), spool_result::send_failed);
  EXPECT_EQ(last_message(), 178);

  r.flags = SPOOL_CODES;
  r.output = dir.path() + "no/such/folder/out.prn";
  EXPECT_EQ(spool_file(r, codes, code_page(1), nullptr), spool_result::cannot_open);
  EXPECT_EQ(last_message(), 172);
}

namespace {

class stopping_ui : public kovra::shell::progress_ui {
public:
  void show(const kovra::shell::progress_view& v) override { shown = v.text; }
  void set_position(int p) override { position = p; }
  bool refresh() override { return ++refreshes > 3; }
  void hide() override { hidden = true; }
  std::string shown;
  int position = 0;
  int refreshes = 0;
  bool hidden = false;
};

} // namespace

TEST_F(Spooler, TheUserCanStopAPrintout) {
  stopping_ui ui;
  int64_t now = 0;
  kovra::shell::set_progress_ui(&ui);
  kovra::shell::set_progress_clock([&] { return now += 1000; });
  spool_request r;
  r.source = source(spool_of(200));
  r.flags = SPOOL_PRINTER;
  r.show_progress = true;
  r.copies = 2;
  EXPECT_EQ(spool_file(r, codes, code_page(1), &printer), spool_result::stopped);
  // Stopped, the paper is to be set at a new page, and the second copy was not printed.
  std::vector<int> shown;
  for (const auto& m : sink.requests()) shown.push_back(m.number);
  EXPECT_EQ(shown, (std::vector<int>{177, 174, 176}));
  EXPECT_EQ(ui.shown, "Program w trakcie drukowania.");
  EXPECT_TRUE(ui.hidden);
  EXPECT_LT(printer.bytes().size(), spool_of(200).size());
  kovra::shell::reset_progress();
}

// The bytes of one small printout for two shipped models in all four code pages.
TEST_F(Spooler, ShippedModelsInEveryCodePage) {
  auto defs = parse_printer_dat(slurp(std::string(KOVRA_SOURCE_DIR) + "/data/printer.dat")).definitions;
  ASSERT_TRUE(defs);
  struct model_case {
    const char* model;
    std::string init;
    std::string bold_on, bold_off, reset;
  };
  const model_case models[] = {
      {"ESC/P 9-igl. (FX, LX)", std::string("\x1b@\x0f\x1b" "F\x1bl\x07\x1bQ") + char(128) + "\x1b" "0", "\x1b" "E",
       "\x1b" "F", "\x1b@"},
      {"LaserJet (PCL 5)", "\x1b" "E\x1b(17U\x1b(s16.67H\x1b(s0B\x1b&a3L\x1b&l8D", "\x1b(s3B", "\x1b(s0B", "\x1b" "E"},
  };
  const std::string letters[] = {"Lodz", "\x9C\xA2" "d\xA6", "\x9D\xA2" "d\xAB", "\xA3\xF3" "d\x9F"};
  for (const auto& m : models) {
    const printer_model* model = defs->find_model(m.model);
    ASSERT_NE(model, nullptr) << m.model;
    printer_config config;
    config.left_margin = 10;
    choose_printer_model(config, *model, defs->codes_of(*model));
    build_setting_codes(config);

    for (int cp = 0; cp < code_page_count; ++cp) {
      const std::string path = dir.path() + "printout.tmp";
      text_writer w;
      w.set_layout(config.lines_per_page, false);
      ASSERT_TRUE(w.open_spool(path, 1));
      w.write_printer_init({SLOT_RESET, SLOT_MODE_NORMAL, SLOT_EMPHASIS_OFF, SLOT_LEFT_MARGIN, SLOT_LINE_SPACING});
      w.block_code(SLOT_EMPHASIS_ON);
      w.block_add_flush("%s", kovra::store::utf8_to_mazovia("Łódź").c_str());
      w.block_code(SLOT_EMPHASIS_OFF);
      w.block_add_flush("\n");
      w.end_page();
      ASSERT_TRUE(w.close_spool(SLOT_RESET));

      memory_sink out;
      spool_request r;
      r.source = path;
      r.flags = SPOOL_PRINTER;
      ASSERT_EQ(spool_file(r, config.codes, code_page(cp), &out), spool_result::done);
      EXPECT_EQ(out.bytes(), m.init + "\r\n" + m.bold_on + letters[cp] + m.bold_off + "\r\n\f" + m.reset)
          << m.model << " code page " << cp;
    }
  }
}
