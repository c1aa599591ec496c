// The print configuration dialog: the order rules of the parts' tree, the per-chapter entries,
// the buttons without any part, the page range, the rules between options and the method
// pages keeping their options.
#include "app/app_support.h"
#include "app/print_command.h"
#include "app/print_config_dialog.h"
#include "printouts/print_dispatcher.h"
#include "shell/print_block.h"
#include "shell/print_look.h"
#include "store/codepage.h"

#include <QFileInfo>
#include <QPushButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using namespace kovra;
using namespace kovra::app;

namespace {

int position(const std::vector<int>& v, int code) {
  return int(std::find(v.begin(), v.end(), code) - v.begin());
}

printouts::print_document open_demo(test::program_fixture& f, const char* which) {
  printouts::print_document doc;
  std::string error;
  EXPECT_TRUE(printouts::open_print_document(f.demo(which), doc, error)) << error;
  return doc;
}

TEST(PrintConfig, PartsOrderChapterEntriesAndButtons) {
  test::program_fixture f;
  test::test_app();
  printouts::print_document doc = open_demo(f, "demo_house");
  Tdlg_print_config d(doc);
  EXPECT_FALSE(d.has_entry(145));  // no "z rozdziałów" entries for a simple estimate

  // "Kosztorys" moves past "Zestawienie robocizny", and the print order keeps it.
  std::vector<int> order = d.top_level_order();
  ASSERT_EQ(position(order, 45), position(order, 40) + 1);
  EXPECT_TRUE(d.move_part(40, 1));
  d.store_tree();
  std::vector<int> stored = shell::print_order(doc.block.data());
  EXPECT_LT(position(stored, 45), position(stored, 40));
  // It never passes "Spis treści", and "Strona tytułowa" stays first.
  while (d.move_part(40, 1)) {}
  order = d.top_level_order();
  EXPECT_EQ(order[position(order, 40) + 1], 100);
  EXPECT_FALSE(d.move_part(10, 1));
  EXPECT_FALSE(d.move_part(100, -1));

  // Nothing printed: no printing and no preview.
  for (const auto& p : shell::print_parts())
    if (p.code >= 10) d.set_included(p.code, false);
  EXPECT_FALSE(d.btn_print->isEnabled());
  EXPECT_FALSE(d.btn_preview->isEnabled());
  d.set_included(45, true);
  EXPECT_TRUE(d.btn_print->isEnabled());
  EXPECT_TRUE(d.btn_preview->isEnabled());

  // A compound estimate: the per-chapter entry under its part; including only it prints the part.
  printouts::print_document multi = open_demo(f, "demo_compound");
  Tdlg_print_config c(multi);
  ASSERT_TRUE(c.has_entry(145));
  for (const auto& p : shell::print_parts())
    if (p.code >= 10) c.set_included(p.code, false);
  c.set_included(145, true);
  EXPECT_TRUE(c.btn_print->isEnabled());
  c.store_tree();
  EXPECT_EQ(printouts::parts_to_print(multi.block.data(), true, {}), std::vector<int>{45});
}

TEST(PrintConfig, PageRangeOptionRulesAndMethodPages) {
  test::program_fixture f;
  test::test_app();
  printouts::print_document doc = open_demo(f, "demo_house");
  Tdlg_print_config d(doc);

  d.select_part(1);
  ASSERT_TRUE(d.set_option("Numer pierwszej strony", "3"));
  ASSERT_TRUE(d.set_option("Zakres stron:", "4"));
  printouts::page_range r = printouts::page_range_of(printouts::read_device_options(doc.block.data()));
  EXPECT_EQ(r.first, 4);
  EXPECT_EQ(r.last, 4);
  ASSERT_TRUE(d.set_option("Zakres stron:", "2-12000"));  // the first at least the first page number
  r = printouts::page_range_of(printouts::read_device_options(doc.block.data()));
  EXPECT_EQ(r.first, 3);
  EXPECT_EQ(r.last, 9999);
  ASSERT_TRUE(d.set_option("Cały dokument", "on"));
  r = printouts::page_range_of(printouts::read_device_options(doc.block.data()));
  EXPECT_EQ(r.first, 3);
  EXPECT_EQ(r.last, 9999);

  // Method pages: FORMUŁA I's options wait while FORMUŁA II is shown.
  d.select_part(5);
  ASSERT_TRUE(d.set_option("zgodne z ustawieniami w kosztorysie", "off"));
  ASSERT_TRUE(d.set_option("FORMUŁA I", "on"));
  d.select_part(40);
  EXPECT_EQ(d.shown_method(), printouts::print_method::formula_1);
  ASSERT_TRUE(d.set_option("Z notatką", "on"));
  d.select_part(5);
  ASSERT_TRUE(d.set_option("FORMUŁA II", "on"));
  d.select_part(40);
  EXPECT_NE(d.findChild<QRadioButton*>("RMS razem"), nullptr);
  ASSERT_TRUE(d.set_option("Pełny", "on"));
  ASSERT_TRUE(d.set_option("Z narzutami", "on"));
  EXPECT_TRUE(d.option_enabled("Z wyliczeniami ilości"));
  EXPECT_TRUE(d.option_enabled("Nie pokazuj VAT w pozycjach"));
  ASSERT_TRUE(d.set_option("Uproszczony", "on"));  // only "Pełny" shows the survey
  EXPECT_FALSE(d.option_enabled("Z wyliczeniami ilości"));
  EXPECT_FALSE(d.option_enabled("Nie pokazuj VAT w pozycjach"));
  EXPECT_FALSE(d.option_enabled("Z podsumowaniem rozdziałów"));  // a simple estimate
  d.select_part(5);
  ASSERT_TRUE(d.set_option("Bez cen i wartości", "on"));
  EXPECT_FALSE(d.option_enabled("Drukuj formuły narzutów"));
  d.select_part(40);
  EXPECT_FALSE(d.option_enabled("Z narzutami"));
  EXPECT_FALSE(d.option_checked("Z narzutami"));
  EXPECT_FALSE(d.set_option("Z narzutami", "on"));
  d.select_part(5);
  ASSERT_TRUE(d.set_option("FORMUŁA I", "on"));
  d.select_part(40);
  EXPECT_TRUE(d.option_checked("Z notatką"));
}

TEST(PrintConfig, TitlePageExportOnlyWithATemplate) {
  test::program_fixture f;
  test::test_app();
  printouts::print_document doc = open_demo(f, "demo_house");
  Tdlg_print_config d(doc);
  d.template_folder = QString::fromStdString(f.tmp.path());  // no templates there
  d.select_part(10);
  ASSERT_NE(d.findChild<QPushButton*>("btn_title_odt"), nullptr);
  EXPECT_FALSE(d.findChild<QPushButton*>("btn_title_odt")->isEnabled());
  d.template_folder = KOVRA_SOURCE_DIR "/data";
  d.select_part(1);
  d.select_part(10);
  EXPECT_TRUE(d.findChild<QPushButton*>("btn_title_odt")->isEnabled());
  const QString merged = d.export_title_page(printouts::template_kind::odt, false);
  EXPECT_EQ(merged.toStdString(), printouts::title_output_path(doc.path, printouts::template_kind::odt));
  EXPECT_TRUE(QFileInfo(merged).size() > 0);
}

// The settings stay for the rest of the session; "&Anuluj" keeps the options set but not a
// new order of the parts (the order is stored by "OK", "&Drukuj" and "&Podgląd").
TEST(PrintConfig, SettingsStayForTheSession) {
  test::program_fixture f;
  test::test_app();
  reset_print_session();
  const std::string path = f.demo("demo_house");
  int recalculations = 0;
  for (const char* button : {"OK", "&Anuluj"}) {
    test::click_later([button] {
      auto* d = qobject_cast<Tdlg_print_config*>(QApplication::activeModalWidget());
      ASSERT_NE(d, nullptr);
      d->move_part(40, 1);
      d->set_included(50, true);
      for (auto* b : d->findChildren<QPushButton*>())
        if (b->text() == button) b->click();
    });
    configure_print(nullptr, path, [&] { ++recalculations; });
  }
  EXPECT_EQ(recalculations, 2);  // after either button
  const std::vector<uint8_t>& block = current_print_session().blocks.at(path);
  const std::vector<int> order = shell::print_order(block.data());
  EXPECT_LT(position(order, 45), position(order, 40));  // the first run's move
  EXPECT_GT(position(order, 50), position(order, 40));  // the cancelled run's move is not kept
  EXPECT_EQ(block[shell::print_offset::include + 50], 1);
  reset_print_session();
}

// "Czcionki i kolory": the look edited in place, written to the ini file on "OK" (read back
// as saved) and put back as it was on "&Anuluj".
TEST(PrintConfig, FontsAndColoursSavedOnOkRestoredOnCancel) {
  test::program_fixture f;
  test::test_app();
  shell::reset_print_look();
  QTemporaryDir dir;
  const std::string ini = dir.filePath("kovra.ini").toStdString();
  printouts::print_document doc = open_demo(f, "demo_house");
  {
    Tdlg_print_config d(doc);
    d.look_ini_path = ini;
    d.select_part(2);
    auto* spacing = d.findChild<QSpinBox*>("Odstęp między wierszami");
    auto* outer = d.findChild<QSpinBox*>("Zewnętrzne");
    ASSERT_TRUE(spacing && outer);
    spacing->setValue(40);  // beyond 28: held at 28
    outer->setValue(12);
    QFont big("DejaVu Sans", 14);
    big.setBold(true);
    big.setItalic(true);
    d.set_element_font(1, big);
    d.set_element_colour(3, QColor(255, 128, 0));
    d.accept();
  }
  shell::reset_print_look();
  shell::load_print_look(ini);
  const shell::print_look& saved = shell::current_print_look();
  EXPECT_EQ(saved.line_spacing, 28);
  EXPECT_EQ(saved.outer_rule, 12);
  EXPECT_EQ(saved.inner_rule, 1);
  EXPECT_EQ(saved.design.fonts[1].face, "DejaVu Sans");
  EXPECT_EQ(saved.design.fonts[1].size, 14);
  EXPECT_EQ(saved.design.fonts[1].style, 3);       // bold 1 + italic 2
  EXPECT_EQ(saved.design.elements[3].colour, 0x0080FFu);  // stored as blue, green, red

  {
    Tdlg_print_config d(doc);
    d.look_ini_path = ini;
    d.select_part(2);
    d.findChild<QSpinBox*>("Wewnętrzne")->setValue(300);
    d.set_element_colour(3, QColor(0, 0, 0));
    EXPECT_EQ(shell::current_print_look().inner_rule, 300);  // in force while the dialog is open
    d.reject();
  }
  EXPECT_EQ(shell::current_print_look().inner_rule, 1);
  EXPECT_EQ(shell::current_print_look().design.elements[3].colour, 0x0080FFu);
  shell::reset_print_look();
}

// "Nagłówek" and "Stopka" edit their band definitions in the block: the new definitions'
// items, reordering, justification, the line and the free text.
TEST(PrintConfig, HeaderAndFooterEditors) {
  test::program_fixture f;
  test::test_app();
  printouts::print_document doc = open_demo(f, "demo_house");
  shell::default_header_definition(doc.block.data() + shell::print_offset::header_definition);
  shell::default_footer_definition(doc.block.data() + shell::print_offset::footer_definition);
  Tdlg_print_config d(doc);
  const uint8_t* header = doc.block.data() + shell::print_offset::header_definition;
  d.select_part(3);
  auto* list = d.findChild<QListWidget*>("band_items");
  auto* justify = d.findChild<QComboBox*>("Justyfikacja");
  ASSERT_TRUE(list && justify);
  ASSERT_EQ(list->count(), 7);
  EXPECT_EQ(list->item(0)->text(), "Logo Kovra");
  EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(list->item(3)->checkState(), Qt::Unchecked);  // "Nazwa z danych ogólnych"
  EXPECT_EQ(justify->currentIndex(), 2);                   // the logo on the right
  list->setCurrentRow(1);                                  // "Nazwa pliku", on the left
  EXPECT_EQ(justify->currentIndex(), 0);
  d.findChild<QPushButton*>("band_up")->click();
  EXPECT_EQ(header[104], 2);  // slot 1 now holds the file name, slot 2 the logo
  EXPECT_EQ(header[109], 1);
  EXPECT_EQ(list->currentRow(), 0);
  justify->setCurrentIndex(1);
  EXPECT_EQ(header[104 + 4], 1);
  list->item(3)->setCheckState(Qt::Checked);
  EXPECT_EQ(header[104 + 15 + 1], 1);
  d.findChild<QCheckBox*>("Linia oddzielająca")->setChecked(true);
  EXPECT_EQ(header[2], 1);
  auto* text = d.findChild<QLineEdit*>("Dowolny tekst");
  text->setText(QStringLiteral("Żółw"));
  emit text->textEdited(text->text());
  EXPECT_EQ(store::mazovia_to_utf8(reinterpret_cast<const char*>(header + 3)), "Żółw");

  d.select_part(4);
  list = d.findChild<QListWidget*>("band_items");
  ASSERT_EQ(list->count(), 7);
  int selected = 0;
  for (int i = 0; i < 7; ++i) selected += list->item(i)->checkState() == Qt::Checked;
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(list->item(3)->checkState(), Qt::Checked);  // only the name from the general data
}

// The parts' own pages: the annexes printed only with UPZP (and the part with any of them),
// the UPZP bill of quantities, the element table's layouts of FORMUŁA II, and the title page's
// values left out while the printout has no prices.
TEST(PrintConfig, AnnexUpzpElementTableAndTitlePages) {
  test::program_fixture f;
  test::test_app();
  printouts::print_document doc = open_demo(f, "demo_house");
  Tdlg_print_config d(doc);
  d.select_part(5);
  ASSERT_TRUE(d.set_option("zgodne z ustawieniami w kosztorysie", "off"));
  ASSERT_TRUE(d.set_option("FORMUŁA II", "on"));
  d.select_part(85);
  const QString detail = "Spis kalkulacji szczegółowych - załącznik 1 / Drukuj";
  EXPECT_FALSE(d.option_enabled(detail));
  EXPECT_FALSE(d.option_enabled("Drukuj"));
  EXPECT_FALSE(printouts::part_included(doc.block.data(), 85));
  d.select_part(70);
  EXPECT_TRUE(d.option_enabled("Szczegółowe koszty elementów"));
  ASSERT_TRUE(d.set_option("Szczegółowe koszty elementów", "on"));

  d.select_part(5);
  ASSERT_TRUE(d.set_option("Inwestorska UPZP", "on"));
  d.select_part(70);  // back to the first layout
  EXPECT_FALSE(d.option_enabled("Szczegółowe koszty elementów"));
  EXPECT_TRUE(d.option_checked("Wartość elementów z narzutami, RMS razem"));
  d.select_part(35);
  EXPECT_TRUE(d.option_enabled("Drukuj spis dzialów"));
  d.select_part(85);
  ASSERT_TRUE(d.set_option(detail, "on"));
  EXPECT_TRUE(printouts::part_included(doc.block.data(), 85));
  ASSERT_TRUE(d.set_option(detail, "off"));
  EXPECT_FALSE(printouts::part_included(doc.block.data(), 85));

  d.select_part(10);
  EXPECT_TRUE(d.option_enabled("Nie drukuj wartości kosztorysu"));
  d.select_part(5);
  ASSERT_TRUE(d.set_option("Bez cen i wartości", "on"));
  d.select_part(10);
  EXPECT_FALSE(d.option_enabled("Nie drukuj wartości kosztorysu"));
  EXPECT_TRUE(d.option_checked("Nie drukuj wartości kosztorysu"));
}

} // namespace
