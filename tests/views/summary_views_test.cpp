// The summary, results, overhead and additions pages on small estimates whose values are
// worked out by hand in the comments.
#include "views_support.h"

#include "calc/decimal_separator.h"
#include "calc/overhead_table.h"
#include "controls/std_grid.h"
#include "shell/config.h"
#include "shell/general_settings.h"
#include "shell/ini_form.h"
#include "shell/temp_folder.h"
#include "store/codepage.h"
#include "views/additions_view.h"
#include "views/cost_dialogs.h"
#include "views/kz_rates_dialog.h"
#include "document/general_data.h"
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include "views/overhead_summary_view.h"
#include "views/overheads_view.h"
#include "views/results_view.h"
#include "views/summary_view.h"

#include <QCheckBox>
#include <QClipboard>
#include <QRadioButton>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

using namespace kovra;
using namespace kovra::views;
using test::add_element;
using test::add_input;
using test::add_position;
using test::add_price;

namespace {

// One position of quantity 2: labour 1001 at 20.00 with norm 3 (6 r-g, 120.00), cement at
// 11.00 (base 10.00, Kz 10 %) with norm 0.5 (1 unit, 11.00), blocks at 0.00 with norm 4
// (8 units), a mixer at 50.00 with norm 0.25 (0.5 m-g, 25.00). Kp 60 % on R and S, VAT 23 %.
calc::estimate_model house(uint8_t method) {
  calc::estimate_model m = test::plain_model();
  m.settings.calc_method = method;
  m.settings.overheads_per_position = method == calc::method_formula_2 ? 0 : 1;
  add_price(m, calc::kind_labour, 1001, "Murarze", "r-g", 20.00);
  add_price(m, calc::kind_material, 10, "Cement", "t", 11.00, 10.00);
  add_price(m, calc::kind_material, 11, "Bloczek", "szt", 0.00);
  add_price(m, calc::kind_equipment, 20, "Betoniarka", "m-g", 50.00);
  add_price(m, calc::kind_material, 12, "Wapno", "t", 300.00);  // priced, used nowhere: not listed
  add_element(m);
  calc::model_node& p = add_position(m, 2);
  add_input(p, calc::kind_labour, 1001, 3);
  add_input(p, calc::kind_material, 10, 0.5);
  add_input(p, calc::kind_material, 11, 4);
  add_input(p, calc::kind_equipment, 20, 0.25);
  test::set_rate(m, calc::row_kp, calc::col_r, 60);
  test::set_rate(m, calc::row_kp, calc::col_s, 60);
  test::set_rate(m, calc::row_vat, calc::col_running, 23);
  return m;
}

QStringList row_texts(Tfrm_zestrms& v, int row, std::initializer_list<int> cols) {
  QStringList out;
  for (int c : cols) out << v.cell_text(c, row);
  return out;
}

struct views_env : ::testing::Test {
  test::temp_folder tmp;
  void SetUp() override {
    test::views_app();
    calc::set_system_decimal_separator('.');
    shell::reset_general_settings();
    shell::reset_ini_filename();
    shell::reset_config_path();
  }
  void TearDown() override {
    shell::reset_general_settings();
    shell::reset_ini_filename();
    shell::reset_config_path();
    calc::reset_system_decimal_separator();
  }
};

using SummaryPages = views_env;
using OtherPages = views_env;

} // namespace

