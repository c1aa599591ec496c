// The descriptive pages: the stored date as the general-data page reads it, and the
// general data and price-list pages of the demo house.
#include "app/app_support.h"
#include "app/document_window.h"
#include "app/main_window.h"
#include "app/page_windows.h"
#include "controls/std_grid.h"
#include "document/general_data.h"
#include "views/general_views.h"
#include "views/position_sub_views.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace kovra;
using namespace kovra::app;

TEST(GeneralViews, StoredDates) {
  const QDate today(2026, 12, 10);
  bool invalid = false;
  EXPECT_EQ(views::parse_date("991231", today, invalid), QDate(1999, 12, 31));
  EXPECT_FALSE(invalid);
  EXPECT_EQ(views::parse_date("591231", today, invalid), QDate(2059, 12, 31));
  EXPECT_EQ(views::parse_date("003201", today, invalid), today);  // month 32
  EXPECT_TRUE(invalid);
  EXPECT_EQ(views::parse_date("001300", today, invalid), today);  // month 13, day 0
  EXPECT_EQ(views::parse_date("010231", today, invalid), today);  // 31 February
  EXPECT_TRUE(invalid);
  EXPECT_EQ(views::format_date(QDate(2005, 3, 7)), "050307");

  document::general_data g;
  bool no_date = false;
  // An empty date shows today and becomes today, set.
  EXPECT_EQ(views::shown_date(g, today, no_date), today);
  EXPECT_FALSE(no_date);
  EXPECT_EQ(g.estimate_date(), "261210");
  EXPECT_EQ(g.date_state(), 1);
  // Six zero digits of an older file (state 0): no date.
  g.set_estimate_date("000000");
  g.set_date_state(0);
  EXPECT_FALSE(views::has_date(g));
  views::shown_date(g, today, no_date);
  EXPECT_TRUE(no_date);
  // A date stored but switched off keeps its text and shows it.
  g.set_estimate_date("050307");
  g.set_date_state(2);
  EXPECT_EQ(views::shown_date(g, today, no_date), QDate(2005, 3, 7));
  EXPECT_TRUE(no_date);
}

TEST(GeneralViews, GeneralDataAndPriceListsOfTheHouse) {
  test::program_fixture f;
  ASSERT_EQ(f.start(), -1);
  ASSERT_TRUE(f.main().open_estimate(f.demo("demo_house"), 0, false));
  auto* w = dynamic_cast<Tfrm_simple*>(f.main().active_document());
  ASSERT_NE(w, nullptr);
  Tfrm_koszt* k = w->page_window();
  k->select_page(k->page_index("Dane ogólne"));
  auto* d = dynamic_cast<views::Tfrm_dane_ogolne*>(k->view(k->page_index("Dane ogólne")));
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->date->date(), QDate(2026, 12, 9));  // stored 261209
  EXPECT_EQ(d->memo_gd_name->toPlainText(),
            "Kosztorys inwestorski - budynek mieszkalny jednorodzinny, stan surowy zamknięty");
  EXPECT_EQ(d->units->text(), "1.0");
  // One author: the header row, the author and the empty row for the next one.
  EXPECT_EQ(d->authors->row_count(), 3);
  EXPECT_EQ(d->authors->cells(1, 0), "Imię i nazwisko");
  EXPECT_EQ(d->authors->cells(1, 1), "Jan Kowalski");
  EXPECT_EQ(d->authors->cells(1, 2), "");
  // "Kod": the estimate's own codes (its document never chose a mode: the attached ones)
  // and the row for a new code.
  // Stored as main, supplementary, main: two pairs, the first with a main code where a
  // supplementary one belongs (kept, marked unknown), the second without one.
  ASSERT_EQ(d->cpv->rows(), 4);
  EXPECT_EQ(d->cpv->cell(1, 1).left(10), "45211000-9");
  EXPECT_EQ(d->cpv->cell(2, 1), "45262500-6  [kod nieznany]");
  EXPECT_EQ(d->cpv->cell(1, 2).left(10), "45261210-9");
  EXPECT_EQ(d->cpv->cell(2, 2), "");
  EXPECT_EQ(d->cpv->cell(1, 3), "");

  // A price list that cannot be read shows its file name; an empty entry nothing.
  k->select_page(k->page_index("Cenniki"));
  auto* c = dynamic_cast<views::Tfrm_cen3*>(k->view(k->page_index("Cenniki")));
  ASSERT_NE(c, nullptr);
  w->page_window()->general()->set_price_list_file(3, "/brak/materialy.kvr");
  c->refresh();
  EXPECT_EQ(c->entries[3]->text(), "/brak/materialy.kvr");
  EXPECT_EQ(c->entries[0]->text(), "");

  k->select_page(k->page_index("Opis"));
  auto* o = dynamic_cast<views::Tfrm_opis*>(k->view(k->page_index("Opis")));
  ASSERT_NE(o, nullptr);
  // The three texts of the description record, each in its own box.
  EXPECT_TRUE(o->edit_opis->toPlainText().startsWith("Budynek mieszkalny jednorodzinny, parterowy"));
  EXPECT_TRUE(o->edit_zalozenia->toPlainText().startsWith("Ilości robót według projektu budowlanego."));
  EXPECT_EQ(o->edit_klauzula->toPlainText(),
            "Kosztorys uzgodniono z Zamawiającym. Wartość robót nie obejmuje przyłączy.");
}

#include "views/chapters_view.h"

// The compound level's chapters: number, name, quantity in its precision, share and value;
// opening a row makes its constituent the tree's choice.
TEST(ChaptersView, RowsOfTheCompoundHouse) {
  test::program_fixture f;
  ASSERT_EQ(f.start(), -1);
  ASSERT_TRUE(f.main().open_estimate(f.demo("demo_compound"), 0, false));
  auto* w = dynamic_cast<Tfrm_multi*>(f.main().active_document());
  ASSERT_NE(w, nullptr);
  Tfrm_chapter* k = w->compound_page_window();
  k->select_page(k->page_index("Definiuj"));
  auto* v = dynamic_cast<views::Tfrm_chpt_define*>(k->view(k->page_index("Definiuj")));
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(v->row_count(), 4);
  EXPECT_EQ(v->cell_text(2, 0), "Nazwa");
  EXPECT_EQ(v->cell_text(1, 3), "3");
  EXPECT_EQ(v->cell_text(2, 1), "Roboty ziemne");
  EXPECT_EQ(v->cell_text(3, 3), "2");  // quantity 2 with precision code 3: no decimals
  EXPECT_EQ(v->cell_text(4, 1), "kpl");
  EXPECT_EQ(v->cell_text(5, 2), "rms");
  // Shares of the compound's 78 362.99: 2 780.27 is 3.548 %, 54 724.47 is 69.834 %.
  EXPECT_EQ(v->cell_text(7, 1), "2 780.27");
  EXPECT_EQ(v->cell_text(6, 1), "3.55");
  EXPECT_EQ(v->cell_text(6, 3), "69.83");
  v->open_row(2);
  EXPECT_EQ(w->current_node(), v->row_node(2));
}
