#include "app/main_window.h"

#include "app/document_window.h"
#include "app/help_window.h"
#include "app/open_dialog.h"
#include "app/page_windows.h"
#include "app/print_command.h"
#include "app/printer_dialogs.h"
#include "store/paths.h"
#include "controls/apply_look.h"
#include "controls/editor_mode.h"
#include "document/compound_nodes.h"
#include "document/estimate_doc.h"
#include "shell/command_line.h"
#include "shell/general_settings.h"
#include "shell/hint_table.h"
#include "shell/ini_file.h"
#include "shell/ini_form.h"
#include "shell/messages.h"
#include "store/codepage.h"
#include "store/open_files.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>
#include <stdexcept>

namespace kovra::app {

namespace {

constexpr const char* recent_section = "Ostatnio otwarte kosztorysy";
constexpr int autosave_interval_ms = 2000;

std::string internal(const std::string& utf8) { return store::utf8_to_mazovia(utf8); }

shell::screen_area screen_area_now() {
  QScreen* s = QGuiApplication::primaryScreen();
  QRect all = s ? s->geometry() : QRect(0, 0, 1024, 768);
  QRect work = s ? s->availableGeometry() : all;
  return {all.width(), all.height(), work.width(), work.height()};
}

} // namespace

QKeySequence parse_shortcut(const std::string& text, const std::string& hint) {
  if (text.empty()) return {};
  // The system's names for keys Qt spells differently.
  QString qt = QString::fromStdString(text);
  qt.replace("PgDn", "PgDown").replace("Enter", "Return");
  QKeySequence k = QKeySequence::fromString(qt, QKeySequence::PortableText);
  if (k.isEmpty() || k[0].key() == Qt::Key_unknown)
    throw std::runtime_error("Nie ma takiego ShortCut: " + hint + " " + text);
  return k;
}

void check_shortcuts() {
  for (int row = 0; row < shell::hint_row_count; ++row) parse_shortcut(shell::hint(row).shortcut, shell::hint(row).hint);
}

QAction* Tfrm_main::add_item(QMenu* menu, const char* text, int hint_row, std::function<void()> handler) {
  QAction* a = menu->addAction(QString::fromUtf8(text));
  if (hint_row >= 0) item_rows_.emplace_back(a, hint_row);
  if (handler) connect(a, &QAction::triggered, this, [handler] { handler(); });
  return a;
}

void Tfrm_main::hint_button(QToolButton* b, int row) { button_rows_.emplace_back(b, row); }

Tfrm_main::Tfrm_main(const std::string& ini_path, const QString& version, const std::string& help_path,
                     const std::string& data_folder)
    : ini_path_(ini_path), help_path_(help_path), data_folder_(data_folder) {
  setObjectName("Tfrm_main");
  setWindowTitle("Kovra");
  mdi = new QMdiArea(this);
  mdi->setObjectName("mdi");
  setCentralWidget(mdi);

  // "&Kosztorys"
  menu_kosztorys = menuBar()->addMenu("&Kosztorys");
  item_rows_.emplace_back(menu_kosztorys->menuAction(), 0);
  QMenu* menu_new = menu_kosztorys->addMenu("&Nowy");
  item_rows_.emplace_back(menu_new->menuAction(), 1);
  hidden_items << menu_new->menuAction() << add_item(menu_new, "&Prosty", 2) << add_item(menu_new, "&Złożony", 3);
  item_open = add_item(menu_kosztorys, "&Otwórz", 4, [this] { item_open_click(); });
  menu_recent = menu_kosztorys->addMenu("Otwórz pono&wnie");
  item_recent_empty = menu_recent->addAction("Pusty");
  item_recent_empty->setEnabled(false);
  item_close = add_item(menu_kosztorys, "Z&amknij", 5, [this] {
    if (QMdiSubWindow* w = mdi->activeSubWindow()) w->close();
  });
  item_recalc = add_item(menu_kosztorys, "Prze&licz", 6);
  hidden_items << item_recalc << add_item(menu_kosztorys, "&Zapisz", 7) << add_item(menu_kosztorys, "Zapisz &jako", 8)
               << add_item(menu_kosztorys, "Zmień &hasło", -1) << add_item(menu_kosztorys, "Zapisz &wszystko", 9)
               << add_item(menu_kosztorys, "Zapisz do &wyceny", 10);
  QMenu* menu_compare = menu_kosztorys->addMenu("Po&równaj");
  item_rows_.emplace_back(menu_compare->menuAction(), 11);
  hidden_items << menu_compare->menuAction() << add_item(menu_compare, "z &ofertą", 12)
               << add_item(menu_compare, "z &katalogami", 13) << add_item(menu_kosztorys, "Wstaw &przedmiar", -1)
               << add_item(menu_kosztorys, "&Import", 14);
  QMenu* menu_export = menu_kosztorys->addMenu("&Eksport");
  item_rows_.emplace_back(menu_export->menuAction(), 16);
  hidden_items << menu_export->menuAction() << add_item(menu_export, "Planista", 17) << add_item(menu_export, "bManager", 18)
               << add_item(menu_export, "Artemis", 19) << add_item(menu_export, "Artemis (pliki)", 20)
               << add_item(menu_kosztorys, "Wyślij &e-mailem", -1);
  menu_kosztorys->addSeparator();
  QMenu* menu_setup = menu_kosztorys->addMenu("&Ustawienia drukarki");
  item_printer_setup = menu_setup->menuAction();
  item_rows_.emplace_back(item_printer_setup, 22);
  item_printer_text = add_item(menu_setup, "Tryb &tekstowy", 23, [this] {
    const auto defs = report::load_printer_dat(store::program_file("printer.dat"));
    Tdlg_printer_conf(report::current_printer_config(), defs ? &*defs : nullptr, prnconf_path, this).exec();
  });
  item_printer_graphic = add_item(menu_setup, "Tryb &graficzny", 24, [this] { graphic_printer_setup(this); });
  item_print_k = add_item(menu_kosztorys, "&Drukuj", 25);
  hidden_items << item_print_k;
  menu_kosztorys->addSeparator();
  item_tree = add_item(menu_kosztorys, "D&rzewko", 65);
  item_tree->setCheckable(true);
  item_tree->setChecked(true);
  connect(item_tree, &QAction::triggered, this, [this](bool on) {
    if (Tfrm_child* c = active_document()) c->set_tree_visible(on);
    update_menu_items();
  });
  menu_kosztorys->addSeparator();
  item_exit = add_item(menu_kosztorys, "Za&kończ", 26, [this] { close(); });

  // Menus of the full product, hidden in this edition.
  QMenu* menu_ceny = menuBar()->addMenu("&Ceny");
  item_rows_.emplace_back(menu_ceny->menuAction(), 27);
  hidden_items << menu_ceny->menuAction();
  for (int row = 28; row <= 38; ++row) add_item(menu_ceny, shell::hint(row).hint, row);
  QMenu* menu_tools = menuBar()->addMenu("&Narzędzia");
  item_rows_.emplace_back(menu_tools->menuAction(), 39);
  hidden_items << menu_tools->menuAction();
  for (int row = 40; row <= 44; ++row) add_item(menu_tools, shell::hint(row).hint, row);

  menu_wydruki = menuBar()->addMenu("Wydruki");
  item_predefined = add_item(menu_wydruki, "Pre&definiowany", -1, [this] { item_predefined_click(); });
  item_print = add_item(menu_wydruki, "&Drukuj", 64, [this] { item_print_click(); });

  menu_okno = menuBar()->addMenu("&Okno");
  item_rows_.emplace_back(menu_okno->menuAction(), 45);
  item_cascade = add_item(menu_okno, "&Kaskada", 46, [this] { mdi->cascadeSubWindows(); });
  item_tile_h = add_item(menu_okno, "Ułóż p&oziomo", 47, [this] { tile_horizontally(); });
  item_tile_v = add_item(menu_okno, "Ułóż p&ionowo", 48, [this] { tile_vertically(); });
  item_arrange = add_item(menu_okno, "&Rozmieść ikony", 49, [this] { arrange_icons(); });
  item_minimize_all = add_item(menu_okno, "&Zminimalizuj wszystko", 50, [this] { minimize_all(); });
  connect(menu_okno, &QMenu::aboutToShow, this, [this] { fill_window_list(); });

  menu_pomoc = menuBar()->addMenu("&Pomoc");
  item_rows_.emplace_back(menu_pomoc->menuAction(), 51);
  item_help_topics = add_item(menu_pomoc, "&Tematy pomocy", 52, [this] { show_help(0); });
  hidden_items << add_item(menu_pomoc, "Porady &dnia", 53) << add_item(menu_pomoc, "&Aktualizacja", -1)
               << add_item(menu_pomoc, "&Konwersja kosztorysów", -1);
  // Never shown in a menu, yet their shortcuts work in every window of the program.
  item_prev_page = new QAction("Poprzednia zakładka", this);
  item_next_page = new QAction("Następna zakładka", this);
  connect(item_prev_page, &QAction::triggered, this, [this] {
    if (Tfrm_child* c = active_document()) c->switch_page(false);
  });
  connect(item_next_page, &QAction::triggered, this, [this] {
    if (Tfrm_child* c = active_document()) c->switch_page(true);
  });
  addAction(item_prev_page);
  addAction(item_next_page);
  QAction* survey = add_item(menu_kosztorys, "Pasek &przedmiaru", -1);
  QAction* left = add_item(menu_kosztorys, "Przesuń w &lewo", 66);
  QAction* right = add_item(menu_kosztorys, "Przesuń w &prawo", 67);
  hidden_items << survey << left << right;

  // Tool bar.
  QToolBar* bar = addToolBar("Narzędzia");
  bar->setObjectName("tool_bar");
  bar->setMovable(false);
  btn_any_new = new QToolButton(bar);
  btn_any_new->setObjectName("btn_any_new");
  btn_any_new->setText(shell::general_settings().new_estimate_kind() == 2 ? "Nowy złożony" : "Nowy prosty");
  btn_any_new->setPopupMode(QToolButton::MenuButtonPopup);
  btn_any_new->setMenu(menu_new);
  btn_any_new->setEnabled(false);
  hint_button(btn_any_new, shell::general_settings().new_estimate_kind() == 2 ? 61 : 60);
  btn_open = new QToolButton(bar);
  btn_open->setObjectName("btn_open");
  btn_open->setText("Otwórz");
  connect(btn_open, &QToolButton::clicked, this, [this] { item_open_click(); });
  hint_button(btn_open, 62);
  btn_save = new QToolButton(bar);
  btn_save->setObjectName("btn_save");
  btn_save->setText("Zapisz");
  btn_save->setEnabled(false);
  hint_button(btn_save, 63);
  btn_print = new QToolButton(bar);
  btn_print->setObjectName("btn_print");
  btn_print->setText("Drukuj");
  connect(btn_print, &QToolButton::clicked, this, [this] { item_print_click(); });
  hint_button(btn_print, 64);
  btn_tree_on_off = new QToolButton(bar);
  btn_tree_on_off->setObjectName("btn_tree_on_off");
  btn_tree_on_off->setText("Drzewko");
  btn_tree_on_off->setDefaultAction(item_tree);
  hint_button(btn_tree_on_off, 65);
  for (QToolButton* b : {btn_any_new, btn_open, btn_save, btn_print}) bar->addWidget(b);
  bar->addSeparator();
  bar->addWidget(btn_tree_on_off);

  // Status line: hint, editor mode, version.
  lbl_hint = new QLabel(this);
  lbl_mode = new QLabel("WST", this);
  lbl_mode->setObjectName("lbl_mode");
  lbl_mode->setFixedWidth(40);
  lbl_mode->setAlignment(Qt::AlignCenter);
  lbl_version = new QLabel(version, this);
  lbl_version->setObjectName("lbl_version");
  lbl_version->setFixedWidth(60);
  lbl_version->setAlignment(Qt::AlignCenter);
  statusBar()->addWidget(lbl_hint, 1);
  statusBar()->addPermanentWidget(lbl_mode);
  statusBar()->addPermanentWidget(lbl_version);

  for (QAction* a : hidden_items) {
    a->setVisible(false);
    a->setEnabled(false);
  }
  // The placeholder of an empty recent list gets no hint row: it keeps its own text.
  apply_hints(shell::general_settings().show_hints());

  autosave_timer = new QTimer(this);
  autosave_timer->setObjectName("autosave_timer");
  autosave_timer->setInterval(autosave_interval_ms);  // in this edition it does nothing when it fires
  if (shell::general_settings().autosave()) autosave_timer->start();

  connect(mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
    for (Tfrm_child* c : documents())
      if (!w || c != w->widget()) c->on_deactivated();
    if (w)
      if (auto* c = dynamic_cast<Tfrm_child*>(w->widget()); c && c->ready) c->on_activated();
    update_menu_items();
  });
  qApp->installEventFilter(this);
  // The program's own editors ask the main window to switch the mode (Insert pressed).
  controls::VL_editor_mode::instance().set_switch_handler([this](bool insert) {
    set_insert_mode(insert);
    return true;
  });

