#pragma once
// The application object and fonts of the controls tests: offscreen, DejaVu Sans loaded
// from its file so that text metrics are the same on every machine.
#include "controls/grid_cell.h"

#include <QString>

#include <functional>
#include <vector>

namespace kovra::controls::test {

// The font every look-dependent test draws with.
QString test_font_family();

// A data source answering from a function, counting the rows it was asked for.
class lambda_source : public VL_grid_source {
public:
  std::function<void(int col, int row, VL_cell& cell)> answer;
  std::vector<int> asked_rows;  // rows asked for while drawing or measuring (not editing)
  struct edit {
    int col, row;
    bool extra;
    QString text;
  };
  std::vector<edit> edits;

  void set_cell_data(VL_std_grid&, int col, int row, VL_cell& cell) override {
    if (!cell.edited) asked_rows.push_back(row);
    if (answer) answer(col, row, cell);
  }
  void set_edit_text(VL_editors_grid&, int col, int row, bool extra, const QString& text) override {
    edits.push_back({col, row, extra, text});
  }
};

} // namespace kovra::controls::test
