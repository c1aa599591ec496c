// Summary lines and groups, formula texts, method names and the compound summaries.
#include <gtest/gtest.h>

#include "calc/decimal_separator.h"
#include "calc/overhead_texts.h"
#include "calc/recalculation.h"
#include "calc/result_summaries.h"
#include "calc/rounding_settings.h"
#include "calc/summaries.h"
#include "calc_builders.h"
#include "store/codepage.h"

using namespace kovra::calc;
using namespace kovra::test;
using kovra::store::utf8_to_mazovia;

TEST(SummaryOrder, NamesByKindPolishAlphabetAndNumbers) {
  std::vector<price_record> p(5);
  const char* names[] = {"Źródło", "cement 4", "Żwir", "Cement 32,5", "Ce ment 4"};
  for (size_t i = 0; i < p.size(); ++i) {
    p[i].kind = kind_material;
    p[i].name = utf8_to_mazovia(names[i]);
  }
  p.push_back({});
  p.back().kind = kind_labour;
  p.back().name = "Robotnicy";
  // Cement 4 before Cement 32,5; names equal but for case and blanks keep their order;
  // Ż before Ź; the labour record is not in the walk.
  EXPECT_EQ(inputs_by_name(p, kind_material), (std::vector<int>{1, 4, 3, 2, 0}));
  estimate_model m;
  m.prices = p;
  const name_walk walk(m);  // a model without a name key walks by name
  EXPECT_EQ(walk.first_of_kind(kind_material), 1);
  EXPECT_EQ(walk.last_of_kind(kind_material), 0);
  EXPECT_EQ(walk.next_by_name(3), 2);
  EXPECT_EQ(walk.next_by_name(0), -1);
  EXPECT_EQ(walk.previous_by_name(1), -1);
  EXPECT_EQ(walk.first_of_kind(kind_labour), 5);
  EXPECT_EQ(walk.next_by_name(5), -1);
  EXPECT_EQ(find_input(p, 0, 0), 0);
}

