#pragma once
// "Pogląd wydruków": a text printout's spool file shown as lines, read from the file as they
// are shown (an index of line offsets is kept beside it, "<spool>.$pv"), with search and page
// jumps. "&Drukuj" lets the text printout go on.
#include <QAbstractScrollArea>
#include <QDialog>
#include <QFile>

#include <cstdint>
#include <string>
#include <vector>

class QLineEdit;
class QSpinBox;

namespace kovra::app {

// The index of a spool file: the offset of every shown line (pages first..last), and which
// shown lines start pages. At most `max_lines` lines.
struct spool_index {
  std::vector<uint32_t> offsets;   // line starts
  std::vector<uint8_t> breaks;     // 1: the line is a page separator
  std::vector<int> page_lines;     // the shown line where each page of the range starts
  int first_page = 1;              // the page number of page_lines[0]
  int pages_in_file = 0;           // pages counted in the whole file (as numbered)
  bool truncated = false;
};
inline constexpr std::size_t text_preview_line_limit = 800000;

// Reads the spool file once; false when it cannot be read.
bool index_spool(const std::string& path, int first_page_number, int first, int last, spool_index& out,
                 std::size_t max_lines = text_preview_line_limit);

class spool_lines : public QAbstractScrollArea {
  Q_OBJECT
 public:
  spool_lines(const std::string& path, const spool_index& index, QWidget* parent = nullptr);
  int current_line() const;
  void go_to_line(int line);
  // The raw bytes of a shown line (internal code page, codes included).
  std::string raw_line(int line);

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  void relayout();
  QFile file_;
  const spool_index& index_;
  int line_height_ = 16;
  int char_width_ = 8;
};

class Tdlg_preview : public QDialog {
  Q_OBJECT
 public:
  // first/last: pages to show as numbered (last 0: to the end).
  Tdlg_preview(const std::string& spool, int first_page_number = 1, int first = 1, int last = 0,
               QWidget* parent = nullptr);
  ~Tdlg_preview() override;
  // False when the file could not be read or the range lies past the last page (the message
  // has been shown); the dialog should then not be shown.
  bool ready() const { return ready_; }
  const spool_index& index() const { return index_; }
  spool_lines* lines() const { return lines_; }
  // "&Szukaj:" from the line after the current one down (or before it up); the found line or -1.
  int search(const QString& text, bool down);
  void go_to_page(int page);
  int current_page() const;

 private:
  std::string spool_, index_path_;
  spool_index index_;
  bool ready_ = false;
  spool_lines* lines_ = nullptr;
  QLineEdit* find_ = nullptr;
  QSpinBox* page_ = nullptr;
};

// Shows the spool file; true when the user chose "&Drukuj".
bool preview_text(QWidget* parent, const std::string& spool, int first_page_number = 1, int first = 1, int last = 0);

} // namespace kovra::app
