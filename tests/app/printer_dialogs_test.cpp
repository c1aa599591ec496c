// The text printer's dialogs over the shipped printer.dat: choosing a model by manufacturer
// fixes what the model fixes, "&Zrezygnuj" puts the configuration back, "&OK" writes it.
#include "app/app_support.h"
#include "app/printer_dialogs.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include <filesystem>

using namespace kovra;
using namespace kovra::app;

namespace {

TEST(PrinterDialogs, ModelChoiceCancelAndSave) {
  test::test_app();
  test::temp_folder dir;
  const auto defs = report::load_printer_dat(KOVRA_SOURCE_DIR "/data/printer.dat");
  ASSERT_TRUE(defs);
  ASSERT_FALSE(defs->makers.empty());

  Tdlg_choose_printer choose(*defs);
  EXPECT_EQ(choose.makers->count(), int(defs->makers.size()));
  choose.makers->setCurrentRow(int(defs->makers.size()) - 1);
  EXPECT_EQ(choose.models->count(), int(defs->makers.back().models.size()));
  ASSERT_NE(choose.chosen(), nullptr);
  EXPECT_EQ(choose.chosen()->name, defs->makers.back().models.front().name);

  // A model with fixed Polish letters: the code page is its value less one and not to be chosen.
  const report::printer_model* fixed = nullptr;
  for (const auto& m : defs->makers)
    for (const auto& model : m.models)
      if (!fixed && model.letters != report::LETTERS_CHOOSE) fixed = &model;
  ASSERT_NE(fixed, nullptr);
  report::printer_config config;
  const report::printer_config original = config;
  const std::string path = dir.path() + "prnconf.cfg";
  {
    Tdlg_printer_conf d(config, &*defs, path);
    d.take_model(*fixed);
    EXPECT_EQ(config.model_name, fixed->name);
    EXPECT_EQ(config.code_page, fixed->letters - 1);
    EXPECT_FALSE(d.letters->isEnabled());
    EXPECT_EQ(d.letters->currentIndex(), fixed->letters - 1);
    for (auto* b : d.findChildren<QPushButton*>())
      if (b->text() == "&Zrezygnuj") b->click();
  }
  EXPECT_EQ(config, original);
  EXPECT_FALSE(std::filesystem::exists(path));
  {
    Tdlg_printer_conf d(config, &*defs, path);
    d.take_model(*fixed);
    ASSERT_TRUE(d.save());
  }
  EXPECT_EQ(std::filesystem::file_size(path), report::printer_config_size);
  const report::printer_config_read back = report::read_printer_config(path);
  EXPECT_EQ(back.config.model_name, fixed->name);
}

} // namespace