  // Placement under "Okno glowne": 599 x 432 maximized, at least 300 x 100.
  shell::placement now{x(), y(), 599, 432, 2};
  shell::restored_placement p = shell::restore_form_placement(shell::main_window_key, now, {599, 432, 2, 300, 100},
                                                              screen_area_now());
  setMinimumSize(300, 100);
  setGeometry(p.window.left, p.window.top, p.window.width, p.window.height);
  if (p.window.state == 2) setWindowState(Qt::WindowMaximized);
  choose_file = [this] {
    KVR_OpenDialog dialog(this, last_folder.isEmpty() ? QString::fromStdString(data_folder_) : last_folder);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                  : QString();
  };
  read_recent();
  update_menu_items();
}

Tfrm_main::~Tfrm_main() {
  qApp->removeEventFilter(this);
  controls::VL_editor_mode::instance().set_switch_handler(nullptr);
}

void Tfrm_main::apply_hints(bool show) {
  for (auto& [a, row] : item_rows_) {
    const shell::hint_row& h = shell::hint(row);
    a->setStatusTip(show ? QString::fromUtf8(h.hint) : QString());
    if (a != item_prev_page && a != item_next_page && !a->menu()) a->setShortcut(parse_shortcut(h.shortcut, h.hint));
  }
  item_prev_page->setShortcut(QKeySequence("Ctrl+,"));
  item_next_page->setShortcut(QKeySequence("Ctrl+."));
  for (auto& [b, row] : button_rows_) {
    const QString text = QString::fromStdString(shell::button_hint(row));
    const int bar_at = text.indexOf('|');
    b->setToolTip(show ? text.left(bar_at) : QString());
    b->setStatusTip(show ? text.mid(bar_at + 1) : QString());
    if (b->defaultAction()) {
      b->defaultAction()->setToolTip(b->toolTip());
      b->defaultAction()->setStatusTip(show ? b->statusTip() : QString());
    }
  }
  // "D&rzewko" and the tree button share row 65's shortcut.
  item_tree->setShortcut(parse_shortcut(shell::hint(65).shortcut));
  item_open->setShortcut(parse_shortcut(shell::hint(4).shortcut));
  item_print->setShortcut(parse_shortcut(shell::hint(25).shortcut));
  item_print_k->setShortcut({});
  connect(statusBar(), &QStatusBar::messageChanged, lbl_hint, &QLabel::setText, Qt::UniqueConnection);
}

