// Document windows: opening with its checks, the page protocol, the tree (moves reaching
// the file), the compound window's page windows, window limits and closing.
#include "app/app_support.h"
#include "app/document_window.h"
#include "app/estimate_tree_model.h"
#include "app/main_window.h"
#include "app/open_dialog.h"
#include "app/page_windows.h"
#include "calc/record_model.h"
#include "document/estimate_nodes.h"
#include "store/codepage.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace kovra;
using namespace kovra::app;
using kovra::test::program_fixture;
using calls_t = std::vector<std::string>;

namespace {

QString caption_of(const estimate_tree_model& m, const QModelIndex& i) { return m.data(i, Qt::DisplayRole).toString(); }

// The node whose caption begins with `start`, found depth-first.
QModelIndex find(const estimate_tree_model& m, const QString& start, const QModelIndex& parent = {}) {
  for (int r = 0; r < m.rowCount(parent); ++r) {
    QModelIndex i = m.index(r, 0, parent);
    if (caption_of(m, i).startsWith(start)) return i;
    if (QModelIndex j = find(m, start, i); j.isValid()) return j;
  }
  return {};
}

} // namespace

TEST(DocumentWindows, SimpleWindowPagesTreeAndValues) {
  program_fixture f;
  ASSERT_EQ(f.start(), -1);
  const std::string path = f.demo("demo_house");
  calc::recalculated_estimate independent;  // read-only, before the window holds the file
  std::string error;
  ASSERT_TRUE(calc::recalculate_estimate_file(path, independent, error)) << error;
  ASSERT_TRUE(f.main().open_estimate(path, 0, false));
  auto* w = dynamic_cast<Tfrm_simple*>(f.main().active_document());
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle().toStdString(), "demo_house.kvr (Dom jednorodzinny - stan surowy)");

  // The tree: "Kosztorys" with its three work groups; the root expanded.
  const estimate_tree_model& m = *w->model;
  ASSERT_EQ(m.rowCount(), 1);
  QModelIndex root = m.index(0, 0);
  EXPECT_EQ(caption_of(m, root), "Kosztorys");
  EXPECT_EQ(m.rowCount(root), 3);
  EXPECT_EQ(caption_of(m, m.index(2, 0, root)), "3  Dach");
  EXPECT_TRUE(w->tree_multi->isExpanded(root));
  // A position left out of the estimate is drawn italic.
  QModelIndex left_out = find(m, "31  ");
  ASSERT_TRUE(left_out.isValid());
  EXPECT_TRUE(m.data(left_out, Qt::FontRole).value<QFont>().italic());
  EXPECT_FALSE(m.data(find(m, "30  "), Qt::FontRole).value<QFont>().italic());

  // The strip shows the total of the run the window made, the one a read-only run gives.
  ASSERT_NE(w->values(), nullptr);
  EXPECT_DOUBLE_EQ(w->values()->result.totals.gross, independent.result.totals.gross);
  EXPECT_FALSE(w->pnl_chd_value->text().isEmpty());
  EXPECT_TRUE(w->pnl_chd_value_razem->isHidden());

  // Pages: "Dane ogólne" first; Ctrl+, wraps to "Wyniki", Ctrl+. back to "Dane ogólne".
  Tfrm_koszt* k = w->page_window();
  ASSERT_EQ(k->page_count(), 10);
  EXPECT_EQ(k->current_page(), 0);
  QApplication::setActiveWindow(&f.main());
  QTest::keyClick(w->tree_multi, Qt::Key_Comma, Qt::ControlModifier);
  EXPECT_EQ(k->pages()->tabText(k->current_page()), "Wyniki");
  QTest::keyClick(w->tree_multi, Qt::Key_Period, Qt::ControlModifier);
  EXPECT_EQ(k->current_page(), 0);
  // From "Definiuj" to "Opis": the old view leaves with 1 then 0, the new one arrives with
  // 0, 1 and after_activate.
  k->select_page(k->page_index("Definiuj"));
  TTabForm* define = k->view(k->page_index("Definiuj"));
  TTabForm* opis = k->view(k->page_index("Opis"));
  define->calls.clear();
  opis->calls.clear();
  k->select_page(k->page_index("Opis"));
  EXPECT_EQ(define->calls, (calls_t{"deactivate 1", "deactivate 0"}));
  EXPECT_EQ(opis->calls, (calls_t{"activate 0", "activate 1", "after_activate 0"}));
  EXPECT_EQ(opis->objectName(), "Tfrm_opis_simple");
  // Selecting a position by the user shows "Definiuj"; the program's own selection does not.
  w->select_node(estimate_tree_model::node_of(find(m, "5  ")));
  EXPECT_EQ(k->pages()->tabText(k->current_page()), "Opis");
  w->tree_multi->setCurrentIndex(find(m, "6  "));
  EXPECT_EQ(k->pages()->tabText(k->current_page()), "Definiuj");

  // The splitter keeps the tree at least 80 pixels wide; "D&rzewko" hides it.
  w->resize(800, 600);
  w->splt_main->setSizes({50, 750});
  EXPECT_GE(w->splt_main->sizes()[0], 80);
  f.main().item_tree->trigger();
  EXPECT_FALSE(w->tree_visible());
  EXPECT_FALSE(f.main().item_tree->isChecked());
  f.main().item_tree->trigger();
  EXPECT_TRUE(w->tree_visible());
}

