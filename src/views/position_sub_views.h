#pragma once
// The sub-views of the positions page: what the current row is made of (its inputs, the
// working sheet of a simplified position, a one-off cost or a scaffolding, the notes of a
// group or an element), how its quantity was measured, the positions of a scaffolding and
// the row's CPV codes. Each shows one node of the last run at a time, read-only.
#include "controls/grid_cell.h"
#include "views/tab_form.h"

#include <QString>
#include <QStringList>

class QDialog;
class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace kovra::controls {
class VL_std_grid;
}

namespace kovra::views {

class Tfrm_define;
class view_host;

class node_sub_view : public TTabForm, public controls::VL_grid_source {
public:
  explicit node_sub_view(const char* view_class, QWidget* parent = nullptr);
  // Shows `node` (none: the estimate itself) of the owner's estimate.
  virtual void show_row(Tfrm_define& owner, document::Base_Node* node) = 0;
  QString view_class() const { return objectName(); }

  // The sheet's texts (rows from 0 = the header row).
  controls::VL_std_grid* grid() const { return grid_; }
  QString cell(int col, int row) const;
  int rows() const;
  // The note or extra lines shown under the grid.
  QString note_text() const;
  // The style a data row is drawn in (controls::ct_basic unless set).
  int row_style(int row) const;

  void set_cell_data(controls::VL_std_grid& grid, int col, int row, controls::VL_cell& cell) override;

protected:
  // A sheet of `cols` columns (column 0 the fixed one) and a note pane under it.
  void make_sheet(const QStringList& headers, const std::vector<int>& widths_in_chars);
  void set_rows(int data_rows);
  void put(int col, int row, const QString& text);
  void set_note(const QString& text, bool visible);
  void set_row_style(int row, int cell_type);

  controls::VL_std_grid* grid_ = nullptr;
  QPlainTextEdit* note_ = nullptr;
  QWidget* buttons_ = nullptr;
  std::vector<int> styles_;  // by row
};

// Inputs of a position (types 1, 2): its current variant's labour, material and equipment,
// each kind under a header row, with the quantities and values of the last run (for the
// whole position under FORMUŁA II or when chosen, per unit otherwise). The cost button
// opens the position's cost dialog; the note button shows the position's note.
class Tfrm_naklady : public node_sub_view {
public:
  enum row_state { row_header, row_active, row_excluded, row_blocked, row_investor };
  explicit Tfrm_naklady(QWidget* parent = nullptr);
  void show_row(Tfrm_define& owner, document::Base_Node* node) override;
  // "Ilość jednostkowa / Ilość": total quantities even under the per-unit methods.
  void set_total_quantities(bool on);
  bool total_quantities() const { return total_quantities_; }
  row_state state_of(int row) const;
  // The name of the shown variant ("" when it has none).
  QString variant_name() const { return variant_name_; }
  QToolButton* cost_button() const { return btn_cost_; }
  QToolButton* note_button() const { return btn_note_; }
  // The cost dialog of the shown position (null without one); the button runs it modally.
  QDialog* make_cost_dialog(QWidget* parent = nullptr) const;

private:
  Tfrm_define* owner_ = nullptr;
  document::Base_Node* node_ = nullptr;
  bool total_quantities_ = false;
  std::vector<row_state> states_;
  QString variant_name_;
  QLabel* variant_ = nullptr;
  QToolButton* btn_cost_ = nullptr;
  QToolButton* btn_note_ = nullptr;
};

// One-off equipment costs: "Montaż", "Demontaż" and the two transport lines.
class Tfrm_jednoraz : public node_sub_view {
public:
  explicit Tfrm_jednoraz(QWidget* parent = nullptr);
  void show_row(Tfrm_define& owner, document::Base_Node* node) override;
};

// A simplified position: R, M, S and the all-in line.
class Tfrm_scalona : public node_sub_view {
public:
  explicit Tfrm_scalona(QWidget* parent = nullptr);
  void show_row(Tfrm_define& owner, document::Base_Node* node) override;
};

// A scaffolding's working sheet: 11 rows with their formula lines; "," and "1"–"6" choose
// the decimals of the total count (and recalculate), "&Notatka" shows the note.
class Tfrm_ruszt : public node_sub_view {
public:
  explicit Tfrm_ruszt(QWidget* parent = nullptr);
  void show_row(Tfrm_define& owner, document::Base_Node* node) override;
  // decimals 0 ("," button) to 6: scaffold_count_code 3 − decimals, then a recalculation.
  bool set_count_decimals(int decimals);
  QToolButton* decimals_button(int decimals) const { return decimals_[decimals]; }
  QToolButton* note_button() const { return btn_note_; }

private:
  Tfrm_define* owner_ = nullptr;
  document::Base_Node* node_ = nullptr;
  QToolButton* decimals_[7] = {};
  QToolButton* btn_note_ = nullptr;
};

// A work group or an element: its note and description lines.
class Tfrm_element : public node_sub_view {
public:
  explicit Tfrm_element(QWidget* parent = nullptr);
  void show_row(Tfrm_define& owner, document::Base_Node* node) override;
};

// A merged element: the description, quantity and unit of each of its children.
class Tfrm_el_scalony : public node_sub_view {
public:
  explicit Tfrm_el_scalony(QWidget* parent = nullptr);
  void show_row(Tfrm_define& owner, document::Base_Node* node) override;
};

// The quantity survey ("Ilość robót"): its lines with their values, "Razem:" and, for a
// chapter with a multiplier, "Mnożnik dla rozdziału:" and "Wartość obmiaru:".
class Tfrm_survey : public node_sub_view {
public:
  explicit Tfrm_survey(QWidget* parent = nullptr);
  void show_row(Tfrm_define& owner, document::Base_Node* node) override;
  QString totals_text() const;

private:
  QLabel* totals_ = nullptr;
};

// The positions of the estimate with those of the bound scaffolding checked.
class Tfrm_choose_poz : public node_sub_view {
public:
  explicit Tfrm_choose_poz(QWidget* parent = nullptr);
  void show_row(Tfrm_define& owner, document::Base_Node* node) override;
};

// The CPV codes of the row: its own codes with their texts, and those collected below it.
class Tfrm_cpv : public node_sub_view {
public:
  explicit Tfrm_cpv(QWidget* parent = nullptr);
  void show_row(Tfrm_define& owner, document::Base_Node* node) override;
  // Shows the codes of `node`, or with none those of the estimate itself.
  void bind_cpv(view_host& host, document::Base_Node* node);

private:
  QToolButton* modes_[3] = {};  // own, collected, aggregated
};

} // namespace kovra::views