QList<Tfrm_child*> Tfrm_main::documents() const {
  QList<Tfrm_child*> list;
  for (QMdiSubWindow* w : mdi->subWindowList(QMdiArea::CreationOrder))
    if (auto* c = dynamic_cast<Tfrm_child*>(w->widget())) list << c;
  return list;
}

Tfrm_child* Tfrm_main::active_document() const {
  QMdiSubWindow* w = mdi->activeSubWindow();
  if (!w) w = mdi->currentSubWindow();
  auto* c = w ? dynamic_cast<Tfrm_child*>(w->widget()) : nullptr;
  return c && c->ready ? c : nullptr;
}

bool Tfrm_main::open_estimate(const std::string& path, int mode, bool find_open) {
  if (find_open)
    for (Tfrm_child* c : documents()) {
      document::Base_Node* node = nullptr;
      if (!c->shows_file(path, &node)) continue;
      for (QMdiSubWindow* w : mdi->subWindowList())
        if (w->widget() == c) mdi->setActiveSubWindow(w);
      if (node) {
        c->select_node(node);
        if (auto* multi = dynamic_cast<Tfrm_multi*>(c)) {
          if (multi->page_window()) multi->page_window()->show_position(0, node, "");
        }
      }
      return true;
    }
  if (store::find_open_file(path) >= 0) {
    shell::msg_box(15, internal(path).c_str());
    return false;
  }
  // A header that cannot be read is told by the window's own check (messages 155, 156).
  uint8_t error = 0;
  const int kind = document::document_kind(path, &error);
  if (documents().size() >= max_document_windows) {
    shell::msg_box(207);
    return false;
  }
  Tfrm_child* child = kind == 2 ? static_cast<Tfrm_child*>(new Tfrm_multi(this)) : new Tfrm_simple(this);
  QMdiSubWindow* sub = mdi->addSubWindow(child);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setMinimumSize(200, 150);
  if (!child->open(path, mode)) {
    mdi->removeSubWindow(sub);
    sub->deleteLater();
    update_menu_items();
    return false;
  }
  controls::apply_screen_look(child);
  sub->setWindowTitle(child->windowTitle());
  sub->setWindowIcon(child->windowIcon());
  connect(child, &QWidget::windowTitleChanged, sub, &QWidget::setWindowTitle);
  sub->showMaximized();
  mdi->setActiveSubWindow(sub);
  last_folder = QFileInfo(QString::fromStdString(path)).absolutePath();
  update_menu_items();
  return true;
}

