#pragma once
// Tfrm_define: the "Definiuj" page of an estimate. Every node of the estimate tree is one
// row of a grid in tree order; under the grid the sub-pages "Lista", "RMS", "Przedmiar" and
// "Kod" show what the current row is made of, in a sub-view chosen by the row's kind.
// Read-only: the grid and every sub-view only show the document and its last run.
#include "controls/grid_cell.h"
#include "views/tab_form.h"

#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

class QLabel;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QToolButton;

namespace kovra::calc {
struct model_node;
struct costing_context;
}
namespace kovra::document {
class Elpz_Node;
}
namespace kovra::controls {
class VL_std_grid;
}

namespace kovra::views {

class view_host;
class node_sub_view;
struct estimate_values;

// The texts of one row of the positions grid (screen texts).
struct define_row_texts {
  QString number, basis, description, quantity, unit, factor;
  bool across = false;  // a work group or plain element: the description spans columns 2 to 4
  bool not_valued = false;
};

class Tfrm_define : public TTabForm, public controls::VL_grid_source {
public:
  enum sub_page { page_list = 0, page_rms = 1, page_survey = 2, page_code = 3 };

  explicit Tfrm_define(view_host& host, QWidget* parent = nullptr);
  ~Tfrm_define() override;

  void activate(int stage) override;
  void deactivate(int stage) override;
  void set_shown(bool shown) override;
  void values_changed() override;
  void node_changed(document::Base_Node* node) override;

  // Rows: 0 is the header (the estimate itself), 1..n the shown nodes.
  int row_count() const { return int(rows_.size()); }
  document::Base_Node* row_node(int row) const;
  define_row_texts row_texts(int row) const;
  int current_row() const;
  // Makes the row current (the tree follows) and refreshes the sub-view.
  void select_row(int row);
  // The first row of the node, made current and scrolled into view.
  void show_node(document::Base_Node* node);
  // Navigation buttons: first, previous, next, last.
  void go(int where);
  bool can_go(int where) const;

  void set_sub_page(int page);
  int sub_page() const;
  // The sub-view shown under the grid (none on "Lista").
  node_sub_view* current_sub_view() const { return shown_sub_; }
  QString value_text() const;

  controls::VL_std_grid* grid() const { return grid_; }
  view_host& host() const { return host_; }
  // The model node of a tree node of the last run, none when it has none.
  const calc::model_node* model_of(const document::Base_Node* node) const;
  int model_index(const document::Base_Node* node) const;
  // The scaffolding's place among the shown scaffoldings (from 1), 0 when it is not one.
  int scaffold_place(const document::Elpz_Node* scaffold) const;
  // The costing context of the last run (made on first use; scaffoldings read it).
  const calc::costing_context* costing() const;

  // controls::VL_grid_source
  void set_cell_data(controls::VL_std_grid& grid, int col, int row, controls::VL_cell& cell) override;

protected:
  void resizeEvent(QResizeEvent* e) override;

private:
  void fit_columns();
  void rebuild_rows();
  void refresh_sub_view();
  void update_buttons();
  void layout_bottom();
  node_sub_view* sub_view_for(document::Base_Node* node, int page);

  view_host& host_;
  std::vector<document::Base_Node*> rows_;
  std::vector<document::Elpz_Node*> scaffolds_;
  std::unordered_map<int32_t, int> model_by_pos_;
  mutable std::unique_ptr<calc::costing_context> costing_;
  int start_column_ = 2;
  bool following_ = false;  // the tree is being told of a selection: ignore its echo
  bool quiet_ = false;      // the grid moves because of the tree or a rebuild: no echo back
  double bottom_share_ = 0.75;

  QSplitter* splt_naklady_ = nullptr;
  controls::VL_std_grid* grid_ = nullptr;
  QWidget* pnl_bottom_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  QWidget* pnl_speed_ = nullptr;
  QToolButton* nav_[4] = {};
  QLabel* lbl_value_ = nullptr;
  QLabel* lbl_price_ = nullptr;
  std::vector<node_sub_view*> subs_;
  node_sub_view* shown_sub_ = nullptr;
};

} // namespace kovra::views