TEST(SummaryOrder, TheNameKeyOfTheRecordsDecidesWhenThereIsOne) {
  estimate_model m;
  const char* names[] = {"Beton", "Antena", "Cegła"};
  for (const char* n : names) {
    m.prices.push_back({});
    m.prices.back().kind = kind_material;
    m.prices.back().name = n;
  }
  m.prices.push_back({});
  m.prices.back().kind = kind_labour;
  m.prices.back().name = "Robotnicy";
  // Without a key: by name.
  EXPECT_EQ(inputs_in_name_order(m, kind_material), (std::vector<int>{1, 0, 2}));
  // With the key as a file holds it (labour first, "Cegła" missing from it): the key's
  // order, other kinds skipped, the missing record after them.
  m.name_order = {3, 0, 1};
  EXPECT_EQ(inputs_in_name_order(m, kind_material), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(inputs_in_name_order(m, kind_labour), (std::vector<int>{3}));
  // The step-by-step walk follows the same key, not a new sort of the names.
  const name_walk walk(m);
  EXPECT_EQ(walk.first_of_kind(kind_material), 0);
  EXPECT_EQ(walk.next_by_name(0), 1);
  EXPECT_EQ(walk.next_by_name(1), 2);
  EXPECT_EQ(walk.previous_by_name(0), -1);
  EXPECT_EQ(walk.last_of_kind(kind_labour), 3);
  // Indexes out of range or repeated in a damaged key are ignored.
  m.name_order = {7, -1, 2, 2, 1, 0};
  EXPECT_EQ(inputs_in_name_order(m, kind_material), (std::vector<int>{2, 1, 0}));
}

TEST(SummaryLines, ValuesAndInvestorMaterial) {
  price_record r;
  r.kind = kind_material;
  r.id = 1900201;
  r.price = 11.00;
  r.base_price = 10.00;
  r.quantity = 3;
  r.kz_mode = 4;
  r.kz_value = 10;
  r.excluded_quantity = 2;
  summary_line l = summary_line_of(r);
  ASSERT_TRUE(l.number.has_value());
  EXPECT_EQ(*l.number, 1900201u);
  EXPECT_EQ(l.kz, kz_shown::percent);
  EXPECT_DOUBLE_EQ(l.value, 33.00);
  EXPECT_DOUBLE_EQ(l.excluded_value, 22.00);
  EXPECT_DOUBLE_EQ(l.base_price, 10.00);
  // The whole quantity supplied by the investor (mode 1): the line is worth 0.
  r.mp_mode = 1;
  r.investor_quantity = 3;
  EXPECT_DOUBLE_EQ(summary_line_of(r).value, 0);
  // Mode 2 removes only the base-price value: 33.00 − 30.00.
  r.mp_mode = 2;
  EXPECT_DOUBLE_EQ(summary_line_of(r).value, 3.00);
  r.id = 99999999;
  EXPECT_FALSE(summary_line_of(r).number.has_value());
}

TEST(SummaryGroups, ExtraLinesAndClosingLine) {
  estimate_totals t;
  t.labour = 100;
  t.simplified_labour = 20;
  t.labour_hours = 4;
  t.materials = 500;
  t.investor_materials = 50;
  t.materials_other = 10;
  t.materials_other_r = 4;
  t.materials_other_m = 6;
  t.simplified_materials = 30;
  t.equipment = 70;
  t.one_off = 30;
  t.equipment_other = 5;
  const std::string closing = utf8_to_mazovia("Razem (z dokładnością do zaokrągleń):");
  summary_group g = summary_group_of(t, kind_labour);
  EXPECT_EQ(g.extras.size(), 1u);
  EXPECT_EQ(g.closing_title, closing);
  EXPECT_DOUBLE_EQ(g.total, 120);
  EXPECT_DOUBLE_EQ(g.hours, 4);
  g = summary_group_of(t, kind_material);
  ASSERT_EQ(g.extras.size(), 3u);
  EXPECT_EQ(g.extras[1].title, utf8_to_mazovia("Materiały pomocnicze (Robocizna):"));
  EXPECT_DOUBLE_EQ(g.total, 500 - 50 + 10 + 30);
  g = summary_group_of(t, kind_equipment);
  ASSERT_EQ(g.extras.size(), 4u);
  EXPECT_EQ(g.extras[3].title, utf8_to_mazovia("Koszty jednorazowe sprzętu :"));
  EXPECT_DOUBLE_EQ(g.total, 75);
  // Nothing at all still closes with the line.
  EXPECT_EQ(summary_group_of(estimate_totals{}, kind_labour).closing_title, closing);

  // Group totals follow the total-rounding step: with 1.00 they are whole.
  struct whole_steps : rounding_settings {
    double total_rounding_step() const override { return 1.0; }
    void set_total_rounding_step(double) override {}
  } whole;
  set_rounding_settings(&whole);
  t.labour = 100.40;
  t.simplified_labour = 20.35;
  EXPECT_DOUBLE_EQ(summary_group_of(t, kind_labour).total, 121.0);  // 120.75
  t.equipment = 70.20;
  EXPECT_DOUBLE_EQ(summary_group_of(t, kind_equipment).total, 75.0);  // 75.20
  set_rounding_settings(nullptr);
}

namespace {
estimate_model table_model() {
  estimate_model m = plain_estimate();
  set_rate(m, row_kp, col_r, 65);
  set_rate(m, row_kp, col_s, 65);
  set_rate(m, row_kp, col_m, 0);
  for (int c : {col_r, col_kp_r, col_s, col_kp_s}) set_rate(m, row_profit, c, 12);
  return m;
}
} // namespace

TEST(FormulaTexts, StandardRows) {
  set_system_decimal_separator('.');
  estimate_model m = table_model();
  estimate_totals t;
  formula_context ctx{&m, &t, true};
  EXPECT_EQ(overhead_formula_text(ctx, row_kp), "65.00%R+ 65.00%S");
  EXPECT_EQ(overhead_formula_text(ctx, row_profit), "12.00%(R+Kp(R))+12.00%(S+Kp(S))");
  set_rate(m, row_profit, col_kp_r, 10);
  EXPECT_EQ(overhead_formula_text(ctx, row_profit), "12.00%R+10.00%Kp(R)+12.00%(S+Kp(S))");
  set_rate(m, row_profit, col_running, 5);
  EXPECT_EQ(overhead_formula_text(ctx, row_profit), "");
  m.overheads.kp_plus_cz = 1;
  m.overheads.kp_plus_ws = 1;
  EXPECT_EQ(overhead_formula_text(ctx, row_kp), "65.00%(R+Rcz+Rws)+ 65.00%(S+Scz+Sws)");
  set_system_decimal_separator(',');
  EXPECT_EQ(overhead_formula_text(ctx, row_vat), ""); // rate 0: nothing
  set_rate(m, row_vat, col_running, 23);
  EXPECT_EQ(overhead_formula_text(ctx, row_vat), "23,00%");
  reset_system_decimal_separator();
}

TEST(FormulaTexts, PurchaseCosts) {
  set_system_decimal_separator('.');
  estimate_model m = table_model();
  estimate_totals t;
  t.materials = 105;
  t.materials_base = 100;
  t.kz_summary.state = 1;
  formula_context ctx{&m, &t, true};
  EXPECT_EQ(overhead_formula_text(ctx, row_purchase, 1), utf8_to_mazovia("Ceny zawierają Kz."));
  EXPECT_EQ(overhead_formula_text(ctx, row_purchase, 0), "5.00%M");       // effective rate
  EXPECT_EQ(overhead_formula_text(ctx, row_purchase, 0, 7.5), "7.50%M"); // given rate
  EXPECT_EQ(overhead_formula_text(ctx, row_purchase, 0, 1000), "");      // above 999.99
  t.kz_summary = {0, 8, 8, 8};
  EXPECT_EQ(overhead_formula_text(ctx, row_purchase, 0), "8.00%M");      // uniform
}

TEST(FormulaTexts, InvestorRows) {
  set_system_decimal_separator('.');
  estimate_model m = plain_estimate();
  m.settings.investor_table = 1;
  m.overheads = default_investor_overheads();
  set_rate(m, row_kp, col_r, 60);
  set_rate(m, row_profit, col_r, 10);
  set_rate(m, row_profit, col_s, 10);
  set_rate(m, row_profit, col_kp_s, 10);
  formula_context ctx{&m, nullptr, true};
  EXPECT_EQ(overhead_formula_text(ctx, row_kp), "60.00%(R+S)");
  EXPECT_EQ(overhead_formula_text(ctx, row_profit), "10.00%(R+S+Kp)");
  m.settings.profit_per_component = 1;
  EXPECT_EQ(overhead_formula_text(ctx, row_profit), "10.00%R+ 10.00%S+ 10.00%Kp");
  set_rate(m, row_profit, col_running, 9);
  EXPECT_EQ(overhead_formula_text(ctx, row_profit), "9.00%R+9.00%S+9.00%Kp");
  m.settings.profit_per_component = 0;
  EXPECT_EQ(overhead_formula_text(ctx, row_profit), "9.00%(R+M+S+Kp)");
}

TEST(MethodTexts, NamesAndDescriptions) {
  estimate_settings s;
  EXPECT_EQ(method_name(s), utf8_to_mazovia("Metoda kalkulacji: FORMUŁA II, Narzuty: wyliczane dla elementu"));
  s.overheads_per_position = 1;
  EXPECT_EQ(method_name(s), utf8_to_mazovia("Metoda kalkulacji: FORMUŁA II, Narzuty: wyliczane dla pozycji"));
  EXPECT_EQ(method_description(s).front(), "Ck = Suma(L * n*c) + N + Pv.");
  s.calc_method = method_investor;
  EXPECT_EQ(method_description(s).size(), 3u);
  EXPECT_EQ(method_description(s)[2], "Kpj =  Wkp x (Rj + Sj) /100 %");
  s.calc_method = method_simplified;
  EXPECT_EQ(method_name(s), "Metoda kalkulacji: Uproszczona");
  EXPECT_EQ(profit_text(1), "Z(R)+Z(S)+Z(M)+Z(Kp)");
}

TEST(CompoundSummaries, OwnOverheadTitlesAndAmounts) {
  auto chapter = [](const char* row1_name) {
    chapter_model ch;
    ch.doc = table_model();
    ch.doc.overheads.rows[row_kp].name = row1_name;
    add_price(ch.doc, kind_labour, 1, 100.00);
    add_element(ch.doc);
    add_input(add_position(ch.doc, 1, 3), kind_labour, 1, 1);
    return ch;
  };
  compound_model c;
  c.overheads = default_standard_overheads();
  c.chapters.push_back(chapter("Kp"));
  c.chapters.push_back(chapter("Koszty"));
  const compound_result r = recalculate_compound(c);
  const auto lines = compound_overhead_summary(c, r);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0].title, utf8_to_mazovia("Narzut własny -")); // 44 + 1
  EXPECT_DOUBLE_EQ(lines[0].amount, 130.00);                     // 65.00 in each chapter
  EXPECT_EQ(lines[1].title, "Zysk");
  EXPECT_DOUBLE_EQ(lines[1].amount, 2 * 19.80);                  // 12 % of 165.00
  EXPECT_EQ(own_overhead_title(5).back(), '1');
  const auto formulas = chapter_formulas(c, r, row_kp);
  ASSERT_EQ(formulas.size(), 2u);
  EXPECT_EQ(formulas[0].formula, "65.00%R+ 65.00%S");
  // Results by component: R 200, Kp 130, Z 39.60 of a gross 369.60 (no VAT).
  const auto results = results_by_component(r.totals, true, titles_of(c, r));
  EXPECT_DOUBLE_EQ(results[0].value, 200.00);
  EXPECT_NEAR(results[0].share, 200.00 * 100 / 369.60, 1e-9);
}