void Tfrm_main::add_recent(const std::string& path) {
  const QString p = QString::fromStdString(path);
  for (int i = recent_.size() - 1; i >= 0; --i)
    if (recent_[i].compare(p, Qt::CaseInsensitive) == 0) recent_.removeAt(i);
  recent_.prepend(p);
  while (recent_.size() > max_recent) recent_.removeLast();
  rebuild_recent();
}

void Tfrm_main::rebuild_recent() {
  for (QAction* a : menu_recent->actions())
    if (a != item_recent_empty) {
      menu_recent->removeAction(a);
      a->deleteLater();
    }
  item_recent_empty->setVisible(recent_.isEmpty());
  for (const QString& p : recent_) {
    QAction* a = menu_recent->addAction(p);
    connect(a, &QAction::triggered, this, [this, p] {
      recent_.removeAll(p);
      const std::string path = p.toStdString();
      if (QFileInfo::exists(p)) {
        rebuild_recent();
        open_estimate(path, 0, false);
      } else {
        shell::msg_box(7, internal(path).c_str());
        rebuild_recent();
      }
    });
  }
}

bool Tfrm_main::write_recent() {
  shell::ini_file ini;
  if (!ini.load(ini_path_) && QFileInfo::exists(QString::fromStdString(ini_path_))) {
    shell::msg_box(189, internal(ini_path_).c_str());
    return false;
  }
  ini.erase_section(recent_section);
  for (int i = recent_.size() - 1; i >= 0; --i) ini.write(recent_section, recent_[i].toStdString(), "1");
  if (!ini.save(ini_path_)) {
    shell::msg_box(189, internal(ini_path_).c_str());
    return false;
  }
  return true;
}