TEST_F(SummaryPages, SimpleEstimateLinesClosingRowsFiltersAndCopy) {
  test::test_host host;
  host.set_simple(house(calc::method_formula_2));

  Tfrm_zestrms m(host, 1, false);
  m.activate(0);
  // Name order: Bloczek, Cement (not the unused lime); then the four closing rows of materials.
  ASSERT_EQ(m.rows().shown_count(), 2);
  EXPECT_EQ(m.grid()->row_count(), 1 + 2 + 4);
  EXPECT_EQ(m.cell_text(8, 0), "Cena z k.z.");
  EXPECT_EQ(row_texts(m, 2, {0, 1, 2, 3, 4, 5, 6, 8, 10, 11, 12, 13}),
            (QStringList{"2.", "10", "Cement", "t", "1", "10.00", "10.00 %", "11.00", "11.00", "-", "", ""}));
  EXPECT_EQ(row_texts(m, 1, {2, 4, 8, 10}), (QStringList{"Bloczek", "8", "", ""}));
  EXPECT_EQ(m.cell_text(0, 3), "Uproszczone :");
  EXPECT_EQ(m.cell_text(10, 3), "");  // 0 shows blank
  EXPECT_EQ(m.cell_text(0, 6), "Razem (z dokładnością do zaokrągleń):");
  EXPECT_EQ(m.cell_text(10, 6), "11.00");
  // Columns of a compound summary do not exist in a simple one.
  EXPECT_EQ(m.grid()->get_col_widths(sc_min_price), -1);
  EXPECT_GT(m.grid()->get_col_widths(sc_mp), 1);

  // Filters: the zero prices keep the blocks, the non-zero the cement; the closing rows stay.
  m.set_filter(summary_rows::zero_prices);
  EXPECT_EQ(m.cell_text(2, 1), "Bloczek");
  EXPECT_EQ(m.grid()->row_count(), 1 + 1 + 4);
  m.set_filter(summary_rows::nonzero_prices);
  EXPECT_EQ(m.cell_text(2, 1), "Cement");
  m.set_filter(summary_rows::all_prices);

  // Labour: 6 r-g at 20.00; its total row carries the man-hours under "Ilość".
  Tfrm_zestrms r(host, 0, false);
  r.activate(0);
  EXPECT_EQ(row_texts(r, 1, {1, 2, 3, 4, 8, 10}), (QStringList{"1001", "Murarze", "r-g", "6", "20.00", "120.00"}));
  EXPECT_EQ(r.cell_text(8, 0), "Cena");
  for (int col : {5, 6, 7, 9, 11, 12, 13}) EXPECT_EQ(r.grid()->get_col_widths(col), -1) << col;
  EXPECT_EQ(row_texts(r, 3, {0, 4, 10}), (QStringList{"Razem (z dokładnością do zaokrągleń):", "6", "120.00"}));

  // Equipment: the one-off costs open its closing rows.
  Tfrm_zestrms s(host, 2, false);
  s.activate(0);
  EXPECT_EQ(row_texts(s, 1, {2, 4, 8, 10}), (QStringList{"Betoniarka", "0.5", "50.00", "25.00"}));
  EXPECT_EQ(s.cell_text(0, 2), "Koszty jednorazowe sprzętu :");
  EXPECT_EQ(row_texts(s, 6, {4, 10}), (QStringList{"0.5", "25.00"}));

  // The clipboard: the CSV summary's columns, tab-separated, numbers with "." unpadded.
  calc::set_system_decimal_separator(',');
  m.copy_rows();
  EXPECT_EQ(QApplication::clipboard()->text(),
            "Lp.\tKod\tNazwa\tJedn.\tIlość\tCena\tWartość\n"
            "1\t11\tBloczek\tszt\t8\t0.00\t0.00\n"
            "2\t10\tCement\tt\t1\t11.00\t11.00\n"
            "\t\tUproszczone :\t\t\t\t0.00\n"
            "\t\tMateriały pomocnicze (Robocizna):\t\t\t\t0.00\n"
            "\t\tMateriały pomocnicze (Materiały):\t\t\t\t0.00\n"
            "\t\tRazem (z dokładnością do zaokrągleń):\t\t\t\t11.00\n");
  // Ctrl+C in the page copies the same text.
  QApplication::clipboard()->clear();
  m.show();
  m.activateWindow();
  QApplication::setActiveWindow(&m);
  m.grid()->setFocus();
  QTest::keyClick(m.grid(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith("Lp.\tKod\tNazwa"));
  // On the screen the user's separator.
  EXPECT_EQ(m.cell_text(8, 2), "11,00");
}

TEST_F(SummaryPages, SortAndHiddenColumnsSurviveARestart) {
  const std::string cfg = tmp.path() + "kovra.cfg", ini = tmp.path() + "kovra.ini";
  {
    shell::Config c;
    ASSERT_TRUE(shell::open_config(c, cfg));  // a new file with the defaults
    shell::close_config(c);
  }
  shell::set_config_path(cfg);
  ASSERT_FALSE(shell::set_ini_filename(ini).has_value());
  test::test_host host;
  host.set_simple(house(calc::method_formula_2));
  {
    Tfrm_zestrms m(host, 1, false);
    m.activate(0);
    EXPECT_EQ(m.sort_column(), sc_name);
    m.click_head(sc_value);  // by value, ascending: Bloczek (0.00) first
    EXPECT_EQ(m.cell_text(2, 1), "Bloczek");
    m.click_head(sc_value);  // the same title again reverses
    EXPECT_FALSE(m.ascending());
    EXPECT_EQ(m.cell_text(2, 1), "Cement");
    m.click_head(sc_unit);   // "Jedn." does not sort
    EXPECT_EQ(m.sort_column(), sc_value);
    // Hiding ETO and the sort column: the sort moves to the next shown sortable column on
    // the right, "Mp" (11) does not sort, so "Ilość inw." (12).
    m.set_hidden_mask(uint16_t((1u << sc_eto) | (1u << sc_value) | (1u << sc_name)));
    EXPECT_EQ(m.grid()->get_col_widths(sc_eto), 1);
    EXPECT_EQ(m.grid()->get_col_widths(sc_value), 1);
    EXPECT_GT(m.grid()->get_col_widths(sc_name), 1);  // the name cannot be hidden
    EXPECT_EQ(m.sort_column(), sc_investor_quantity);
    m.sort_by(sc_price, false);
  }
  // A new start: settings read from the file, a new page.
  shell::reset_general_settings();
  ASSERT_TRUE(shell::load_general_settings(shell::general_settings(), cfg));
  EXPECT_EQ(shell::general_settings().hidden_columns(1), (1 << sc_eto) | (1 << sc_value));
  EXPECT_EQ(shell::general_settings().hidden_columns(0), 0);
  Tfrm_zestrms again(host, 1, false);
  again.activate(0);
  EXPECT_FALSE(again.column_shown(sc_eto));
  EXPECT_FALSE(again.column_shown(sc_value));
  EXPECT_EQ(again.sort_column(), sc_price);
  EXPECT_FALSE(again.ascending());
  EXPECT_EQ(again.cell_text(2, 1), "Cement");
  // The labour summary kept its own (default) sort; a materials-only sort column would
  // not apply to it anyway.
  Tfrm_zestrms labour(host, 0, false);
  labour.activate(0);
  EXPECT_EQ(labour.sort_column(), sc_name);
}

TEST_F(OtherPages, ResultsOverheadsAndAdditionsByCalculationMethod) {
  // FORMUŁA II: Kp 60 % of (120 + 25) = 87.00, net 243.00, VAT 23 % = 55.89, gross 298.89.
  // Shares: 120/298.89 = 40.1 %, 11/298.89 = 3.7 %, 25/298.89 = 8.4 %, 87/298.89 = 29.1 %,
  // 55.89/298.89 = 18.7 %.
  struct expected {
    uint8_t method;
    QString title, info;
    QStringList names, amounts, shares;
    int bar;  // of the labour in a chart column 220 wide: 200 x 120 / the listed values' sum
  };
  const expected cases[] = {
      {calc::method_formula_2, "Podsumowanie kosztorysu", "Metoda kalkulacji: FORMUŁA II, Narzuty: wyliczane dla elementu",
       {"Robocizna", "Materiały", "Sprzęt", "Koszty pośrednie", "VAT"},
       {"120.00", "11.00", "25.00", "87.00", "55.89"},
       {"40.1", "3.7", "8.4", "29.1", "18.7"},
       80},  // 298.89
      // FORMUŁA I: the overheads go into the positions' prices and are not listed; the
      // gross total is the same.
      {calc::method_formula_1, "Koszty Bezpośrednie", "Metoda kalkulacji: FORMUŁA I, Narzuty: wyliczane dla pozycji",
       {"Robocizna", "Materiały", "Sprzęt", "VAT"},
       {"120.00", "11.00", "25.00", "55.89"},
       {"40.1", "3.7", "8.4", "18.7"},
       113},  // 211.89
  };
  for (const expected& e : cases) {
    SCOPED_TRACE(e.title.toStdString());
    test::test_host host;
    host.set_simple(house(e.method));
    Tfrm_wyniki w(host, false);
    w.resize(600, 300);
    w.activate(0);
    EXPECT_EQ(w.title(), e.title);
    QStringList names, amounts, shares;
    for (const result_row& r : w.rows()) names << r.name, amounts << r.amount, shares << r.share.trimmed();
    EXPECT_EQ(names, e.names);
    EXPECT_EQ(amounts, e.amounts);
    EXPECT_EQ(shares, e.shares);
    EXPECT_EQ(w.bar_length(0, 220), e.bar);

    Tfrm_ovrhd o(host, false);
    o.activate(0);
    EXPECT_EQ(o.information().split('\n').first(), e.info);
    ASSERT_EQ(o.rows().size(), 11u);
    EXPECT_EQ(o.titles().size(), 9);
    EXPECT_EQ(o.rows()[0].mid(1), (QStringList{"60.00", "", "60.00", "", "", "", "", e.method == calc::method_formula_2 ? "87.00" : ""}));
    EXPECT_EQ(o.rows()[10].mid(7), (QStringList{"23.00", "55.89"}));
  }

  // A negative component: no shares; the bar of the negative line is there, outlined.
  test::test_host neg;
  calc::estimate_model m = house(calc::method_formula_2);
  m.additions = {{store::utf8_to_mazovia("Rabat"), -50.00}};
  neg.set_simple(std::move(m));
  Tfrm_wyniki w(neg, false);
  w.activate(0);
  for (const result_row& r : w.rows()) EXPECT_TRUE(r.share.isEmpty()) << r.name.toStdString();
  EXPECT_EQ(w.rows()[4].name, "Dodatki");
  EXPECT_EQ(w.rows()[4].amount, "-50.00");

  // Additions: the listed ones, the empty next row, the total; none: a blank total.
  Tfrm_dodatki d(neg, nullptr);
  d.activate(0);
  EXPECT_EQ(d.grid()->row_count(), 1 + 3);
  EXPECT_EQ((QStringList{d.cell_text(0, 1), d.cell_text(1, 1), d.cell_text(2, 1)}), (QStringList{"1.", "Rabat", "-50.00"}));
  EXPECT_EQ(d.cell_text(0, 2), "2.");
  EXPECT_EQ((QStringList{d.cell_text(0, 3), d.cell_text(2, 3)}), (QStringList{"Razem:", "-50.00"}));
  test::test_host none;
  none.set_simple(house(calc::method_formula_2));
  Tfrm_dodatki empty(none, nullptr);
  empty.activate(0);
  EXPECT_EQ(empty.grid()->row_count(), 1 + 2);
  EXPECT_EQ(empty.cell_text(0, 1), "1.");
  EXPECT_EQ(empty.cell_text(2, 2), "");
}

TEST_F(OtherPages, CompoundSummariesOverheadSummaryAndAdditions) {
  // Chapter 1: 10 units of cement at 11.00 (base 10.00) and 10 r-g at 20.00; chapter 2: 30
  // units at 12.00 and 30 r-g at 20.00. Kp 50 % of R in both: 100.00 and 300.00. Additions:
  // 100.00 and 50.00 in the chapters, 20.00 of the compound's own.
  auto chapter = [](const char* number, double price, double qty, double addition) {
    calc::chapter_model ch;
    ch.number = number;
    ch.doc = test::plain_model();
    ch.doc.settings.name = std::string(number) == "1" ? "Roboty" : "Dach";
    add_price(ch.doc, calc::kind_material, 1, "Cement", "t", price, 10.00);
    add_price(ch.doc, calc::kind_labour, 5, "Murarze", "r-g", 20.00);
    add_element(ch.doc);
    calc::model_node& p = add_position(ch.doc, qty);
    add_input(p, calc::kind_material, 1, 1);
    add_input(p, calc::kind_labour, 5, 1);
    test::set_rate(ch.doc, calc::row_kp, calc::col_r, 50);
    ch.doc.additions = {{"A", addition}};
    return ch;
  };
  calc::compound_model c;
  c.overheads = calc::default_standard_overheads();
  c.chapters.push_back(chapter("1", 11.00, 10, 100.00));
  c.chapters.push_back(chapter("2", 12.00, 30, 50.00));
  c.additions = {{store::utf8_to_mazovia("Nadzór"), 20.00}};
  test::test_host host;
  host.set_compound(std::move(c));

  // Materials: 40 units worth 110 + 360 = 470.00, average 470 / 40 = 11.75 within 11.00 and
  // 12.00; average base price 10.00, so the purchase costs (mode 7) show 11.75/10 - 1 = 17.5 %.
  Tfrm_zestrms m(host, 1, true);
  m.activate(0);
  EXPECT_EQ(m.cell_text(8, 0), "Cena śr");
  EXPECT_EQ(m.grid()->get_col_widths(sc_mp), -1);
  EXPECT_EQ(row_texts(m, 1, {2, 4, 5, 6, 7, 8, 9, 10}),
            (QStringList{"Cement", "40", "10.00", "17.50 %", "11.00", "11.75", "12.00", "470.00"}));
  EXPECT_EQ(row_texts(m, 5, {0, 10}), (QStringList{"Razem (z dokładnością do zaokrągleń):", "470.00"}));
  Tfrm_zestrms r(host, 0, true);
  r.activate(0);
  EXPECT_EQ(row_texts(r, 1, {4, 7, 8, 9, 10}), (QStringList{"40", "20.00", "20.00", "20.00", "800.00"}));

  // The overhead summary: Kp 400.00; VAT named for the global additions; the details list
  // each chapter's formula and amount and their sum.
  Tfrm_zest_N n(host);
  n.activate(0);
  ASSERT_EQ(n.rows().size(), 11u);
  EXPECT_EQ(n.rows()[0], (QStringList{"Koszty pośrednie", "400.00"}));
  EXPECT_TRUE(n.rows()[10][0].endsWith(" (bez VAT od dodatków globalnych)"));
  n.show_details(true);
  n.select_row(1);
  const auto& lines = n.details()->lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0][0], "1  Roboty");
  EXPECT_TRUE(lines[0][1].contains("50.00%R")) << lines[0][1].toStdString();
  EXPECT_EQ(lines[0][2], "100.00");
  EXPECT_EQ(lines[1][2], "300.00");
  EXPECT_EQ((QStringList{lines[2][0], lines[2][2]}), (QStringList{"Razem:", "400.00"}));

  // Results: R 800, M 470, Kp 400, additions 170; gross 1 840.00 (no VAT).
  Tfrm_wyniki w(host, true);
  w.activate(0);
  QStringList names, shares;
  for (const result_row& row : w.rows()) names << row.name, shares << row.share.trimmed();
  EXPECT_EQ(names, (QStringList{"Robocizna", "Materiały", "Koszty pośrednie", "Dodatki"}));
  EXPECT_EQ(shares, (QStringList{"43.5", "25.5", "21.7", "9.2"}));

  Tfrm_dodatki d(host);
  d.activate(0);
  EXPECT_EQ((QStringList{d.cell_text(1, 1), d.cell_text(2, 1)}), (QStringList{"Nadzór", "20.00"}));
  EXPECT_EQ((QStringList{d.cell_text(0, 3), d.cell_text(2, 3)}), (QStringList{"Razem rozdziały:", "150.00"}));
  EXPECT_EQ((QStringList{d.cell_text(0, 4), d.cell_text(2, 4)}), (QStringList{"Razem:", "170.00"}));

  // Without chapters: "Brak rozdziałów." and no details.
  test::test_host bare;
  calc::compound_model empty;
  empty.overheads = calc::default_standard_overheads();
  bare.set_compound(std::move(empty));
  Tfrm_zest_N none(bare);
  none.activate(0);
  EXPECT_FALSE(none.has_chapters());
  none.show_details(true);
  EXPECT_FALSE(none.details_shown());
}

