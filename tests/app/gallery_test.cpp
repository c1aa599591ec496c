// The gallery: every window and page this program shows, opened on the demo estimates.
// With KOVRA_SCREENSHOT_DIR set each one is saved there as a PNG; without it the test
// checks that each was shown with a non-empty size.
#include "app/app_support.h"
#include "app/document_window.h"
#include "app/login_dialog.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/open_dialog.h"
#include "app/page_windows.h"
#include "app/progress_window.h"
#include "app/print_config_dialog.h"
#include "app/print_preview.h"
#include "app/printer_dialogs.h"
#include "app/text_preview.h"
#include <fstream>
#include "printouts/print_dispatcher.h"
#include <QPrinter>
#include "app/estimate_tree_model.h"
#include "shell/messages.h"
#include "shell/progress.h"
#include "views/define_view.h"
#include "views/position_sub_views.h"
#include "views/cost_dialogs.h"
#include "views/overhead_summary_view.h"
#include "views/overheads_view.h"
#include "views/summary_view.h"

#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTabWidget>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace kovra;
using namespace kovra::app;

namespace {

struct gallery {
  QString dir = qEnvironmentVariable("KOVRA_SCREENSHOT_DIR");
  QStringList taken;

  void take(QWidget& w, const QString& name) {
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.isVisible()) << name.toStdString();
    const QPixmap shot = w.grab();
    EXPECT_FALSE(shot.isNull()) << name.toStdString();
    EXPECT_GT(shot.width() * shot.height(), 0) << name.toStdString();
    if (!dir.isEmpty()) {
      QDir().mkpath(dir);
      EXPECT_TRUE(shot.save(QDir(dir).filePath(name + ".png"))) << name.toStdString();
    }
    taken << name;
  }
};

void pages_of(gallery& g, QWidget& window, tabbed_page_window& pages, const QString& prefix) {
  for (int i = 0; i < pages.page_count(); ++i) {
    pages.select_page(i);
    QString caption = pages.pages()->tabText(i).toLower().replace(' ', '_');
    g.take(window, prefix + QString("_%1_").arg(i + 1, 2, 10, QChar('0')) + caption);
  }
  pages.select_page(0);
}

} // namespace

TEST(gallery, EveryWindowAndPage) {
  test::program_fixture f;
  ASSERT_EQ(f.start(), -1);
  gallery g;
  Tfrm_main& main = f.main();
  main.setWindowState(Qt::WindowNoState);
  main.resize(1100, 720);

  ASSERT_TRUE(main.open_estimate(f.demo("demo_house"), 0, false));
  auto* simple = dynamic_cast<Tfrm_simple*>(main.active_document());
  ASSERT_NE(simple, nullptr);
  simple->tree_multi->expandAll();
  g.take(main, "main_window_simple");
  pages_of(g, main, *simple->page_window(), "simple");
  // The positions page with each sub-view under it: rows by number (elements first) and sub-page.
  {
    gallery sub_views;  // counted apart from the windows and pages
    Tfrm_koszt& k = *simple->page_window();
    k.select_page(k.page_index("Definiuj"));
    auto* define = dynamic_cast<views::Tfrm_define*>(k.view(k.page_index("Definiuj")));
    ASSERT_NE(define, nullptr);
    const std::pair<int, int> shots[] = {{2, 1}, {3, 1}, {43, 1}, {45, 1}, {46, 1}, {3, 2}, {45, 2}, {3, 3}, {1, 0}};
    for (auto [row, sub] : shots) {
      define->set_sub_page(sub);
      define->select_row(row);
      QString name = define->current_sub_view() ? define->current_sub_view()->view_class() : QString("Lista");
      sub_views.take(main, "simple_define_" + name.toLower());
    }
    EXPECT_EQ(sub_views.taken.size(), 9);
    define->set_sub_page(views::Tfrm_define::page_rms);
    k.select_page(0);
  }

  ASSERT_TRUE(main.open_estimate(f.demo("demo_compound"), 0, false));
  auto* multi = dynamic_cast<Tfrm_multi*>(main.active_document());
  ASSERT_NE(multi, nullptr);
  multi->tree_multi->expandAll();
  g.take(main, "main_window_compound");
  pages_of(g, main, *multi->compound_page_window(), "compound");
  multi->tree_multi->setCurrentIndex(multi->model->index(0, 0, multi->model->index(0, 0)));
  ASSERT_TRUE(multi->constituent_in_front());
  pages_of(g, main, *multi->page_window(), "compound_chapter");

  main.tile_vertically();
  g.take(main, "main_window_tiled");

  // The open dialog with the selected estimate's two header lines.
  KVR_OpenDialog open(&main, QString::fromStdString(f.tmp.path()));
  open.show();
  EXPECT_TRUE(test::wait_until([&] {  // the folder's list is read in the background
    open.selectFile(QString::fromStdString(f.tmp.path() + "demo_house.kvr"));
    return !open.line2->text().isEmpty();
  }));
  EXPECT_EQ(open.line2->text(), "Kosztorys v8.8 prosty");
  g.take(open, "open_dialog");
  open.reject();

  // The login dialog with two users, a catalogue box, the progress window.
  shell::login_start start;
  start.plan.logins = {"Administrator", "Kowalski"};
  start.plan.selected = 1;
  Tdlg_login login(mode_login, &start);
  login.show();
  g.take(login, "login_dialog");
  Tdlg_login check(mode_check, nullptr, "/dane/dom.kvr");
  check.show();
  g.take(check, "password_dialog");
  shell::message_request r;
  r.icon = shell::msg_icon::question;
  r.buttons = shell::msg_buttons::yes_no_cancel;
  r.caption = "Ostrzeżenie";
  r.text = "Plik \"dom.kvr\" został zmieniony.\nCzy zapisać zmiany?";
  auto box = make_message_box(r);
  box->show();
  g.take(*box, "message_box");
  Tdlg_wait_bar wait;
  shell::set_progress_ui(&wait);
  shell::wait_open("Kosztorys", shell::ANIM_NONE, shell::WAIT_ANIMATION | shell::WAIT_BAR | shell::WAIT_STOP, 102);
  shell::wait_set_position(40);
  g.take(wait, "progress_window");
  shell::wait_close();
  shell::reset_progress();

  EXPECT_EQ(g.taken.size(), 3 + 10 + 11 + 10 + 5);  // main window thrice, the pages, the dialogs
}

