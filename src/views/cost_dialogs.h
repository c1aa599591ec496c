#pragma once
// The cost dialogs of a position: its costs by R, M + Kz and S with the overheads of the
// estimate's formula and its values, per unit under FORMUŁA I and the investor formula
// (Tdlg_sum_unit, Tdlg_sum_inwestor), in total with VAT under FORMUŁA II (Tdlg_sum_vat).
// "Koszty pozycji powiększone o materiały inwestora" values investor materials at their
// full value.
#include <QDialog>

#include "controls/grid_cell.h"
#include <QString>
#include <vector>

class QCheckBox;
class QLabel;

namespace kovra::controls {
class VL_std_grid;
}

namespace kovra::views {

struct estimate_values;

struct cost_line {
  QString label;
  double r = 0, m = 0, s = 0, total = 0;
  bool total_only = false;  // a value line: only "Razem"
};

struct cost_sheet {
  QString dialog;   // "Tdlg_sum_unit", "Tdlg_sum_inwestor", "Tdlg_sum_vat"
  QString caption;  // the window's
  QString title;
  QString header;
  std::vector<cost_line> lines;
};

// The sheet of the position at `node_index` of the run's model; none (empty dialog name)
// for a node that is not a costed position.
cost_sheet position_cost_sheet(const estimate_values& values, int node_index, bool with_investor_materials);
// The node index of the position stored at `pos`, -1 none.
int node_index_of(const estimate_values& values, int pos);

class Tdlg_sum : public QDialog, public controls::VL_grid_source {
public:
  Tdlg_sum(const estimate_values& values, int node_index, QWidget* parent = nullptr);
  const cost_sheet& sheet() const { return sheet_; }
  QCheckBox* investor_box() const { return investor_; }
  void set_cell_data(controls::VL_std_grid& grid, int col, int row, controls::VL_cell& cell) override;
  void set_lines_in_row(controls::VL_std_grid& grid, int row, int& lines) override;

private:
  void fill();
  const estimate_values& values_;
  int node_;
  cost_sheet sheet_;
  QLabel* title_ = nullptr;
  QLabel* header_ = nullptr;
  QCheckBox* investor_ = nullptr;
  controls::VL_std_grid* grid_ = nullptr;
};

} // namespace kovra::views
