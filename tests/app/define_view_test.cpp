// The positions page of an estimate: its rows and cells, the tree and the grid following
// each other, and the sub-views chosen by the row's kind with the texts they show.
#include "app/app_support.h"
#include "app/document_window.h"
#include "app/estimate_tree_model.h"
#include "app/main_window.h"
#include "app/page_windows.h"
#include "controls/std_grid.h"
#include "document/estimate_nodes.h"
#include "shell/general_settings.h"
#include "views/define_view.h"
#include "views/position_sub_views.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace kovra;
using namespace kovra::app;
using kovra::test::program_fixture;
using views::Tfrm_define;

namespace {

struct define_page {
  program_fixture f;
  Tfrm_simple* w = nullptr;
  Tfrm_define* view = nullptr;

  explicit define_page(const std::string& demo) {
    EXPECT_EQ(f.start(), -1);
    EXPECT_TRUE(f.main().open_estimate(f.demo(demo), 0, false));
    w = dynamic_cast<Tfrm_simple*>(f.main().active_document());
    if (!w) return;
    Tfrm_koszt* k = w->page_window();
    k->select_page(k->page_index("Definiuj"));
    view = dynamic_cast<Tfrm_define*>(k->view(k->page_index("Definiuj")));
  }
  // The row whose number is `number` (positions and elements share numbers: the first after `from`).
  int row_of(const QString& number, int from = 1) const {
    for (int r = from; r < view->row_count(); ++r)
      if (view->row_texts(r).number == number) return r;
    return -1;
  }
};

} // namespace

// The rows of the demo house: work groups and elements across the grid with their
// coefficient letters, positions with basis, "~" for a surveyed quantity and the place of
// their scaffolding, simplified positions with their multiplier, the scaffolding and the
// one-off cost.
TEST(DefineView, RowsAndCellsOfEveryNodeKind) {
  define_page p("demo_house");
  ASSERT_NE(p.view, nullptr);
  // 3 work groups, 8 elements, 31 positions, 2 simplified, 1 scaffolding, 1 one-off: 46 nodes
  // and the header.
  EXPECT_EQ(p.view->row_count(), 47);
  auto group = p.view->row_texts(1);
  EXPECT_TRUE(group.across);
  EXPECT_EQ(group.number, "1");
  EXPECT_EQ(group.description, "Roboty ziemne i fundamenty");
  EXPECT_EQ(group.factor, "rms");  // every coefficient 1
  // Position 1: 168 − 24 = 144 m2 measured by its survey, shown to two decimals.
  auto first = p.view->row_texts(3);
  EXPECT_FALSE(first.across);
  EXPECT_EQ(first.basis, "KNR 201/126/1");
  EXPECT_EQ(first.quantity, "~144.00");
  EXPECT_EQ(first.unit, "m2");
  EXPECT_EQ(first.factor, "");  // multiplier 1: blank
  EXPECT_EQ(p.view->row_texts(p.row_of("5")).quantity, "16.80");  // no survey, no "~"
  // Positions 13 and 14 belong to the first (only) scaffolding.
  EXPECT_EQ(p.view->row_texts(p.row_of("13")).quantity, "~107.60\nR1 ");
  EXPECT_EQ(p.view->row_texts(p.row_of("15")).quantity, "~16.50");
  // Marks switched off in the program's settings: the bare quantity.
  shell::general_settings().block[36] = 1;
  EXPECT_EQ(p.view->row_texts(3).quantity, "144.00");
  shell::general_settings().block[36] = 0;
  auto left_out = p.view->row_texts(p.row_of("31"));
  EXPECT_TRUE(left_out.not_valued);
  // Simplified position without catalogue: the prefix stands for its basis; multiplier 2.
  auto own = p.view->row_texts(p.row_of("33"));
  EXPECT_EQ(own.basis, "KNR");
  EXPECT_EQ(own.factor, "2.00");
  // Scaffolding: 1 set × 100 per set / K 1 = 100; one-off: 1 unit over 23 km.
  auto scaffold = p.view->row_texts(p.row_of("34"));
  EXPECT_EQ(scaffold.quantity, "100.00");
  EXPECT_EQ(scaffold.unit, "m2");
  auto one_off = p.view->row_texts(p.row_of("35"));
  EXPECT_EQ(one_off.quantity, "1");
  EXPECT_EQ(one_off.factor, "23.0 km");
  // The grid's cells: header texts, a group's description across columns 2 to 4.
  controls::VL_std_grid& g = *p.view->grid();
  EXPECT_EQ(g.ask_cell(2, 0, QRect()).text, "Podstawa / Opis");
  EXPECT_EQ(g.ask_cell(2, 1, QRect(0, 0, 10, 10)).text, "Roboty ziemne i fundamenty");
  EXPECT_EQ(g.ask_cell(2, 1, QRect(0, 0, 10, 10)).cell_type, controls::ct_group);
  EXPECT_EQ(g.ask_cell(2, 3, QRect()).text, "KNR 201/126/1\nZdjęcie warstwy humusu gr. 15 cm spycharkami");
  EXPECT_EQ(g.ask_cell(3, p.row_of("31"), QRect()).cell_type, controls::ct_blocked);
}