TEST_F(OtherPages, PositionCostDialogsByMethod) {
  // The house's position (node 1) of quantity 2. FORMUŁA II, whole quantities: direct costs
  // R 120.00, M 11.00, S 25.00; Kp 60 % of R 72.00 and of S 15.00; net 243.00, VAT 55.89,
  // gross 298.89.
  test::test_host host;
  host.set_simple(house(calc::method_formula_2));
  Tdlg_sum vat(*host.simple, node_index_of(*host.simple, 1));
  const cost_sheet& a = vat.sheet();
  EXPECT_EQ(vat.objectName(), "Tdlg_sum_vat");
  EXPECT_EQ(vat.windowTitle(), "Koszty pozycji");
  EXPECT_EQ(a.title, "Koszty pozycji - Metoda kalkulacji: FORMUŁA II, narzuty dla Elementu");
  ASSERT_EQ(a.lines.size(), 6u);
  EXPECT_EQ(a.lines[0].label, "Koszty bezpośrednie");
  EXPECT_DOUBLE_EQ(a.lines[0].total, 156.00);
  EXPECT_EQ(a.lines[1].label, "Koszty pośrednie");
  EXPECT_DOUBLE_EQ(a.lines[1].r, 72.00);
  EXPECT_DOUBLE_EQ(a.lines[1].s, 15.00);
  EXPECT_EQ(a.lines[2].label, "Wartość pozycji\n(bez VAT)");
  EXPECT_DOUBLE_EQ(a.lines[2].total, 243.00);
  EXPECT_DOUBLE_EQ(a.lines[3].total, 55.89);
  EXPECT_DOUBLE_EQ(a.lines[4].total, 298.89);

  // FORMUŁA I, one unit: R 60.00, M 5.50, S 12.50, Kp 36.00 + 7.50; unit value 121.50, the
  // position 243.00.
  test::test_host one;
  one.set_simple(house(calc::method_formula_1));
  Tdlg_sum unit(*one.simple, 1);
  const cost_sheet& b = unit.sheet();
  EXPECT_EQ(b.dialog, "Tdlg_sum_unit");
  EXPECT_EQ(b.header, "Podsumowanie pozycji bez VAT");
  ASSERT_EQ(b.lines.size(), 4u);
  EXPECT_DOUBLE_EQ(b.lines[0].m, 5.50);
  EXPECT_DOUBLE_EQ(b.lines[1].total, 43.50);
  EXPECT_EQ(b.lines[2].label, "Wartość jednostkowa pozycji");
  EXPECT_DOUBLE_EQ(b.lines[2].total, 121.50);
  EXPECT_DOUBLE_EQ(b.lines[3].total, 243.00);
  // The element is no position: no sheet.
  EXPECT_TRUE(position_cost_sheet(*one.simple, 0, false).dialog.isEmpty());
}

