#pragma once
// The page "Dodatki" (Tfrm_dodatki): the estimate's global additions with their amounts, an
// empty row for the next one, and the closing rows: "Razem rozdziały:" (a compound estimate:
// what its chapters' additions come to) and "Razem:". Read-only.
#include "controls/grid_cell.h"
#include "views/tab_form.h"

#include <QString>
#include <vector>

namespace kovra::controls {
class VL_std_grid;
}

namespace kovra::views {

class view_host;

class Tfrm_dodatki : public TTabForm, public controls::VL_grid_source {
public:
  explicit Tfrm_dodatki(view_host& host, QWidget* parent = nullptr);

  void activate(int stage) override;
  void set_shown(bool shown) override;
  void values_changed() override;

  controls::VL_std_grid* grid() const { return grid_; }
  // Every row's three texts (title row excluded).
  QString cell_text(int col, int row);

  void set_cell_data(controls::VL_std_grid& grid, int col, int row, controls::VL_cell& cell) override;

private:
  struct line {
    QString number, name, amount;
    bool closing = false;
  };
  void fill();
  view_host& host_;
  std::vector<line> lines_;
  controls::VL_std_grid* grid_ = nullptr;
};

} // namespace kovra::views
