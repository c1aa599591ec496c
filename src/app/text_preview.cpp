#include "app/text_preview.h"

#include "shell/messages.h"
#include "store/codepage.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

namespace kovra::app {
namespace {

constexpr char mark = 27;
constexpr char page_code = 1;
constexpr std::size_t max_line = 500;
constexpr int columns = 120;

struct file_closer {
  void operator()(FILE* f) const {
    if (f) std::fclose(f);
  }
};

} // namespace

bool index_spool(const std::string& path, int first_page_number, int first, int last, spool_index& out,
                 std::size_t max_lines) {
  out = spool_index{};
  std::unique_ptr<FILE, file_closer> f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  first = std::max(first, 1);
  if (last <= 0) last = 1 << 30;
  int page = first_page_number - 1;
  bool first_line = true;
  uint64_t offset = 0, line_start = 0;
  std::size_t length = 0;
  bool held_mark = false, has_break = false;
  auto end_line = [&](uint64_t next_start) {
    if (first_line && !has_break) page = first_page_number;  // a file without a leading separator
    first_line = false;
    if (page >= first && page <= last && !out.truncated) {
      if (out.offsets.size() >= max_lines || line_start > UINT32_MAX) {
        out.truncated = true;
      } else {
        if (has_break || out.page_lines.empty()) {
          if (out.page_lines.empty()) out.first_page = page;
          out.page_lines.push_back(int(out.offsets.size()));
        }
        out.offsets.push_back(uint32_t(line_start));
        out.breaks.push_back(has_break ? 1 : 0);
      }
    }
    line_start = next_start;
    length = 0;
    has_break = false;
  };
  std::vector<char> buf(1 << 20);
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), f.get())) > 0) {
    for (std::size_t i = 0; i < n; ++i, ++offset) {
      const char c = buf[i];
      if (held_mark && c == page_code) {
        // The separator: the line holding it is a page break; reading goes on after it.
        held_mark = false;
        ++page;
        has_break = true;
        end_line(offset + 1);
        continue;
      }
      held_mark = c == mark;
      if (c == '\n') {
        end_line(offset + 1);
        continue;
      }
      if (++length >= max_line) end_line(offset + 1);
    }
  }
  if (length > 0) end_line(offset);
  out.pages_in_file = page;
  return true;
}

spool_lines::spool_lines(const std::string& path, const spool_index& index, QWidget* parent)
    : QAbstractScrollArea(parent), file_(QString::fromStdString(path)), index_(index) {
  file_.open(QIODevice::ReadOnly);
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(10);
  setFont(font);
  viewport()->setFont(font);
  const QFontMetrics fm(font);
  line_height_ = fm.height();
  char_width_ = std::max(1, fm.horizontalAdvance('M'));
  viewport()->setAutoFillBackground(true);
  QPalette p = viewport()->palette();
  p.setColor(QPalette::Window, Qt::white);
  viewport()->setPalette(p);
  setFocusPolicy(Qt::StrongFocus);
  relayout();
}

void spool_lines::relayout() {
  const int visible = std::max(1, viewport()->height() / line_height_);
  verticalScrollBar()->setRange(0, std::max(0, int(index_.offsets.size()) - visible));
  verticalScrollBar()->setPageStep(visible);
  horizontalScrollBar()->setRange(0, std::max(0, columns * char_width_ + 8 - viewport()->width()));
  horizontalScrollBar()->setSingleStep(char_width_);
}

void spool_lines::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  relayout();
}

int spool_lines::current_line() const { return verticalScrollBar()->value(); }

void spool_lines::go_to_line(int line) {
  verticalScrollBar()->setValue(line);
  viewport()->update();
}

std::string spool_lines::raw_line(int line) {
  if (line < 0 || std::size_t(line) >= index_.offsets.size()) return {};
  const uint64_t start = index_.offsets[line];
  uint64_t end = std::size_t(line) + 1 < index_.offsets.size() ? index_.offsets[line + 1] : start + max_line;
  end = std::min<uint64_t>(end, start + max_line);
  if (!file_.seek(qint64(start))) return {};
  QByteArray bytes = file_.read(qint64(end - start));
  std::string s(bytes.constData(), std::size_t(bytes.size()));
  const auto nl = s.find('\n');
  if (nl != std::string::npos) s.resize(nl);
  if (!s.empty() && s.back() == '\r') s.pop_back();
  return s;
}