TEST_F(OtherPages, PurchaseCostRatesDialog) {
  // A compound estimate and two chapters: the values of the second copied to all, then
  // stored as the percentage plus one.
  document::general_data compound, first, second;
  second.set_kz_rate_other(12.5f);
  second.set_kz_rate_simplified(3.0f);
  Tdlg_set_kz d({{"Kosztorys", &compound}, {"1  Roboty ziemne", &first}, {"2  Fundamenty", &second}});
  EXPECT_FALSE(d.set_all_button()->isHidden());
  EXPECT_EQ(d.other_edit()->text(), "");  // a rate never set (0) shows blank
  d.list()->setCurrentRow(2);
  EXPECT_EQ(d.other_edit()->text(), "12.50");
  d.simplified_edit()->setText("4,5");
  d.set_all();
  d.store();
  for (document::general_data* g : {&compound, &first, &second}) {
    EXPECT_FLOAT_EQ(g->kz_rate_other(), 12.5f);
    EXPECT_FLOAT_EQ(g->kz_rate_simplified(), 4.5f);
  }
  EXPECT_FLOAT_EQ(document::get_f32(compound.at(document::gd::KZ_RATE_OTHER)), 13.5f);
  // A simple estimate has no "&Ustaw wszystkie".
  Tdlg_set_kz simple({{"Kosztorys", &first}});
  EXPECT_TRUE(simple.set_all_button()->isHidden());
}

