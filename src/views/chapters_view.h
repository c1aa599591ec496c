#pragma once
// Tfrm_chpt_define: the "Definiuj" page of a compound estimate's own level: one row per
// constituent estimate (chapter) with its number, name, quantity, unit, coefficient letters,
// share of the compound's value and value. Read-only; a click in the first column of a
// row (or Ctrl+Enter) opens that constituent.
#include "controls/grid_cell.h"
#include "views/tab_form.h"

#include <vector>

namespace kovra::controls {
class VL_std_grid;
}

namespace kovra::views {

class view_host;

class Tfrm_chpt_define : public TTabForm, public controls::VL_grid_source {
public:
  explicit Tfrm_chpt_define(view_host& host, QWidget* parent = nullptr);
  ~Tfrm_chpt_define() override;

  void set_shown(bool shown) override;
  void values_changed() override;
  void rebuild_rows();

  int row_count() const { return int(rows_.size()); }
  document::Base_Node* row_node(int row) const;
  // The cell's text as the grid shows it.
  QString cell_text(int col, int row) const;
  // Makes the constituent of the row the tree's choice (its pages then show).
  void open_row(int row);
  controls::VL_std_grid* grid() const { return grid_; }

  void set_cell_data(controls::VL_std_grid& grid, int col, int row, controls::VL_cell& cell) override;

protected:
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

private:
  view_host& host_;
  std::vector<document::Base_Node*> rows_;  // entry 0: the header
  controls::VL_std_grid* grid_ = nullptr;
};

} // namespace kovra::views