// Selection: the grid moves the tree, the tree moves the grid; the navigation buttons; the
// sub-view by sub-page and row kind.
TEST(DefineView, SelectionAndSubViews) {
  define_page p("demo_house");
  ASSERT_NE(p.view, nullptr);
  Tfrm_define& v = *p.view;
  v.select_row(3);
  EXPECT_EQ(p.w->current_node(), v.row_node(3));
  EXPECT_EQ(v.value_text().left(9), "Wartość: ");
  p.w->select_node(v.row_node(10));
  EXPECT_EQ(v.current_row(), 10);
  v.go(0);
  EXPECT_EQ(v.current_row(), 1);
  EXPECT_FALSE(v.can_go(0));
  EXPECT_FALSE(v.can_go(1));
  v.go(3);
  EXPECT_EQ(v.current_row(), 46);
  EXPECT_FALSE(v.can_go(2));
  EXPECT_TRUE(v.can_go(1));

  struct expect {
    const char* number;
    int page;
    const char* sub_view;
  };
  const expect cases[] = {
      {"1.1", Tfrm_define::page_rms, "Tfrm_element"},      {"1", Tfrm_define::page_rms, "Tfrm_naklady"},
      {"32", Tfrm_define::page_rms, "Tfrm_scalona"},       {"34", Tfrm_define::page_rms, "Tfrm_ruszt"},
      {"35", Tfrm_define::page_rms, "Tfrm_jednoraz"},      {"1", Tfrm_define::page_survey, "Tfrm_survey"},
      {"34", Tfrm_define::page_survey, "Tfrm_choose_poz"}, {"1.1", Tfrm_define::page_survey, "Tfrm_element"},
      {"33", Tfrm_define::page_code, "Tfrm_cpv"},
  };
  for (const expect& c : cases) {
    v.set_sub_page(c.page);
    v.select_row(p.row_of(c.number, std::string(c.number) == "1" ? 3 : 1));
    ASSERT_NE(v.current_sub_view(), nullptr) << c.number;
    EXPECT_EQ(v.current_sub_view()->view_class(), c.sub_view) << c.number << " " << c.page;
  }
  v.set_sub_page(Tfrm_define::page_list);
  EXPECT_EQ(v.current_sub_view(), nullptr);
}