TEST(DocumentWindows, OpeningChecksAndLimits) {
  program_fixture f;
  ASSERT_EQ(f.start(), -1);
  const std::string house = f.demo("demo_house");
  ASSERT_TRUE(f.main().open_estimate(house, 0, false));
  // Named again: message 15 through the open command, the window itself through a request.
  EXPECT_FALSE(f.main().open_estimate(house, 0, false));
  ASSERT_EQ(f.sink.requests().size(), 1u);
  EXPECT_EQ(f.sink.requests()[0].number, 15);
  EXPECT_TRUE(f.main().open_estimate(house, 0, true));
  EXPECT_EQ(f.main().documents().size(), 1);
  // The open dialog refuses a file the program has open (message 81) and stays open.
  KVR_OpenDialog dialog(&f.main(), QString::fromStdString(f.tmp.path()));
  dialog.selectFile(QString::fromStdString(house));
  dialog.accept();
  EXPECT_EQ(f.sink.requests().back().number, 81);
  EXPECT_NE(dialog.result(), QDialog::Accepted);

  // Not an estimate of this program: message 155, no window.
  const std::string other = f.tmp.path() + "inny.kvr";
  std::ofstream(other) << std::string(400, 'x');
  EXPECT_FALSE(f.main().open_estimate(other, 0, false));
  EXPECT_EQ(f.sink.requests().back().number, 155);
  EXPECT_EQ(f.main().documents().size(), 1);

  // Five windows at most: the sixth gets message 207 and no window.
  for (int i = 2; i <= 5; ++i) ASSERT_TRUE(f.main().open_estimate(f.demo("demo_house", "d" + std::to_string(i)), 0, false));
  EXPECT_FALSE(f.main().open_estimate(f.demo("demo_house", "d6"), 0, false));
  EXPECT_EQ(f.sink.requests().back().number, 207);
  EXPECT_EQ(f.main().documents().size(), 5);
  f.main().tile_vertically();
  f.main().minimize_all();
  for (QMdiSubWindow* s : f.main().mdi->subWindowList()) EXPECT_TRUE(s->isMinimized());

  // Closing the main window closes every document window and lists them, last closed on top.
  f.main().close();
  EXPECT_EQ(f.main().documents().size(), 0);
  EXPECT_EQ(f.main().recent().size(), 5);
  EXPECT_EQ(f.main().recent().last().toStdString(), f.tmp.path() + "d5.kvr");
}