// The printing windows: the configuration dialog on several option pages and the preview.
TEST(gallery, PrintWindows) {
  test::program_fixture f;
  test::test_app();
  gallery g;
  printouts::print_document doc;
  std::string error;
  ASSERT_TRUE(printouts::open_print_document(f.demo("demo_house"), doc, error)) << error;
  Tdlg_print_config config(doc);
  config.template_folder = KOVRA_SOURCE_DIR "/data";
  config.show();
  for (int code : {1, 5, 10, 40, 45}) {
    config.select_part(code);
    g.take(config, QString("print_config_%1").arg(code, 3, 10, QChar('0')));
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setFullPage(true);
  const QSize page = printer.pageLayout().fullRectPixels(printer.resolution()).size();
  report::generated_report rep = printouts::record_graphic(doc, {40}, printer, page);
  ASSERT_TRUE(rep) << rep.error;
  Tdlg_rp_preview preview(std::move(rep), &printer, {});
  preview.show();
  g.take(preview, "print_preview");
  preview.pages()->set_two_pages(true);
  g.take(preview, "print_preview_two_pages");
  // The text preview over a small spool file, and the text printer's dialogs.
  const std::string spool = f.tmp.path() + "gallery.prn";
  {
    std::ofstream out(spool, std::ios::binary);
    for (int page = 1; page <= 2; ++page) {
      out << "\x1b\x01";
      for (int line = 1; line <= 30; ++line) out << "  " << line << "  KNR 2-02 0290-02  Tynki zwykle  m2  12.50\n";
    }
  }
  Tdlg_preview text(spool);
  ASSERT_TRUE(text.ready());
  text.show();
  g.take(text, "text_preview");
  const auto defs = report::load_printer_dat(KOVRA_SOURCE_DIR "/data/printer.dat");
  ASSERT_TRUE(defs);
  report::printer_config printer_config;
  Tdlg_printer_conf conf(printer_config, &*defs, f.tmp.path() + "prnconf.cfg");
  conf.show();
  g.take(conf, "printer_conf");
  Tdlg_choose_printer choose(*defs);
  choose.show();
  g.take(choose, "choose_printer");
  EXPECT_EQ(g.taken.size(), 10);
}

// Close-ups of the summary pages: the compound's overhead summary with its details, the
// results chart in a small window, the materials sorted by value in one-line mode.
TEST(gallery, SummaryPagesCloseUp) {
  test::program_fixture f;
  ASSERT_EQ(f.start(), -1);
  gallery g;
  Tfrm_main& main = f.main();
  main.setWindowState(Qt::WindowNoState);
  main.resize(1100, 720);
  ASSERT_TRUE(main.open_estimate(f.demo("demo_compound"), 0, false));
  auto* multi = dynamic_cast<Tfrm_multi*>(main.active_document());
  ASSERT_NE(multi, nullptr);
  tabbed_page_window& level = *multi->compound_page_window();
  level.select_page(level.page_index("Zestawienie N"));
  auto* n = dynamic_cast<views::Tfrm_zest_N*>(level.view(level.current_page()));
  ASSERT_NE(n, nullptr);
  n->show_details(true);
  n->select_row(1);
  g.take(main, "closeup_compound_zestawienie_n_details");
  n->show_details(false);

  ASSERT_TRUE(main.open_estimate(f.demo("demo_house"), 0, false));
  auto* simple = dynamic_cast<Tfrm_simple*>(main.active_document());
  ASSERT_NE(simple, nullptr);
  tabbed_page_window& pages = *simple->page_window();
  pages.select_page(pages.page_index("Zestawienie M"));
  auto* m = dynamic_cast<views::Tfrm_zestrms*>(pages.view(pages.current_page()));
  ASSERT_NE(m, nullptr);
  m->sort_by(views::sc_value, false);
  m->set_one_line(true);
  g.take(main, "closeup_simple_zestawienie_m_by_value");
  // The overheads page's note is the estimate's note of the demo file.
  pages.select_page(pages.page_index("Narzuty"));
  auto* o = dynamic_cast<views::Tfrm_ovrhd*>(pages.view(pages.current_page()));
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->note(), "Ceny materiałów netto z kosztami zakupu 5 %. Blachodachówkę dostarcza Inwestor.");
  pages.select_page(pages.page_index("Wyniki"));
  main.resize(640, 420);
  g.take(main, "closeup_simple_wyniki_small");
  // The cost dialog of the first position of the house.
  const views::estimate_values* values = pages.values();
  ASSERT_NE(values, nullptr);
  int first = 0;
  while (first < int(values->model.nodes.size()) && values->model.nodes[size_t(first)].type != calc::node_position) ++first;
  views::Tdlg_sum costs(*values, first, &main);
  costs.show();
  g.take(costs, "closeup_simple_cost_dialog");
  EXPECT_EQ(g.taken.size(), 4);
}
