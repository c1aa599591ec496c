#pragma once
// The document windows: Tfrm_child (tree on the left, page window on the right, the strip
// of totals at the bottom), Tfrm_simple for a simple estimate and Tfrm_multi for a compound
// one. A window owns its estimate document and the values of its last recalculation.
#include "calc/record_model.h"
#include "views/estimate_values.h"
#include "document/estimate_doc.h"
#include "document/store_compound.h"

#include <QWidget>
#include <memory>
#include <optional>

class QLabel;
class QMenu;
class QSplitter;
class QTreeView;

namespace kovra::app {

class Tfrm_main;
class Tfrm_dsc;
class Tfrm_koszt;
class Tfrm_chapter;
class tabbed_page_window;
class estimate_tree_model;

using views::compound_values;
using views::estimate_values;

// Open modes of a document window.
inline constexpr int OPEN_FOR_WORK = 0;
inline constexpr int OPEN_READ_ONLY = 1;

class Tfrm_child : public QWidget {
public:
  explicit Tfrm_child(Tfrm_main* main, QWidget* parent = nullptr);
  ~Tfrm_child() override;

  bool ready = false;
  bool closing = false;

  QWidget* pnl_main;
  QTreeView* tree_multi;
  QSplitter* splt_main;
  QWidget* pnl_chd_status;
  QLabel* lbl_razem;
  QLabel* pnl_chd_value_razem;
  QLabel* lbl_suma;
  QLabel* pnl_chd_value;
  QMenu* popup_tree;
  estimate_tree_model* model;

  virtual bool open(const std::string& path, int mode) = 0;
  virtual document::estimate_doc* document() const = 0;
  virtual tabbed_page_window* front_page_window() const = 0;
  virtual void close_document() = 0;
  virtual void on_activated();
  virtual void on_deactivated();
  virtual void show_values(std::optional<double> value);
  // Whether `path` is this window's file or (compound) one of its constituents'; the
  // matching node, when a constituent matched.
  virtual bool shows_file(const std::string& path, document::Base_Node** node) const;

  std::string file_name() const { return path_; }
  bool is_writable() const;
  bool is_temporary() const { return temporary_; }
  void set_temporary(bool flag) { temporary_ = flag; }
  bool is_modified() const;
  void hold_autosave() { ++autosave_holds_; }
  void release_autosave() { --autosave_holds_; }
  int autosave_holds() const { return autosave_holds_; }
  void refresh_values();
  void show_total();
  void switch_page(bool forward);
  virtual void update_caption();
  Tfrm_main* main_window() const { return main_; }

  // Navigation tree ("D&rzewko").
  void set_tree_visible(bool visible);
  bool tree_visible() const;

  // The tree popup's commands.
  void item_left_click();
  void item_right_click();
  void select_node(document::Base_Node* node);  // by the program: no navigation
  // The node chosen in the tree, none when none.
  document::Base_Node* current_node() const;
  // Recalculates the document; its pages read the new values.
  virtual bool recalculate() = 0;

  // Called by a page window when it becomes active.
  void page_window_activated(Tfrm_dsc* page);

protected:
  void closeEvent(QCloseEvent* event) override;
  virtual void node_selected(document::Base_Node* node, bool by_user) = 0;
  // Recalculates after the tree changed (scaffolding positions, values).
  virtual void after_tree_change() {}
  // Message 155 or 156 for a header that is not a sound estimate; a missing file is
  // created empty of `kind` (1 simple, 2 compound).
  bool check_header(const std::string& path, int kind);

  Tfrm_main* main_;
  std::string path_;
  bool temporary_ = false;
  int autosave_holds_ = 0;
  bool program_selection_ = false;
};

class Tfrm_simple : public Tfrm_child {
public:
  explicit Tfrm_simple(Tfrm_main* main, QWidget* parent = nullptr);
  ~Tfrm_simple() override;

  bool open(const std::string& path, int mode) override;
  document::estimate_doc* document() const override { return doc_.get(); }
  tabbed_page_window* front_page_window() const override;
  void close_document() override;

  Tfrm_koszt* page_window() const { return koszt_; }
  const estimate_values* values() const { return values_.get(); }
  // The recalculation of the open document: the model from its records, the run, and
  // (unless read-only) the results written back; the tree's nodes take the run's values.
  bool recalculate() override;

protected:
  void node_selected(document::Base_Node* node, bool by_user) override;
  // A move is written to the file at once (the viewer has no save command): the records
  // and the file's image are flushed.
  void after_tree_change() override;

private:
  std::unique_ptr<document::estimate_doc> doc_;
  std::unique_ptr<estimate_values> values_;
  Tfrm_koszt* koszt_ = nullptr;
};

class Tfrm_multi : public Tfrm_child {
public:
  explicit Tfrm_multi(Tfrm_main* main, QWidget* parent = nullptr);
  ~Tfrm_multi() override;

  bool open(const std::string& path, int mode) override;
  document::estimate_doc* document() const override { return doc_.get(); }
  tabbed_page_window* front_page_window() const override;
  void close_document() override;
  bool shows_file(const std::string& path, document::Base_Node** node) const override;

  Tfrm_chapter* compound_page_window() const { return chapter_; }
  Tfrm_koszt* page_window() const { return koszt_; }
  bool constituent_in_front() const { return koszt_in_front_; }
  const compound_values* values() const { return values_.get(); }
  // The compound's run over the chapters the window holds: every chapter, the summary, the
  // totals; (unless read-only) the results written back.
  bool recalculate() override;
  void show_values(std::optional<double> value) override;
  // The compound's caption, or the constituent's while its page window is in front.
  void update_caption() override;

protected:
  void node_selected(document::Base_Node* node, bool by_user) override;
  // A move inside a chapter: the compound recalculated, its file and the external
  // chapters' files written at once.
  void after_tree_change() override;

private:
  void constituent_caption(const document::Base_Node* chapter);
  std::unique_ptr<compound_values> values_;
  std::unique_ptr<document::estimate_doc> doc_;
  std::unique_ptr<document::store_compound> compound_;
  Tfrm_chapter* chapter_ = nullptr;
  Tfrm_koszt* koszt_ = nullptr;
  QWidget* pages_host_ = nullptr;
  bool koszt_in_front_ = false;
};

} // namespace kovra::app