TEST(DocumentWindows, TreeMovesReachTheFile) {
  program_fixture f;
  ASSERT_EQ(f.start(), -1);
  const std::string path = f.demo("demo_house");
  ASSERT_TRUE(f.main().open_estimate(path, 0, false));
  auto* w = f.main().active_document();
  // Work group "2" goes into work group "1", after its elements.
  const QModelIndex root = w->model->index(0, 0);
  w->tree_multi->setCurrentIndex(w->model->index(1, 0, root));
  w->item_right_click();
  QModelIndex moved = w->tree_multi->currentIndex();
  EXPECT_EQ(caption_of(*w->model, moved).left(3), "2  ");
  EXPECT_EQ(caption_of(*w->model, moved.parent()).left(3), "1  ");
  EXPECT_EQ(moved.row(), 2);  // after 1.1 and 1.2
  EXPECT_EQ(w->tree_multi->currentIndex(), moved);
  EXPECT_EQ(w->model->rowCount(w->model->index(0, 0)), 2);  // "1" and "3" at the top
  // An estimate or a position cannot move: the document layer's box, nothing changes.
  w->tree_multi->setCurrentIndex(find(*w->model, "16  "));
  w->item_left_click();
  ASSERT_FALSE(f.sink.requests().empty());
  EXPECT_EQ(f.sink.requests().back().caption, "Error");
  w->parentWidget()->close();

  ASSERT_TRUE(f.main().open_estimate(path, 0, false));
  w = f.main().active_document();
  moved = w->model->index(2, 0, w->model->index(0, 0, w->model->index(0, 0)));
  EXPECT_EQ(caption_of(*w->model, moved).left(3), "2  ");
  EXPECT_EQ(caption_of(*w->model, moved.parent()).left(3), "1  ");
  EXPECT_EQ(moved.row(), 2);
  EXPECT_EQ(w->model->rowCount(moved), 4);  // 2.1 to 2.4 came along
  EXPECT_EQ(caption_of(*w->model, w->model->index(1, 0, w->model->index(0, 0))).left(3), "3  ");
}

TEST(DocumentWindows, CompoundWindowBindsItsSharedPageWindowByChapter) {
  program_fixture f;
  ASSERT_EQ(f.start(), -1);
  const std::string path = f.demo("demo_compound");
  calc::recalculated_estimate independent;  // read-only, before the window holds the files
  std::string error;
  ASSERT_TRUE(calc::recalculate_estimate_file(path, independent, error)) << error;
  ASSERT_TRUE(f.main().open_estimate(path, 0, false));
  auto* w = dynamic_cast<Tfrm_multi*>(f.main().active_document());
  ASSERT_NE(w, nullptr);
  // The window's run gives the totals a read-only run gives; the strip shows the whole.
  ASSERT_NE(w->values(), nullptr);
  EXPECT_DOUBLE_EQ(w->values()->result.totals.gross, independent.compound_result.totals.gross);
  ASSERT_EQ(w->values()->chapters.size(), independent.compound_result.chapters.size());
  // One state: a chapter's pages read its model where the compound's summaries find it.
  for (size_t k = 0; k < w->values()->chapters.size(); ++k) {
    const calc::chapter_model& ch = w->values()->model.chapters[k];
    EXPECT_FALSE(ch.doc.nodes.empty()) << k;
    ASSERT_NE(w->values()->chapters[k].second, nullptr);
    EXPECT_EQ(&w->values()->chapters[k].second->model, &ch.doc) << k;
  }
  EXPECT_FALSE(w->pnl_chd_value_razem->text().isEmpty());
  EXPECT_TRUE(w->pnl_chd_value->text().isEmpty());
  const estimate_tree_model& m = *w->model;
  QModelIndex root = m.index(0, 0);
  EXPECT_EQ(caption_of(m, root), "Dom jednorodzinny z garażem - kosztorys złożony");
  ASSERT_GE(m.rowCount(root), 3);
  EXPECT_EQ(w->compound_page_window()->page_count(), 11);
  EXPECT_FALSE(w->constituent_in_front());

  // A node of chapter 1: the shared page window comes to the front bound to that chapter.
  w->tree_multi->setCurrentIndex(m.index(0, 0, m.index(0, 0, root)));
  ASSERT_TRUE(w->constituent_in_front());
  const void* first = w->page_window()->bound();
  EXPECT_EQ(first, estimate_tree_model::node_of(m.index(0, 0, root)));
  EXPECT_EQ(w->page_window()->pages()->tabText(w->page_window()->current_page()), "Definiuj");
  ASSERT_NE(w->page_window()->values(), nullptr);
  EXPECT_DOUBLE_EQ(w->page_window()->values()->result.totals.gross,
                   independent.compound_result.chapters[0].totals.gross);
  EXPECT_FALSE(w->pnl_chd_value->text().isEmpty());
  // Another node of the same chapter: no rebinding; a node of chapter 2 rebinds.
  w->page_window()->view(0)->calls.clear();
  w->tree_multi->setCurrentIndex(m.index(1, 0, m.index(0, 0, root)));
  EXPECT_EQ(w->page_window()->bound(), first);
  w->tree_multi->setCurrentIndex(m.index(1, 0, root));
  EXPECT_EQ(w->page_window()->bound(), estimate_tree_model::node_of(m.index(1, 0, root)));
  EXPECT_EQ(w->windowTitle(), "demo_compound.kvr (Fundamenty)");  // an internal chapter, by its name
  // The root brings the compound level back.
  w->tree_multi->setCurrentIndex(root);
  EXPECT_FALSE(w->constituent_in_front());

  // The external chapter's file named by a request activates the compound's window on it.
  EXPECT_TRUE(f.main().open_estimate(f.tmp.path() + "demo_garage.kvr", 0, true));
  EXPECT_EQ(f.main().documents().size(), 1);
  EXPECT_TRUE(w->constituent_in_front());
}