void Tfrm_main::read_recent() {
  shell::ini_file ini;
  recent_.clear();
  if (ini.load(ini_path_))
    for (const std::string& key : ini.keys(recent_section)) add_recent(key);
  rebuild_recent();
}

void Tfrm_main::update_menu_items() {
  Tfrm_child* active = active_document();
  const bool d = active != nullptr;
  menu_wydruki->menuAction()->setEnabled(d);
  item_close->setEnabled(d);
  for (QAction* a : {item_cascade, item_tile_h, item_tile_v, item_arrange, item_minimize_all, item_prev_page,
                     item_next_page})
    a->setEnabled(d);
  item_recalc->setVisible(false);
  item_print_k->setVisible(false);
  btn_save->setEnabled(false);
  btn_print->setEnabled(d);
  item_tree->setEnabled(d);
  item_tree->setChecked(d ? active->tree_visible() : item_tree->isChecked());
  const bool printers = !QPrinterInfo::availablePrinterNames().isEmpty();
  item_printer_text->setEnabled(printers);
  item_printer_graphic->setEnabled(printers);
}

void Tfrm_main::document_closed(Tfrm_child*) {
  QTimer::singleShot(0, this, [this] { update_menu_items(); });
}

void Tfrm_main::item_open_click() {
  const QString chosen = choose_file ? choose_file() : QString();
  if (chosen.isEmpty()) return;
  last_folder = QFileInfo(chosen).absolutePath();
  if (open_file_type(chosen.toStdString()) == 1) open_estimate(chosen.toStdString(), 0, false);
}

