// The choices of the text-printer dialogs, OK and cancel.
#include "report/font_download.h"
#include "report/printer_code_page.h"
#include "report/printer_dat.h"
#include "report/printer_setup.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

using namespace kovra::report;

TEST(PrinterSetup, ChoicesOkAndCancel) {
  kovra::test::temp_folder dir;
  const std::string path = dir.path() + "prnconf.cfg";
  auto defs = parse_printer_dat("315\nHP Laser L DONT_LOAD CUT_SHEET LASER LATIN2\n"
                           "Ep Dot D DONT_LOAD CHOOSE DOT CHOOSE\n#L\n-\n12\n#D\n-\n12\n")
             .definitions;
  ASSERT_TRUE(defs);

  printer_config config;
  printer_setup setup(config, path);
  setup.set_paper_length(PAPER_12_INCH);
  setup.set_density(DENSITY_6_LPI);
  EXPECT_EQ(config.lines_per_page, 72);  // dot-matrix, 6 * 305 / 25.4
  setup.set_code_page(CODE_PAGE_WIN_ANSI);
  EXPECT_EQ(config.code_page, CODE_PAGE_WIN_ANSI);

  setup.choose_model(*defs, *defs->find_model("Laser"));
  EXPECT_EQ(config.model_name, "Laser");
  EXPECT_EQ(config.codes[1], "\f");
  EXPECT_EQ(config.paper_length, PAPER_A4);
  EXPECT_EQ(config.code_page, CODE_PAGE_LATIN2);
  EXPECT_FALSE(setup.code_page_choice_enabled());
  EXPECT_FALSE(setup.paper_choice_enabled());
  setup.set_code_page(CODE_PAGE_ASCII);
  setup.set_paper_length(PAPER_11_INCH);
  EXPECT_EQ(config.code_page, CODE_PAGE_LATIN2);
  EXPECT_EQ(config.paper_length, PAPER_A4);
  EXPECT_EQ(config.lines_per_page, 63);  // laser, 6-lpi family: 0.236 * 267

  set_fonts_sent_to_printer(true);
  setup.set_port(1);
  EXPECT_FALSE(fonts_sent_to_printer());

  ASSERT_TRUE(setup.ok());
  EXPECT_EQ(read_printer_config(path).config, config);

  setup.choose_model(*defs, *defs->find_model("Dot"));
  set_fonts_sent_to_printer(true);
  setup.set_port(3);
  setup.cancel();  // back to what OK wrote, the port included
  EXPECT_EQ(config.model_name, "Laser");
  EXPECT_EQ(config.port, 1);
  EXPECT_FALSE(fonts_sent_to_printer());
  reset_font_download();
}