// The sheets under the grid, against values worked out from the demo's figures.
TEST(DefineView, SheetsOfSimplifiedOneOffScaffoldingAndSurvey) {
  define_page p("demo_house");
  ASSERT_NE(p.view, nullptr);
  Tfrm_define& v = *p.view;
  v.set_sub_page(Tfrm_define::page_rms);
  // 22 m at R 12.40, M 38.50, S 0.80.
  v.select_row(p.row_of("32"));
  views::node_sub_view* s = v.current_sub_view();
  EXPECT_EQ(s->cell(1, 1), " Robocizna ");
  EXPECT_EQ(s->cell(3, 1), "272.80");
  EXPECT_EQ(s->cell(3, 2), "847.00");
  EXPECT_EQ(s->cell(3, 3), "17.60");
  // 12 m × multiplicity 2 = 24: R 10.10 × 24, M 29.90 × 24, no equipment.
  v.select_row(p.row_of("33"));
  EXPECT_EQ(s->cell(3, 1), "242.40");
  EXPECT_EQ(s->cell(3, 2), "717.60");
  EXPECT_EQ(s->cell(3, 3), "");
  // One-off over 23 km: first 5 km once at 90, the 18 km left in four 5 km bands at 45.
  v.select_row(p.row_of("35"));
  s = v.current_sub_view();
  EXPECT_EQ(s->cell(1, 1), "Montaż");
  EXPECT_EQ(s->cell(5, 1), "150.00");
  EXPECT_EQ(s->cell(3, 4), "4");
  EXPECT_EQ(s->cell(5, 4), "180.00");
  // Scaffolding: t = 168.004 / (0.90 × 8) × 1.00 = 23.33389; n = 1 × 100 / 1; value
  // 23.33389 × 100 × 6.50.
  v.select_row(p.row_of("34"));
  auto* r = dynamic_cast<views::Tfrm_ruszt*>(v.current_sub_view());
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->rows(), 12);
  EXPECT_EQ(r->cell(1, 5), " Czas pracy \n168.004 / ( 0.90 * 8 ) * 1.00 = ");
  EXPECT_EQ(r->cell(4, 5), "23.33389");
  EXPECT_EQ(r->cell(4, 9), "100.00");
  EXPECT_EQ(r->cell(4, 11), "15 167.03");
  EXPECT_TRUE(r->decimals_button(2)->isChecked());
  // "1": one decimal of the total count, recalculated; the row follows.
  r->decimals_button(1)->click();
  EXPECT_EQ(r->cell(4, 9), "100.0");
  EXPECT_EQ(v.row_texts(p.row_of("34")).quantity, "100.0");
  EXPECT_TRUE(r->decimals_button(1)->isChecked());
  // Survey of position 1: two lines and their total.
  v.set_sub_page(Tfrm_define::page_survey);
  v.select_row(3);
  auto* survey = dynamic_cast<views::Tfrm_survey*>(v.current_sub_view());
  ASSERT_NE(survey, nullptr);
  EXPECT_EQ(survey->cell(1, 1), "Obrys budynku z odsadzką 2 m");
  EXPECT_EQ(survey->cell(2, 2), "-(4*6)");
  EXPECT_EQ(survey->cell(3, 2).trimmed(), "-24.0");
  EXPECT_EQ(survey->totals_text(), "Razem: 144.00");
  // The positions of the scaffolding: 13 and 14 checked, elements before their positions.
  v.select_row(p.row_of("34"));
  s = v.current_sub_view();
  EXPECT_EQ(s->cell(1, 1), "1.1");
  EXPECT_EQ(s->row_style(1), controls::ct_element);
  EXPECT_EQ(s->row_style(2), controls::ct_basic);
  int checked = 0;
  for (int row = 1; row < s->rows(); ++row)
    if (!s->cell(0, row).isEmpty()) {
      ++checked;
      EXPECT_TRUE(s->cell(1, row) == "13" || s->cell(1, row) == "14") << s->cell(1, row).toStdString();
    }
  EXPECT_EQ(checked, 2);
}

