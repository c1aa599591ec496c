#pragma once
// The page "Zestawienie N" of a compound estimate (Tfrm_zest_N): each overhead summed over
// the chapters, and on demand ("Pokaż szczegóły") the chapters' formulas and amounts of the
// chosen overhead (Tdlg_zest_sub).
#include "controls/grid_cell.h"
#include "views/tab_form.h"

#include <QStringList>
#include <vector>

class QLabel;
class QSplitter;
class QToolButton;

namespace kovra::controls {
class VL_std_grid;
}

namespace kovra::views {

class view_host;

// The details of one overhead: chapter, formula, amount, and the closing "Razem:".
class Tdlg_zest_sub : public TTabForm, public controls::VL_grid_source {
public:
  explicit Tdlg_zest_sub(QWidget* parent = nullptr);
  void set_lines(std::vector<QStringList> lines);  // each: chapter, formula, amount
  const std::vector<QStringList>& lines() const { return lines_; }
  void set_cell_data(controls::VL_std_grid& grid, int col, int row, controls::VL_cell& cell) override;

private:
  std::vector<QStringList> lines_;
  controls::VL_std_grid* grid_ = nullptr;
  QLabel* empty_ = nullptr;
};

class Tfrm_zest_N : public TTabForm, public controls::VL_grid_source {
public:
  explicit Tfrm_zest_N(view_host& host, QWidget* parent = nullptr);

  void activate(int stage) override;
  void values_changed() override;

  void show_details(bool on);
  bool details_shown() const;
  // Fills the details with overhead row `row` (1 to 11).
  void select_row(int row);
  bool has_chapters() const { return chapters_ > 0; }
  const std::vector<QStringList>& rows() const { return rows_; }  // title, amount
  Tdlg_zest_sub* details() const { return details_; }

  void set_cell_data(controls::VL_std_grid& grid, int col, int row, controls::VL_cell& cell) override;

private:
  void fill();
  view_host& host_;
  std::vector<QStringList> rows_;
  int chapters_ = 0;
  controls::VL_std_grid* grid_ = nullptr;
  Tdlg_zest_sub* details_ = nullptr;
  QToolButton* btn_details_ = nullptr;
};

} // namespace kovra::views
