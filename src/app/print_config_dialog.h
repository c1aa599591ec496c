#pragma once
// "Konfiguracja wydruku": the printed parts as a tree (order, what is printed, the per-chapter
// entries of a compound estimate), the option page of the chosen entry, and printing or
// previewing with those settings.
#include "printouts/print_document.h"
#include "printouts/print_options.h"
#include "printouts/title_merge.h"
#include "shell/print_look.h"

#include <QDialog>

#include <functional>
#include <vector>

class QColor;
class QFont;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;
class QScrollArea;

namespace kovra::app {

class Tdlg_print_config : public QDialog {
  Q_OBJECT
 public:
  explicit Tdlg_print_config(printouts::print_document& doc, QWidget* parent = nullptr);

  // Swaps the part with the previous (-1) or next (+1) top-level part; false when refused
  // (only parts 11 to 99 move, and only past parts 11 to 99).
  bool move_part(int code, int direction);
  void set_included(int code, bool on);
  void select_part(int code);
  // Top-level codes in the tree's order.
  std::vector<int> top_level_order() const;
  // Whether the tree holds `code` (per-chapter entries only for compound estimates).
  bool has_entry(int code) const;
  // Writes the tree's order and include flags into the block.
  void store_tree();
  // The method whose estimate page the part "Kosztorys" shows.
  printouts::print_method shown_method() const;
  // Sets an option of the page shown by its caption ("on"/"off", or the text of a field),
  // as a click or typing would, then applies the rules.
  bool set_option(const QString& caption, const QString& value);
  bool option_enabled(const QString& caption) const;
  bool option_checked(const QString& caption) const;

  QPushButton* btn_print = nullptr;
  QPushButton* btn_preview = nullptr;

  // Where the title-page templates are; the export buttons are enabled only when one exists.
  QString template_folder;
  // The title page merged into a template and opened; the merged file, or empty (the reason shown).
  QString export_title_page(printouts::template_kind kind, bool open = true);

  // "Czcionki i kolory": the program-wide print look, edited in place (the preview uses it at
  // once); "OK" writes it to kovra.ini, "&Anuluj" puts back the look the dialog opened with.
  void set_element_font(int element, const QFont& font);
  void set_element_colour(int element, const QColor& colour);
  // The ini file the look is saved to on "OK" (kovra.ini of this run unless set).
  std::string look_ini_path;

  // What "&Drukuj" and "&Podgląd" do with the stored settings (the main window prints).
  std::function<void(bool preview)> on_print;

 protected:
  void done(int result) override;

 private:
  void build_look_page(QWidget* page, QVBoxLayout* layout);
  // "Nagłówek" and "Stopka": the band's definition in the block (print, line, title page, free
  // text, and its items in slot order: selected, on a new line, justification, reordered).
  void build_band_page(QWidget* page, QVBoxLayout* layout, std::size_t offset);
  QTreeWidgetItem* item_of(int code) const;
  void build_tree();
  void show_page(int code);
  void apply_rules();
  void refresh_page();
  void update_buttons();

  struct bound_option {
    QWidget* widget;
    printouts::page_option option;
  };
  std::vector<bound_option> bound_;
  printouts::print_document& doc_;
  QTreeWidget* tree_ = nullptr;
  QScrollArea* page_area_ = nullptr;
  QPushButton* btn_up_ = nullptr;
  QPushButton* btn_down_ = nullptr;
  int page_code_ = -1;
  bool refreshing_ = false;
  shell::print_look look_at_open_;
};

} // namespace kovra::app