// The inputs of a position, grouped under the kinds' header rows, with quantities and values
// of the whole position (the demo is priced by FORMUŁA II): position 6 (2.6 m3) with an
// other-materials item of 2.5 % of its base materials; position 28 (132 m2) with an investor
// material and other equipment of 1.5 % of labour; and its cost dialog.
TEST(DefineView, InputsOfAPosition) {
  define_page p("demo_house");
  ASSERT_NE(p.view, nullptr);
  Tfrm_define& v = *p.view;
  v.set_sub_page(Tfrm_define::page_rms);
  v.select_row(p.row_of("6", 3));
  auto* n = dynamic_cast<views::Tfrm_naklady*>(v.current_sub_view());
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->cell(1, 0), "Nakład 1/1");
  EXPECT_EQ(n->cell(4, 0), "Ilość");
  EXPECT_EQ(n->cell(7, 0), "Wartość");
  EXPECT_EQ(n->rows(), 9);
  EXPECT_EQ(n->cell(1, 1), "Robocizna");
  EXPECT_EQ(n->state_of(1), views::Tfrm_naklady::row_header);
  // 1.52 × 2.6 = 3.952 r-g at 37.00
  EXPECT_EQ(n->cell(3, 2), "1.52");
  EXPECT_EQ(n->cell(4, 2), "3.952");
  EXPECT_EQ(n->cell(7, 2), "146.22");
  EXPECT_EQ(n->cell(0, 2), "");  // coefficient 1
  EXPECT_EQ(n->cell(1, 3), "Materiały");
  // 1.02 × 2.6 = 2.652 m3 at 294.00 (with purchase costs) = 779.688
  EXPECT_EQ(n->cell(4, 4), "2.652");
  EXPECT_EQ(n->cell(6, 4), "294.00");
  EXPECT_EQ(n->cell(7, 4), "779.69");
  // 2.5 % of the concrete, the one base material: 0.025 × 779.688 = 19.4922
  EXPECT_EQ(n->cell(1, 6), "Materiały inne (Materiały)");
  EXPECT_EQ(n->cell(7, 6), "19.49");
  EXPECT_EQ(n->cell(1, 7), "Sprzęt");
  EXPECT_EQ(n->cell(7, 8), "3.74");  // 0.208 m-g at 18.00

  v.select_row(p.row_of("28", 3));
  EXPECT_EQ(n->rows(), 9);
  EXPECT_EQ(n->state_of(4), views::Tfrm_naklady::row_investor);
  EXPECT_EQ(n->state_of(5), views::Tfrm_naklady::row_active);
  // 0.37 × 132 = 48.84 r-g at 39.00 = 1 904.76; 1.5 % of it = 28.5714
  EXPECT_EQ(n->cell(7, 2), "1 904.76");
  EXPECT_EQ(n->cell(1, 8), "Sprzęt inny (Robocizna)");
  EXPECT_EQ(n->cell(7, 8), "28.57");

  std::unique_ptr<QDialog> d(n->make_cost_dialog());
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->objectName(), "Tdlg_sum_vat");
  // The button runs the same dialog modally.
  QString opened;
  QTimer::singleShot(0, [&opened] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      opened = w->objectName();
      w->close();
    }
  });
  n->cost_button()->click();
  EXPECT_EQ(opened, "Tdlg_sum_vat");
}

#include "document/estimate_file.h"

#include <fstream>
#include <nlohmann/json.hpp>

// The "Kod" sub-page over codes of every kind: a 2008 code with a supplementary one, a 2003
// code shown by its 2008 entry, a code of neither kept as stored, a wrong check digit; an
// element collecting its positions' codes and aggregating them to its level.
TEST(DefineView, CpvCodesOfTheRows) {
  std::ifstream in(std::string(KOVRA_SOURCE_DIR) + "/examples/demo_house.json");
  nlohmann::json spec = nlohmann::json::parse(in);
  spec["general"]["cpv_display_mode"] = 7;  // own, collected and aggregated
  nlohmann::json& nodes = spec["nodes"];
  nodes[1]["cpv_level"] = 4;                                  // element 1.1
  nodes[2]["cpv"] = std::string("45111200-0\x01" "AA01-1");   // position 1
  nodes[3]["cpv"] = std::string("45216210-9\x01");            // position 2: a 2003 code
  nodes[4]["cpv"] = std::string("99999999-9\x01");            // position 3: in neither vocabulary
  nodes[5]["cpv"] = std::string("45111200-5\x01");            // position 4: wrong check digit
  define_page p("demo_house");  // for its program folder
  ASSERT_NE(p.view, nullptr);
  const std::string path = p.f.tmp.path() + "coded.kvr";
  ASSERT_EQ(document::build_estimate_file(spec, path), "");
  ASSERT_TRUE(p.f.main().open_estimate(path, 0, false));
  auto* w = dynamic_cast<Tfrm_simple*>(p.f.main().active_document());
  ASSERT_NE(w, nullptr);
  Tfrm_koszt* k = w->page_window();
  k->select_page(k->page_index("Definiuj"));
  auto* v = dynamic_cast<Tfrm_define*>(k->view(k->page_index("Definiuj")));
  ASSERT_NE(v, nullptr);
  v->set_sub_page(Tfrm_define::page_code);

  // The vocabulary's texts keep its no-break spaces; compared here as blanks.
  auto plain = [](const QString& t) { return QString(t).replace(QChar(0xA0), ' ').toStdString(); };
  v->select_row(3);
  views::node_sub_view* s = v->current_sub_view();
  EXPECT_EQ(s->cell(1, 0), "Kod CPV");
  EXPECT_EQ(plain(s->cell(1, 1)), "45111200-0  Roboty w zakresie przygotowania terenu pod budowę i roboty ziemne");
  EXPECT_EQ(plain(s->cell(2, 1)), "AA01-1  Metal");
  EXPECT_EQ(s->rows(), 2);  // a position shows its one pair, no empty row
  v->select_row(4);
  EXPECT_EQ(plain(s->cell(1, 1)), "45212421-3  Roboty budowlane w zakresie restauracji");
  v->select_row(5);  // 9 is not the check digit 99999999 computes to
  EXPECT_EQ(plain(s->cell(1, 1)), "99999999-9  [kod nieznany]  [błędna cyfra kontrolna]");
  v->select_row(6);  // the vocabulary's entry, marked: the stored digit was 5
  EXPECT_EQ(plain(s->cell(1, 1)),
            "45111200-0  Roboty w zakresie przygotowania terenu pod budowę i roboty ziemne  [błędna cyfra kontrolna]");

  // Element 1.1 at level 4: aggregated 4511xxxx, 4521xxxx and 9999xxxx (kept, unknown);
  // then its distinct collected codes; then its own (none) and the row for a new one.
  v->select_row(2);
  ASSERT_EQ(s->rows(), 8);
  EXPECT_EQ(plain(s->cell(1, 1)).substr(0, 10), "45110000-1");
  EXPECT_EQ(plain(s->cell(1, 2)).substr(0, 10), "45210000-2");
  EXPECT_EQ(plain(s->cell(1, 3)), "99990000  [kod nieznany]");
  EXPECT_EQ(plain(s->cell(1, 4)).substr(0, 10), "45111200-0");
  EXPECT_EQ(plain(s->cell(1, 5)).substr(0, 10), "45212421-3");
  EXPECT_EQ(plain(s->cell(1, 6)).substr(0, 10), "99999999-9");
  EXPECT_EQ(s->cell(1, 7), "");
}