void spool_lines::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const int first = verticalScrollBar()->value();
  const int rows = viewport()->height() / line_height_ + 1;
  const int x0 = 4 - horizontalScrollBar()->value();
  const QFontMetrics fm(font());
  for (int r = 0; r < rows; ++r) {
    const int line = first + r;
    if (std::size_t(line) >= index_.offsets.size()) break;
    const int y = r * line_height_;
    if (index_.breaks[line]) {
      painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
      painter.drawLine(0, y + line_height_ / 2, viewport()->width(), y + line_height_ / 2);
      continue;
    }
    std::string raw = raw_line(line);
    bool bold = false, wide = false;
    std::string text;
    for (char c : raw) {
      if (c == 4) bold = true;
      else if (c == 6) wide = bold = true;
      else if (uint8_t(c) >= 32) text += c;
    }
    QFont f = font();
    f.setBold(bold);
    if (wide) f.setStretch(200);
    painter.setFont(f);
    painter.setPen(Qt::black);
    painter.drawText(x0, y + fm.ascent(), QString::fromStdString(store::mazovia_to_utf8(text)));
  }
}

Tdlg_preview::Tdlg_preview(const std::string& spool, int first_page_number, int first, int last, QWidget* parent)
    : QDialog(parent), spool_(spool) {
  setWindowTitle(QStringLiteral("Pogląd wydruków"));
  index_path_ = std::filesystem::path(spool).replace_extension("$pv").string();
  if (!index_spool(spool, first_page_number, first, last, index_)) return;
  {
    // The offsets beside the spool file, 4 bytes each, as other readers of the preview expect.
    std::ofstream idx(index_path_, std::ios::binary | std::ios::trunc);
    if (!idx) return;
    idx.write(reinterpret_cast<const char*>(index_.offsets.data()), std::streamsize(index_.offsets.size() * 4));
  }
  if (index_.offsets.empty() || index_.page_lines.empty()) {
    shell::msg_box(144, std::max(0, index_.pages_in_file - first_page_number + 1));
    return;
  }
  if (index_.truncated) shell::msg_box(120, long(text_preview_line_limit));

  find_ = new QLineEdit(this);
  auto* down = new QPushButton(QStringLiteral("Szukaj w &dół"), this);
  auto* up = new QPushButton(QStringLiteral("Szukaj w &górę"), this);
  page_ = new QSpinBox(this);
  page_->setRange(index_.first_page - 1, index_.first_page + int(index_.page_lines.size()));
  page_->setValue(index_.first_page);
  auto* print = new QPushButton(QStringLiteral("&Drukuj"), this);
  auto* cancel = new QPushButton(QStringLiteral("&Zrezygnuj"), this);
  auto* bar = new QHBoxLayout;
  auto* find_label = new QLabel(QStringLiteral("&Szukaj:"), this);
  find_label->setBuddy(find_);
  bar->addWidget(find_label);
  bar->addWidget(find_, 1);
  bar->addWidget(down);
  bar->addWidget(up);
  auto* page_label = new QLabel(QStringLiteral("Do stro&ny:"), this);
  page_label->setBuddy(page_);
  bar->addWidget(page_label);
  bar->addWidget(page_);
  bar->addStretch();
  bar->addWidget(print);
  bar->addWidget(cancel);
  lines_ = new spool_lines(spool, index_, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(lines_, 1);
  resize(1000, 700);

  connect(down, &QPushButton::clicked, this, [this] { search(find_->text(), true); });
  connect(up, &QPushButton::clicked, this, [this] { search(find_->text(), false); });
  connect(page_, &QSpinBox::valueChanged, this, [this](int p) { go_to_page(p); });
  connect(print, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  ready_ = true;
}

Tdlg_preview::~Tdlg_preview() {
  std::error_code ec;
  if (!index_path_.empty()) std::filesystem::remove(index_path_, ec);
}

int Tdlg_preview::search(const QString& text, bool down) {
  if (text.isEmpty() || !lines_) return -1;
  const std::string wanted = store::utf8_to_mazovia(text.toStdString());
  const int count = int(index_.offsets.size());
  const int from = lines_->current_line();
  for (int line = down ? from + 1 : from - 1; line >= 0 && line < count; line += down ? 1 : -1) {
    if (index_.breaks[line]) continue;
    if (lines_->raw_line(line).find(wanted) != std::string::npos) {
      lines_->go_to_line(line);
      return line;
    }
  }
  return -1;
}

void Tdlg_preview::go_to_page(int page) {
  if (!lines_) return;
  const int count = int(index_.page_lines.size());
  // Past the last page wraps to the first, below the first to the last.
  int i = page - index_.first_page;
  if (i >= count) i = 0;
  if (i < 0) i = count - 1;
  lines_->go_to_line(index_.page_lines[i]);
  if (page_->value() != index_.first_page + i) {
    const QSignalBlocker block(page_);
    page_->setValue(index_.first_page + i);
  }
}

int Tdlg_preview::current_page() const {
  if (!lines_) return 0;
  const int line = lines_->current_line();
  int i = 0;
  while (i + 1 < int(index_.page_lines.size()) && index_.page_lines[i + 1] <= line) ++i;
  return index_.first_page + i;
}

bool preview_text(QWidget* parent, const std::string& spool, int first_page_number, int first, int last) {
  Tdlg_preview d(spool, first_page_number, first, last, parent);
  if (!d.ready()) return false;
  return d.exec() == QDialog::Accepted;
}

} // namespace kovra::app
