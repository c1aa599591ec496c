#pragma once
// Tfrm_main: the program's one top-level window: menus, tool bar, status line, the area of
// the document windows, the recent files, the editors' insert/overwrite mode and help.
#include <QKeySequence>
#include <functional>
#include <vector>
#include <QMainWindow>
#include <QStringList>
#include <string>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolButton;

namespace kovra::app {

class Tfrm_child;

inline constexpr int max_document_windows = 5;
inline constexpr int max_recent = 10;

// A shortcut text of the hint table in the system's notation ("Alt+PgDn", "Ctrl+Enter");
// throws std::runtime_error "Nie ma takiego ShortCut: <hint> <text>" when it does not parse.
QKeySequence parse_shortcut(const std::string& text, const std::string& hint = "");
// Every non-empty shortcut of the table, parsed once (start-up).
void check_shortcuts();

class Tfrm_main : public QMainWindow {
public:
  // `ini_path`: kovra.ini (placement, recent files); `version`: the status line's text;
  // `help_path`: the bundled help file.
  Tfrm_main(const std::string& ini_path, const QString& version, const std::string& help_path,
            const std::string& data_folder);
  ~Tfrm_main() override;

  bool open_estimate(const std::string& path, int mode, bool find_open);
  void add_recent(const std::string& path);
  const QStringList& recent() const { return recent_; }
  void update_menu_items();
  Tfrm_child* active_document() const;
  QList<Tfrm_child*> documents() const;
  void document_closed(Tfrm_child* child);

  // An open request of another program: [open("path")].
  void open_request(const std::string& command);

  bool insert_mode() const { return insert_mode_; }
  void set_insert_mode(bool insert);
  // Hints on or off (tooltips and status-line texts).
  void apply_hints(bool show);
  void show_help(int context);

  // The recent list into kovra.ini: the section erased, then the entries from the bottom
  // to the top; message 189 when that fails. Reading gives the same order back.
  bool write_recent();
  void read_recent();

  // Window arrangement.
  void tile_horizontally();
  void tile_vertically();
  void arrange_icons();
  void minimize_all();

  QMdiArea* mdi;
  QMenu* menu_kosztorys;
  QMenu* menu_recent;
  QMenu* menu_wydruki;
  QMenu* menu_okno;
  QMenu* menu_pomoc;
  QAction* item_open;
  QAction* item_recent_empty;
  QAction* item_close;
  std::string prnconf_path;  // the text printer's configuration (prnconf.cfg)
  QAction* item_printer_setup;
  QAction* item_printer_text;
  QAction* item_printer_graphic;
  QAction* item_tree;
  QAction* item_exit;
  QAction* item_recalc;
  QAction* item_print_k;
  QAction* item_predefined;
  QAction* item_print;
  QAction* item_cascade;
  QAction* item_tile_h;
  QAction* item_tile_v;
  QAction* item_arrange;
  QAction* item_minimize_all;
  QAction* item_help_topics;
  QAction* item_prev_page;
  QAction* item_next_page;
  QList<QAction*> hidden_items;  // commands of the full product
  QToolButton* btn_any_new;
  QToolButton* btn_open;
  QToolButton* btn_save;
  QToolButton* btn_print;
  QToolButton* btn_tree_on_off;
  QLabel* lbl_hint;
  QLabel* lbl_mode;
  QLabel* lbl_version;
  QTimer* autosave_timer;
  QString last_folder;

  // The open dialog's run (tests replace it): the chosen path, empty when cancelled.
  std::function<QString()> choose_file;

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QAction* add_item(QMenu* menu, const char* text, int hint_row, std::function<void()> handler = {});
  void hint_button(QToolButton* b, int row);
  void rebuild_recent();
  void item_open_click();
  void item_print_click();
  void item_predefined_click();
  void fill_window_list();

  std::string ini_path_;
  std::string help_path_;
  std::string data_folder_;
  QStringList recent_;  // top first
  bool insert_mode_ = true;
  bool closing_ = false;
  std::vector<std::pair<QAction*, int>> item_rows_;
  std::vector<std::pair<QToolButton*, int>> button_rows_;
  QList<QAction*> window_list_;
};

} // namespace kovra::app
