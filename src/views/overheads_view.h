#pragma once
// The page "Narzuty" (Tfrm_ovrhd_simple, Tfrm_ovrhd_multi): the estimate's overhead rows with
// their rates, running totals and amounts, the calculation settings, the method with its
// price formula and the formula of each overhead, and the overhead note. Read-only.
#include "controls/grid_cell.h"
#include "views/tab_form.h"

#include <QStringList>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QCheckBox;
class QGroupBox;

namespace kovra::controls {
class VL_std_grid;
}

namespace kovra::views {

class view_host;

class Tfrm_ovrhd : public TTabForm, public controls::VL_grid_source {
public:
  Tfrm_ovrhd(view_host& host, bool compound, QWidget* parent = nullptr);

  void activate(int stage) override;
  void values_changed() override;

  // The grid's texts: the title row, then overhead rows 1 to 11.
  const QStringList& titles() const { return titles_; }
  const std::vector<QStringList>& rows() const { return rows_; }
  QString information() const;
  QStringList formulas() const { return formulas_; }
  QString note() const;

  void set_cell_data(controls::VL_std_grid& grid, int col, int row, controls::VL_cell& cell) override;

private:
  void fill();
  view_host& host_;
  bool compound_;
  QStringList titles_;
  std::vector<QStringList> rows_;
  QStringList formulas_;
  controls::VL_std_grid* grid_ = nullptr;
  QLabel* info_ = nullptr;
  QGroupBox* method_box_ = nullptr;
  std::vector<QRadioButton*> methods_;
  std::vector<QRadioButton*> levels_;
  std::vector<QRadioButton*> profits_;
  QGroupBox* profit_box_ = nullptr;
  QGroupBox* kp_box_ = nullptr;
  QGroupBox* z_box_ = nullptr;
  std::vector<QCheckBox*> raises_;  // Kp: active site, harmful; Z: the same
  QCheckBox* correction_ = nullptr;
  QCheckBox* multiplicity_ = nullptr;
  QPlainTextEdit* note_ = nullptr;
};

} // namespace kovra::views