TEST_F(SummaryPages, SortAndColumnDialogsOfALabourSummary) {
  test::test_host host;
  host.set_simple(house(calc::method_formula_2));
  Tfrm_zestrms r(host, 0, false);
  r.activate(0);
  // The sort dialog: the materials' and the compound's columns disabled; "&Wartość" and
  // "&Malejąco" chosen.
  QStringList disabled;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Sortowanie");
    for (QRadioButton* b : d->findChildren<QRadioButton*>()) {
      if (!b->isEnabled()) disabled << b->text();
      if (b->text() == "&Wartość" || b->text() == "&Malejąco") b->setChecked(true);
    }
    d->accept();
  });
  EXPECT_TRUE(r.open_sort_dialog());
  EXPECT_EQ(disabled, (QStringList{"Cena &wyj.", "&Kz [%]", "Cena &min", "Cena ma&x", "Il&ość inwestora",
                                   "W&artość inwestora"}));
  EXPECT_EQ(r.sort_column(), sc_value);
  EXPECT_FALSE(r.ascending());
  // The column dialog: "&Nazwa" cannot be unchecked; unchecking "&ETO" hides it.
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    for (QCheckBox* c : d->findChildren<QCheckBox*>()) {
      if (c->text() == "&Nazwa") EXPECT_FALSE(c->isEnabled());
      if (c->text() == "&ETO") c->setChecked(false);
      if (c->text() == "Il&ość inwestora") EXPECT_FALSE(c->isChecked());
    }
    d->accept();
  });
  EXPECT_TRUE(r.open_columns_dialog());
  EXPECT_FALSE(r.column_shown(sc_eto));
  EXPECT_EQ(r.hidden_mask(), 1u << sc_eto);
}