void Tfrm_main::item_print_click() {
  if (QPrinterInfo::availablePrinterNames().isEmpty()) {
    shell::msg_box(134);
    return;
  }
  if (!active_document()) return;
  QWidget* focused = QApplication::focusWidget();
  active_document()->pnl_chd_value->setFocus();
  Tfrm_child* document = active_document();
  configure_print(this, document->file_name(), [document] { document->recalculate(); });
  if (focused) focused->setFocus();
  active_document()->refresh_values();
}

void Tfrm_main::item_predefined_click() {
  if (active_document()) shell::msg_box(275);
}

void Tfrm_main::open_request(const std::string& command) {
  std::optional<std::string> path = shell::open_command_path(command);
  if (path && QFileInfo(QString::fromStdString(*path)).isFile()) open_estimate(*path, 0, true);
  activateWindow();
  raise();
}

void Tfrm_main::set_insert_mode(bool insert) {
  insert_mode_ = insert;
  lbl_mode->setText(insert ? "WST" : "NAD");
  controls::VL_editor_mode::instance().set_insert_mode(insert);  // the program's own editors follow
  for (QWidget* w : QApplication::allWidgets()) {
    if (auto* t = qobject_cast<QTextEdit*>(w)) t->setOverwriteMode(!insert);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->setOverwriteMode(!insert);
  }
}