// An external chapter moved to another folder: message 294, then the estimate-file dialog
// opens in the folder the chapter was in; the file picked there becomes the chapter.
TEST(DocumentWindows, MovedExternalChapterIsLocatedInAFileDialog) {
  program_fixture f;
  ASSERT_EQ(f.start(), -1);
  const std::string path = f.demo("demo_compound");
  std::filesystem::create_directory(f.tmp.path() + "moved");
  const std::string moved = f.tmp.path() + "moved/demo_garage.kvr";
  std::filesystem::rename(f.tmp.path() + "demo_garage.kvr", moved);
  QString folder, filters;
  bool answered = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!d || answered) return;
    answered = true;
    folder = QDir(d->directory()).absolutePath();
    filters = d->nameFilters().join(";");
    d->selectFile(QString::fromStdString(moved));
    QMetaObject::invokeMethod(d, "accept");
  });
  poll.start(10);
  ASSERT_TRUE(f.main().open_estimate(path, 0, false));
  poll.stop();
  EXPECT_TRUE(answered);
  EXPECT_EQ(folder, QDir(QString::fromStdString(f.tmp.path())).absolutePath());
  EXPECT_TRUE(filters.contains("*.kvr"));
  int asked = 0;
  for (const auto& r : f.sink.requests()) asked += r.number == 294 ? 1 : 0;
  EXPECT_EQ(asked, 1);
  auto* w = dynamic_cast<Tfrm_multi*>(f.main().active_document());
  ASSERT_NE(w, nullptr);
  ASSERT_NE(w->values(), nullptr);
  EXPECT_EQ(w->values()->chapters.size(), 3u);  // the garage is back among the chapters
}

TEST(OpenDialog, HeaderLinesOfTheSelectedFile) {
  program_fixture f;
  EXPECT_EQ(open_file_type("/x/A.KVR"), 1);
  EXPECT_EQ(open_file_type("/x/a.gtm"), 13);
  EXPECT_EQ(open_file_type("/x/a.txt"), 0);
  EXPECT_EQ(header_version_text(350, 0), "3.x");
  EXPECT_EQ(header_version_text(650, 3), "6.5x");
  EXPECT_EQ(header_version_text(800, 8), "8.8");
  auto house = open_dialog_lines(f.demo("demo_house"));
  EXPECT_EQ(house.first.rfind("KOSZTORYS", 0), 0u);
  EXPECT_EQ(house.second, "Kosztorys v8.8 prosty");
  EXPECT_EQ(open_dialog_lines(f.demo("demo_compound")).second, "Kosztorys v8.8 złożony");
  const std::string text = f.tmp.path() + "a.kvr";
  std::ofstream(text) << "nie kosztorys";
  EXPECT_EQ(open_dialog_lines(text), (std::pair<std::string, std::string>{}));
  EXPECT_EQ(open_dialog_lines(f.tmp.path()), (std::pair<std::string, std::string>{}));
}