// An estimate without nodes: the header and one row saying so; no sub-view has a node, and
// the scaffolding list says there are no positions.
TEST(DefineView, EstimateWithoutPositions) {
  std::ifstream in(std::string(KOVRA_SOURCE_DIR) + "/examples/demo_house.json");
  nlohmann::json spec = nlohmann::json::parse(in);
  spec["nodes"] = nlohmann::json::array();
  define_page p("demo_house");
  ASSERT_NE(p.view, nullptr);
  const std::string path = p.f.tmp.path() + "empty.kvr";
  ASSERT_EQ(document::build_estimate_file(spec, path), "");
  ASSERT_TRUE(p.f.main().open_estimate(path, 0, false));
  auto* w = dynamic_cast<Tfrm_simple*>(p.f.main().active_document());
  ASSERT_NE(w, nullptr);
  Tfrm_koszt* k = w->page_window();
  k->select_page(k->page_index("Definiuj"));
  auto* v = dynamic_cast<Tfrm_define*>(k->view(k->page_index("Definiuj")));
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->row_count(), 1);
  EXPECT_EQ(v->grid()->row_count(), 2);
  EXPECT_EQ(v->grid()->ask_cell(1, 1, QRect(0, 0, 10, 10)).text, "Brak pozycji.");
  EXPECT_FALSE(v->can_go(0));
  EXPECT_FALSE(v->can_go(3));
  views::Tfrm_choose_poz choose;
  choose.show_row(*v, nullptr);
  EXPECT_EQ(choose.cell(1, 1), "Brak rusztowań! Wstaw pozycje typu rusztowanie!");
}

// A constituent with the quantity 2 (precision code 3, whole numbers): its survey window
// adds the chapter's multiplier and the multiplied quantity, 107.60 × 2 = 215.20.
TEST(DefineView, SurveyOfAMultipliedChapter) {
  program_fixture f;
  ASSERT_EQ(f.start(), -1);
  ASSERT_TRUE(f.main().open_estimate(f.demo("demo_compound"), 0, false));
  auto* w = dynamic_cast<Tfrm_multi*>(f.main().active_document());
  ASSERT_NE(w, nullptr);
  const estimate_tree_model& m = *w->model;
  const QModelIndex root = m.index(0, 0);
  w->tree_multi->setCurrentIndex(m.index(2, 0, root));  // chapter 3, the garage
  ASSERT_TRUE(w->constituent_in_front());
  Tfrm_koszt* k = w->page_window();
  k->select_page(k->page_index("Definiuj"));
  auto* v = dynamic_cast<Tfrm_define*>(k->view(k->page_index("Definiuj")));
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(v->row_count(), 3);
  v->set_sub_page(Tfrm_define::page_survey);
  v->select_row(1);
  auto* s = dynamic_cast<views::Tfrm_survey*>(v->current_sub_view());
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->totals_text(), "Razem: 107.60\nMnożnik dla rozdziału: 2\nWartość obmiaru: 215.20");
}

