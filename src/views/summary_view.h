#pragma once
// The labour, materials and equipment summary pages ("Zestawienie R", "M", "S") of a simple
// estimate (Tfrm_zest_simple) or of a compound one (Tfrm_zest_multi): the inputs of the
// kind with their quantities, prices and values, the closing rows of the kind, a filter by
// price, sorting by a column (title click or "Sortuj"), columns hidden through "Kolumny"
// (kept in the program settings and the estimate), a one-line mode and a copy of the rows
// as tab-separated text.
#include "controls/grid_cell.h"
#include "views/summary_rows.h"
#include "views/tab_form.h"

#include <array>

class QToolButton;
class QMenu;

namespace kovra::controls {
class VL_std_grid;
}

namespace kovra::views {

class view_host;

class Tfrm_zestrms : public TTabForm, public controls::VL_grid_source {
public:
  Tfrm_zestrms(view_host& host, int kind, bool compound, QWidget* parent = nullptr);

  void activate(int stage) override;
  void deactivate(int stage) override;
  void set_shown(bool shown) override;
  void values_changed() override;

  // Commands.
  void set_filter(int filter);
  void sort_by(int col, bool ascending);
  void click_head(int col);
  void set_hidden_mask(uint16_t mask);  // stored in the settings and in the estimate
  void set_one_line(bool on);
  void copy_rows() const;
  bool open_sort_dialog();
  bool open_columns_dialog();

  int kind() const { return kind_; }
  int sort_column() const { return sort_col_; }
  bool ascending() const { return ascending_; }
  bool column_shown(int col) const { return shown_[size_t(col)]; }
  uint16_t hidden_mask() const;
  const summary_rows& rows() const { return rows_; }
  controls::VL_std_grid* grid() const { return grid_; }
  // The text of a grid cell as drawn (tests, the copy).
  QString cell_text(int col, int row);

  void set_cell_data(controls::VL_std_grid& grid, int col, int row, controls::VL_cell& cell) override;
  void count_height(controls::VL_std_grid& grid, int row, int& add) override;
  void draw_cell_finish(controls::VL_std_grid& grid, QPainter& p, int col, int row, const controls::VL_cell& cell,
                        const controls::TEXT_ELEM& te) override;

protected:
  void keyPressEvent(QKeyEvent* e) override;

private:
  void load();
  void apply_columns();
  void refill();
  void store_sort() const;
  void spread_hidden_columns(uint16_t mask);
  // The smaller line under a line's quantity or value (its excluded part), empty none.
  QString second_line(int row, int col) const;
  QFont small_font() const;

  view_host& host_;
  int kind_;
  bool compound_;
  summary_rows rows_;
  bool loaded_ = false;
  int sort_col_ = sc_name;
  bool ascending_ = true;
  bool one_line_ = false;
  std::array<bool, summary_columns> shown_{};
  controls::VL_std_grid* grid_ = nullptr;
  std::array<QToolButton*, 3> filter_buttons_{};
  QToolButton* one_line_button_ = nullptr;
  QMenu* menu_ = nullptr;
};

// The key of kovra.ini that keeps a summary's sort, and the section.
inline constexpr const char* summary_sort_section = "Sortowanie zestawien";
const char* summary_sort_key(int kind);
// The kind of a summary page by its caption: "Zestawienie R" 0, "M" 1, "S" 2.
int summary_kind_of(const QString& caption);

} // namespace kovra::views