bool Tfrm_main::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Overwrite mode in a line editor: the typed character takes the place of the next one.
    if (!insert_mode_ && !key->text().isEmpty() && key->text()[0].isPrint() &&
        !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
      if (auto* line = qobject_cast<QLineEdit*>(watched); line && !line->hasSelectedText() &&
                                                         line->cursorPosition() < line->text().size())
        line->cursorForward(true, 1);
    if (key->key() == Qt::Key_Insert && !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) &&
        (qobject_cast<QLineEdit*>(watched) || qobject_cast<QTextEdit*>(watched) || qobject_cast<QPlainTextEdit*>(watched))) {
      set_insert_mode(!insert_mode_);
      return true;
    }
  }
  if (event->type() == QEvent::ApplicationActivate && shell::general_settings().autosave()) autosave_timer->start();
  if (event->type() == QEvent::ApplicationDeactivate) autosave_timer->stop();
  return QMainWindow::eventFilter(watched, event);
}

void Tfrm_main::show_help(int context) {
  auto* help = findChild<Tfrm_help*>();
  if (!help) help = new Tfrm_help(this);
  help->show_context(help_file_for(help_path_), context);
}

void Tfrm_main::tile_horizontally() {
  QList<QMdiSubWindow*> shown;
  for (QMdiSubWindow* w : mdi->subWindowList())
    if (!w->isMinimized()) shown << w;
  if (shown.isEmpty()) return;
  const int h = mdi->viewport()->height() / int(shown.size());
  for (int i = 0; i < shown.size(); ++i) {
    shown[i]->showNormal();
    shown[i]->setGeometry(0, i * h, mdi->viewport()->width(), h);
  }
}

void Tfrm_main::tile_vertically() {
  QList<QMdiSubWindow*> shown;
  for (QMdiSubWindow* w : mdi->subWindowList())
    if (!w->isMinimized()) shown << w;
  if (shown.isEmpty()) return;
  const int wdt = mdi->viewport()->width() / int(shown.size());
  for (int i = 0; i < shown.size(); ++i) {
    shown[i]->showNormal();
    shown[i]->setGeometry(i * wdt, 0, wdt, mdi->viewport()->height());
  }
}

void Tfrm_main::arrange_icons() {
  int x = 0;
  for (QMdiSubWindow* w : mdi->subWindowList())
    if (w->isMinimized()) {
      w->move(x, mdi->viewport()->height() - w->height());
      x += w->width();
    }
}

void Tfrm_main::minimize_all() {
  QList<QMdiSubWindow*> list = mdi->subWindowList(QMdiArea::CreationOrder);
  for (int i = list.size() - 1; i >= 0; --i) list[i]->showMinimized();
}

void Tfrm_main::fill_window_list() {
  for (QAction* a : window_list_) {
    menu_okno->removeAction(a);
    a->deleteLater();
  }
  window_list_.clear();
  const QList<QMdiSubWindow*> list = mdi->subWindowList(QMdiArea::CreationOrder);
  if (list.isEmpty()) return;
  window_list_ << menu_okno->addSeparator();
  int n = 1;
  for (QMdiSubWindow* w : list) {
    QAction* a = menu_okno->addAction(QString("&%1 %2").arg(n++).arg(w->windowTitle()));
    a->setCheckable(true);
    a->setChecked(w == mdi->activeSubWindow());
    connect(a, &QAction::triggered, this, [this, w] { mdi->setActiveSubWindow(w); });
    window_list_ << a;
  }
}

void Tfrm_main::closeEvent(QCloseEvent* event) {
  // Every document window closes, from the last to the first.
  QList<QMdiSubWindow*> list = mdi->subWindowList(QMdiArea::CreationOrder);
  for (int i = list.size() - 1; i >= 0; --i)
    if (!list[i]->close()) {
      event->ignore();
      return;
    }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  const bool maximized = isMaximized();
  shell::placement p{x(), y(), width(), height(), maximized ? 2 : isMinimized() ? 1 : 0};
  if (maximized) p = {normalGeometry().x(), normalGeometry().y(), normalGeometry().width(), normalGeometry().height(), 2};
  shell::save_form_placement(shell::main_window_key, p);
  write_recent();
  event->accept();
}

} // namespace kovra::app