namespace {
// The positions page of an estimate built from `spec` beside the demo in `p`'s folder.
Tfrm_define* open_built(define_page& p, const nlohmann::json& spec, const std::string& name) {
  const std::string path = p.f.tmp.path() + name;
  if (document::build_estimate_file(spec, path) != "" || !p.f.main().open_estimate(path, 0, false)) return nullptr;
  auto* w = dynamic_cast<Tfrm_simple*>(p.f.main().active_document());
  if (!w) return nullptr;
  Tfrm_koszt* k = w->page_window();
  k->select_page(k->page_index("Definiuj"));
  return dynamic_cast<Tfrm_define*>(k->view(k->page_index("Definiuj")));
}
} // namespace

// A merged element of 4 kpl holding a position of 3 m2 at 2 r-g per m2 (34.00 per r-g, no
// overheads: 3 × 2 × 34 = 204.00) and a one-off cost counted 3 times (no prices): its row
// shows its own quantity and unit, and its page lists the children.
TEST(DefineView, MergedElement) {
  std::ifstream in(std::string(KOVRA_SOURCE_DIR) + "/examples/demo_house.json");
  nlohmann::json spec = nlohmann::json::parse(in);
  for (auto& row : spec["overheads"]["rows"])
    if (row["name"] != "VAT") row["rates"] = {-1.0, -1.0, -1.0, -1.0, -1.0, -1.0, -1.0};
  const auto labour = nlohmann::json::parse(R"({"kind": 0, "id": 999, "sub": 0, "norm": 2.0, "coef": 1.0,
      "excluded": 0, "mp_mode": 0, "blocked": 0})");
  spec["nodes"] = nlohmann::json::array(
      {{{"type", 9}, {"level", 0}, {"number", "1"}, {"unit", ""}, {"description", "Stan surowy"}},
       {{"type", 0}, {"level", 1}, {"number", "1.1"}, {"unit", "kpl"}, {"description", "Komin"}, {"merged", 1},
        {"merged_quantity", 4.0}, {"merged_precision_code", 1}},
       {{"type", 1}, {"level", 2}, {"number", "1"}, {"unit", "m2"}, {"description", "Tynk komina"}, {"quantity", 3.0},
        {"precision_code", 1}, {"multiplicity", 1.0},
        {"inputs", {{"current", 0}, {"variants", {{{"name", ""}, {"short_name", ""}, {"entries", {labour}}}}}}}},
       {{"type", 3}, {"level", 2}, {"number", "2"}, {"unit", "kpl"}, {"description", "Dowóz rusztowania"},
        {"one_off_count", 3.0}, {"one_off_distance", 0.0}}});
  define_page p("demo_house");  // for its program folder
  ASSERT_NE(p.view, nullptr);
  Tfrm_define* v = open_built(p, spec, "merged.kvr");
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(v->row_count(), 5);
  const auto merged = v->row_texts(2);
  EXPECT_FALSE(merged.across);
  EXPECT_EQ(merged.number, "1.1");
  EXPECT_EQ(merged.quantity, "4.00");
  EXPECT_EQ(merged.unit, "kpl");
  const calc::model_node* m = v->model_of(v->row_node(2));
  ASSERT_NE(m, nullptr);
  EXPECT_DOUBLE_EQ(m->net, 204.0);
  EXPECT_DOUBLE_EQ(m->merged_unit_price, 51.0);  // 204.00 / 4

  v->set_sub_page(Tfrm_define::page_survey);
  v->select_row(2);
  views::node_sub_view* s = v->current_sub_view();
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->view_class(), "Tfrm_el_scalony");
  EXPECT_EQ(s->cell(1, 0), "Opis");
  EXPECT_EQ(s->rows(), 3);
  EXPECT_EQ(s->cell(1, 1), "Tynk komina");
  EXPECT_EQ(s->cell(2, 1), "3.00");
  EXPECT_EQ(s->cell(3, 1), "m2");
  EXPECT_EQ(s->cell(1, 2), "Dowóz rusztowania");
  EXPECT_EQ(s->cell(2, 2), "3");
  EXPECT_EQ(s->cell(3, 2), "Il.dow.");
}

