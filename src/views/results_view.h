#pragma once
// The page "Wyniki": the estimate's results by component with their amounts, their shares of
// the gross total and a bar chart of the shares drawn in the grid's last column.
// Tfrm_wynikiS follows the simple estimate (or the constituent) its page window shows,
// Tfrm_wynikiM shows the compound estimate.
#include "controls/grid_cell.h"
#include "views/tab_form.h"

#include <QString>
#include <vector>

class QLabel;

namespace kovra::controls {
class VL_std_grid;
}

namespace kovra::views {

class view_host;

struct result_row {
  QString name;
  double value = 0;
  QString amount;  // text_money
  QString share;   // "%5.1lf" of the share, empty when a listed value is negative
};

class Tfrm_wyniki : public TTabForm, public controls::VL_grid_source {
public:
  Tfrm_wyniki(view_host& host, bool compound, QWidget* parent = nullptr);

  void activate(int stage) override;
  void values_changed() override;

  QString title() const;
  const std::vector<result_row>& rows() const { return rows_; }
  // Bar length of a listed line in a chart column `width` pixels wide.
  int bar_length(int i, int width) const;
  controls::VL_std_grid* grid() const { return grid_; }

  void set_cell_data(controls::VL_std_grid& grid, int col, int row, controls::VL_cell& cell) override;
  void draw_cell_finish(controls::VL_std_grid& grid, QPainter& p, int col, int row, const controls::VL_cell& cell,
                        const controls::TEXT_ELEM& te) override;

protected:
  // The arrows scroll the grid by a page in their direction (the grid has the focus).
  bool eventFilter(QObject* watched, QEvent* e) override;

private:
  void fill();
  view_host& host_;
  bool compound_;
  std::vector<result_row> rows_;
  double sum_abs_ = 0;
  QLabel* title_ = nullptr;
  controls::VL_std_grid* grid_ = nullptr;
};

} // namespace kovra::views