// Bases and marks: a basis given as text followed by the one built from the catalogue
// reference, a text basis without a reference alone; a row of a kind other than the
// position kinds always takes the "~".
TEST(DefineView, TextBasesAndMarksOfOtherRows) {
  std::ifstream in(std::string(KOVRA_SOURCE_DIR) + "/examples/demo_house.json");
  nlohmann::json spec = nlohmann::json::parse(in);
  nlohmann::json nodes = nlohmann::json::array();
  nodes.push_back(spec["nodes"][0]);
  nodes.push_back(spec["nodes"][1]);
  nlohmann::json both = spec["nodes"][2];  // KNR 201/126/1
  both["flags"] = 4;
  both["basis_text"] = "Kalk. wlasna";
  nodes.push_back(both);
  nlohmann::json text_only = spec["nodes"][3];
  text_only["flags"] = 4;
  text_only["basis_text"] = "Analiza 3";
  text_only["catalogue_number"] = 0;
  nodes.push_back(text_only);
  nodes.push_back({{"type", 7}, {"level", 2}, {"number", "3"}, {"unit", ""}, {"description", "Wiersz"}});
  spec["nodes"] = nodes;
  define_page p("demo_house");
  ASSERT_NE(p.view, nullptr);
  Tfrm_define* v = open_built(p, spec, "bases.kvr");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->row_texts(3).basis, "Kalk. wlasna <KNR 201/126/1>");
  EXPECT_EQ(v->row_texts(4).basis, "Analiza 3");
  ASSERT_EQ(v->row_count(), 6);
  EXPECT_TRUE(v->row_texts(5).quantity.startsWith("~")) << v->row_texts(5).quantity.toStdString();
  shell::general_settings().block[36] = 1;
  EXPECT_FALSE(v->row_texts(5).quantity.startsWith("~"));
  shell::general_settings().block[36] = 0;
}

// Under FORMUŁA I the inputs show per-unit quantities and values until "Ilość jednostkowa
// / Ilość" asks for the whole position: position 6 (2.6 m3), 1.52 r-g at 37.00 per unit.
TEST(DefineView, InputsPerUnitOrInTotal) {
  std::ifstream in(std::string(KOVRA_SOURCE_DIR) + "/examples/demo_house.json");
  nlohmann::json spec = nlohmann::json::parse(in);
  spec["general"]["calc_method"] = 1;
  for (auto& node : spec["nodes"])
    if (node["type"] == 1 && node["number"] == "6") {
      node["inputs"]["variants"][0]["entries"][2]["coef"] = 1.25;  // the water
      node["coef_s"] = 1.1;
    }
  define_page p("demo_house");
  ASSERT_NE(p.view, nullptr);
  Tfrm_define* v = open_built(p, spec, "formula1.kvr");
  ASSERT_NE(v, nullptr);
  v->set_sub_page(Tfrm_define::page_rms);
  int row = -1;
  for (int r = 3; r < v->row_count() && row < 0; ++r)
    if (v->row_texts(r).number == "6") row = r;
  v->select_row(row);
  auto* n = dynamic_cast<views::Tfrm_naklady*>(v->current_sub_view());
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->cell(4, 0), "Ilość jedn.");
  EXPECT_EQ(n->cell(7, 0), "Wart.jedn.");
  EXPECT_EQ(n->cell(4, 2), "1.52");
  EXPECT_EQ(n->cell(7, 2), "56.24");
  EXPECT_EQ(n->cell(7, 6), "7.50");  // 2.5 % of 1.02 × 294.00 = 299.88
  // Coefficients other than 1: the input's on its row, the position's on its kind's header.
  EXPECT_EQ(n->cell(0, 5), "1.250");
  EXPECT_EQ(n->cell(0, 4), "");
  EXPECT_EQ(n->cell(0, 7), "1.100");
  EXPECT_EQ(n->cell(0, 1), "");
  n->set_total_quantities(true);
  EXPECT_EQ(n->cell(4, 0), "Ilość");
  EXPECT_EQ(n->cell(4, 2), "3.952");
  EXPECT_EQ(n->cell(7, 2), "146.22");
  // The choice stays for the next position.
  v->select_row(row + 1);
  EXPECT_EQ(n->cell(4, 0), "Ilość");
  std::unique_ptr<QDialog> d(n->make_cost_dialog());
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->objectName(), "Tdlg_sum_unit");
}
