#include "app/print_config_dialog.h"

#include "shell/ini_form.h"
#include "shell/print_block.h"
#include "store/codepage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QListWidget>
#include <QColorDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QUrl>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <memory>

namespace kovra::app {
namespace {

namespace po = shell::print_offset;
using printouts::option_kind;
using printouts::page_option;
using printouts::print_method;

constexpr int code_role = Qt::UserRole + 1;
constexpr const char* range_text_name = "Zakres stron: tekst";

bool movable(int code) { return code >= 11 && code <= 99; }

int get16(const uint8_t* p) { return int16_t(uint16_t(p[0] | (p[1] << 8))); }
void put16(uint8_t* p, int v) {
  p[0] = uint8_t(v & 0xff);
  p[1] = uint8_t((v >> 8) & 0xff);
}

const page_option* find_option(const std::vector<page_option>& opts, const char* caption) {
  for (const auto& o : opts)
    if (o.caption == caption) return &o;
  return nullptr;
}

// Enables or disables an option of the block (a disabled one is cleared).
void enable(uint8_t* block, const page_option* o, bool on) {
  if (!o) return;
  shell::option_group g = shell::get_group(block, o->offset);
  shell::set_item_enabled(g, o->item, on, false);
  shell::put_group(block, o->offset, g);
}

// Option groups of the title page, the element table and the annexes.
constexpr std::size_t title_checks = 1699, element_table_layout = 7631;
constexpr std::size_t annex_title = 9819, annex_detail = 10087, annex_assumptions = 10363,
                      annex_assumptions_chapters = 10631;

bool disabled(const uint8_t* block, const page_option& o) {
  return (shell::get_group(block, o.offset).disabled >> o.item) & 1u;
}

QString page_title(int code) {
  const shell::print_part* p = shell::find_print_part(code);
  return p ? QString::fromUtf8(p->caption) : QString();
}

} // namespace

Tdlg_print_config::Tdlg_print_config(printouts::print_document& doc, QWidget* parent)
    : QDialog(parent), doc_(doc), look_at_open_(shell::current_print_look()) {
  look_ini_path = shell::ini_filename();
  setWindowTitle(QStringLiteral("Konfiguracja wydruku"));
  tree_ = new QTreeWidget(this);
  tree_->setHeaderHidden(true);
  tree_->setMinimumWidth(260);
  page_area_ = new QScrollArea(this);
  page_area_->setWidgetResizable(true);
  btn_up_ = new QPushButton(QStringLiteral("W górę"), this);
  btn_down_ = new QPushButton(QStringLiteral("W dół"), this);
  btn_print = new QPushButton(QStringLiteral("&Drukuj"), this);
  btn_preview = new QPushButton(QStringLiteral("&Podgląd"), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);

  auto* left = new QVBoxLayout;
  left->addWidget(tree_, 1);
  auto* moves = new QHBoxLayout;
  moves->addWidget(btn_up_);
  moves->addWidget(btn_down_);
  left->addLayout(moves);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(page_area_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btn_print);
  buttons->addWidget(btn_preview);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(buttons);
  resize(820, 560);

  apply_rules();
  build_tree();
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item) show_page(item->data(0, code_role).toInt());
  });
  connect(tree_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
    if (refreshing_) return;
    const int code = item->data(0, code_role).toInt();
    printouts::include_part(doc_.block.data(), code, item->checkState(0) == Qt::Checked);
    update_buttons();
  });
  auto move_selected = [this](int direction) {
    QTreeWidgetItem* item = tree_->currentItem();
    if (item && !item->parent()) move_part(item->data(0, code_role).toInt(), direction);
  };
  connect(btn_up_, &QPushButton::clicked, this, [move_selected] { move_selected(-1); });
  connect(btn_down_, &QPushButton::clicked, this, [move_selected] { move_selected(1); });
  auto* up = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up), tree_, nullptr, nullptr, Qt::WidgetShortcut);
  auto* down = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down), tree_, nullptr, nullptr, Qt::WidgetShortcut);
  connect(up, &QShortcut::activated, this, [move_selected] { move_selected(-1); });
  connect(down, &QShortcut::activated, this, [move_selected] { move_selected(1); });
  connect(btn_print, &QPushButton::clicked, this, [this] {
    store_tree();
    if (on_print) on_print(false);
  });
  connect(btn_preview, &QPushButton::clicked, this, [this] {
    store_tree();
    if (on_print) on_print(true);
  });
  connect(ok, &QPushButton::clicked, this, [this] {
    store_tree();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  if (tree_->topLevelItemCount() > 0) tree_->setCurrentItem(tree_->topLevelItem(0));
  update_buttons();
}

void Tdlg_print_config::build_tree() {
  refreshing_ = true;
  tree_->clear();
  const uint8_t* block = doc_.block.data();
  auto add = [&](int code, QTreeWidgetItem* parent) -> QTreeWidgetItem* {
    const shell::print_part* p = shell::find_print_part(code);
    if (!p || !p->caption || !*p->caption) return nullptr;
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
    item->setText(0, QString::fromUtf8(p->caption));
    item->setData(0, code_role, code);
    if (code >= 10) item->setCheckState(0, block[po::include + code] ? Qt::Checked : Qt::Unchecked);
    return item;
  };
  auto add_part = [&](int code) {
    QTreeWidgetItem* item = add(code, nullptr);
    if (item && doc_.compound) add(code + 100, item);
  };
  for (const auto& p : shell::print_parts())
    if (p.depth == 0 && p.code < 10) add(p.code, nullptr);
  std::vector<int> order;
  for (int code : shell::print_order(block))
    if (code >= 10 && code <= 100 && std::find(order.begin(), order.end(), code) == order.end()) order.push_back(code);
  // Parts the stored order lacks go before the table of contents.
  for (const auto& p : shell::print_parts())
    if (p.depth == 0 && p.code >= 10 && p.code < 100 && std::find(order.begin(), order.end(), p.code) == order.end())
      order.insert(std::find(order.begin(), order.end(), 100), p.code);
  if (std::find(order.begin(), order.end(), 100) == order.end()) order.push_back(100);
  for (int code : order) add_part(code);
  tree_->expandAll();
  refreshing_ = false;
}

QTreeWidgetItem* Tdlg_print_config::item_of(int code) const {
  for (QTreeWidgetItemIterator it(tree_); *it; ++it)
    if ((*it)->data(0, code_role).toInt() == code) return *it;
  return nullptr;
}

bool Tdlg_print_config::has_entry(int code) const { return item_of(code) != nullptr; }

std::vector<int> Tdlg_print_config::top_level_order() const {
  std::vector<int> out;
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) out.push_back(tree_->topLevelItem(i)->data(0, code_role).toInt());
  return out;
}

bool Tdlg_print_config::move_part(int code, int direction) {
  QTreeWidgetItem* item = item_of(code);
  if (!item || item->parent() || !movable(code)) return false;
  const int from = tree_->indexOfTopLevelItem(item);
  const int to = from + direction;
  if (to < 0 || to >= tree_->topLevelItemCount()) return false;
  if (!movable(tree_->topLevelItem(to)->data(0, code_role).toInt())) return false;
  refreshing_ = true;
  const bool expanded = item->isExpanded();
  tree_->takeTopLevelItem(from);
  tree_->insertTopLevelItem(to, item);
  item->setExpanded(expanded);
  tree_->setCurrentItem(item);
  refreshing_ = false;
  return true;
}

void Tdlg_print_config::set_included(int code, bool on) {
  if (QTreeWidgetItem* item = item_of(code)) item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

void Tdlg_print_config::select_part(int code) {
  if (QTreeWidgetItem* item = item_of(code)) tree_->setCurrentItem(item);
}

void Tdlg_print_config::store_tree() {
  uint8_t* block = doc_.block.data();
  std::vector<int> codes;
  for (int code : top_level_order())
    if (code >= 10) codes.push_back(code);
  // Settings entries before the first part keep their places; the parts follow in the tree's order.
  std::vector<int> stored;
  for (int code : shell::print_order(block)) {
    if (code >= 10) break;
    stored.push_back(code);
  }
  stored.insert(stored.end(), codes.begin(), codes.end());
  std::memset(block + po::order, 0, 200);
  for (std::size_t i = 0; i < stored.size() && i < 200; ++i) block[po::order + i] = uint8_t(stored[i]);
  for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
    const int code = (*it)->data(0, code_role).toInt();
    if (code >= 10) block[po::include + code] = (*it)->checkState(0) == Qt::Checked ? 1 : 0;
  }
}

print_method Tdlg_print_config::shown_method() const {
  const printouts::general_options g = printouts::read_general_options(doc_.block.data());
  return g.as_estimate ? printouts::method_of_document(printouts::document_calc_method(doc_)) : g.method;
}

void Tdlg_print_config::update_buttons() {
  bool any = false;
  for (QTreeWidgetItemIterator it(tree_); *it; ++it)
    any = any || ((*it)->data(0, code_role).toInt() >= 10 && (*it)->checkState(0) == Qt::Checked);
  btn_print->setEnabled(any);
  btn_preview->setEnabled(any);
  QTreeWidgetItem* item = tree_->currentItem();
  const bool can_move = item && !item->parent() && movable(item->data(0, code_role).toInt());
  btn_up_->setEnabled(can_move);
  btn_down_->setEnabled(can_move);
}

void Tdlg_print_config::show_page(int code) {
  page_code_ = code;
  bound_.clear();
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  QString title = page_title(code);
  if (code == 40) {
    static const char* const names[] = {"", "Inwestorska UPZP", "FORMUŁA I", "FORMUŁA II", "Uproszczona"};
    title += QStringLiteral(" - ") + QString::fromUtf8(names[int(shown_method())]);
  }
  auto* heading = new QLabel(QStringLiteral("<b>%1</b>").arg(title.toHtmlEscaped()), page);
  layout->addWidget(heading);
  if (code == 2 || code == 3 || code == 4) {
    if (code == 2) build_look_page(page, layout);
    else build_band_page(page, layout, code == 3 ? shell::print_offset::header_definition : shell::print_offset::footer_definition);
    layout->addStretch();
    page_area_->setWidget(page);
    update_buttons();
    return;
  }
  const std::vector<page_option> opts = printouts::page_options(doc_.block.data(), code, shown_method());
  if (opts.empty())
    layout->addWidget(new QLabel(QStringLiteral("Ta część nie ma własnych ustawień."), page));
  std::map<std::size_t, QButtonGroup*> groups;
  for (const page_option& o : opts) {
    QWidget* w = nullptr;
    const QString caption = QString::fromStdString(o.caption);
    switch (o.kind) {
      case option_kind::check: {
        auto* c = new QCheckBox(caption, page);
        connect(c, &QCheckBox::toggled, this, [this, caption](bool on) {
          if (!refreshing_) set_option(caption, on ? "on" : "off");
        });
        w = c;
        break;
      }
      case option_kind::radio: {
        auto* r = new QRadioButton(caption, page);
        QButtonGroup*& g = groups[o.offset];
        if (!g) g = new QButtonGroup(page);
        g->addButton(r);
        connect(r, &QRadioButton::toggled, this, [this, caption](bool on) {
          if (!refreshing_ && on) set_option(caption, "on");
        });
        w = r;
        break;
      }
      case option_kind::number16: {
        auto* row = new QWidget(page);
        auto* h = new QHBoxLayout(row);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(new QLabel(caption, row));
        auto* spin = new QSpinBox(row);
        spin->setRange(o.item, o.max);
        spin->setObjectName(caption);
        h->addWidget(spin);
        h->addStretch();
        connect(spin, &QSpinBox::valueChanged, this, [this, caption](int v) {
          if (!refreshing_) set_option(caption, QString::number(v));
        });
        layout->addWidget(row);
        bound_.push_back({spin, o});
        continue;
      }
      case option_kind::title: {
        auto* edit = new QLineEdit(page);
        edit->setObjectName(caption);
        layout->addWidget(new QLabel(caption, page));
        connect(edit, &QLineEdit::textEdited, this, [this, caption](const QString& t) { set_option(caption, t); });
        w = edit;
        break;
      }
    }
    w->setObjectName(caption);
    layout->addWidget(w);
    bound_.push_back({w, o});
    if (o.offset == po::page_range_mode && o.item == 2) {
      auto* range = new QLineEdit(page);
      range->setObjectName(range_text_name);
      range->setMaxLength(int(po::page_range_size) - 1);
      connect(range, &QLineEdit::textEdited, this, [this](const QString& t) {
        set_option(QStringLiteral("Zakres stron:"), t.isEmpty() ? QStringLiteral(" ") : t);
      });
      layout->addWidget(range);
    }
  }
  if (code == 10) {
    // "Wydruk z Worda": the title page as an editable document, from the shipped templates.
    auto* word = new QGroupBox(QStringLiteral("Wydruk z Worda"), page);
    auto* wl = new QVBoxLayout(word);
    for (printouts::template_kind kind : {printouts::template_kind::docx, printouts::template_kind::odt}) {
      const QString tpl =
          QString::fromStdString(printouts::title_template_path(template_folder.toStdString(), kind));
      auto* b = new QPushButton(kind == printouts::template_kind::docx ? QStringLiteral("Strona tytułowa do .docx")
                                                                        : QStringLiteral("Strona tytułowa do .odt"),
                                word);
      b->setObjectName(kind == printouts::template_kind::docx ? "btn_title_docx" : "btn_title_odt");
      b->setEnabled(!template_folder.isEmpty() && QFileInfo(tpl).isFile());
      wl->addWidget(new QLabel(tpl, word));
      wl->addWidget(b);
      connect(b, &QPushButton::clicked, this, [this, kind] { export_title_page(kind); });
    }
    layout->addWidget(word);
  }
  layout->addStretch();
  page_area_->setWidget(page);
  refresh_page();
  update_buttons();
}

namespace {

QString font_text(const shell::look_font& f) {
  QString t = QStringLiteral("%1, %2 pt").arg(QString::fromStdString(f.face)).arg(f.size);
  if (f.style & shell::font_bold) t += QStringLiteral(", pogrubiona");
  if (f.style & shell::font_italic) t += QStringLiteral(", kursywa");
  return t;
}

QColor colour_of(uint32_t bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }

void paint_swatch(QPushButton* b, uint32_t bgr) {
  b->setStyleSheet(QStringLiteral("background-color: %1").arg(colour_of(bgr).name()));
}

} // namespace

void Tdlg_print_config::build_look_page(QWidget* page, QVBoxLayout* layout) {
  shell::print_look& look = shell::current_print_look();
  auto* elements = new QGroupBox(QStringLiteral("Elementy wydruku"), page);
  auto* grid = new QGridLayout(elements);
  const int n = std::min<int>(shell::print_element_count, int(look.design.elements.size()));
  for (int i = 0; i < n; ++i) {
    grid->addWidget(new QLabel(QString::fromUtf8(shell::print_element_label(i)) + QLatin1Char(':'), elements), i, 0);
    const int f = look.design.elements[std::size_t(i)].font;
    auto* font_b = new QPushButton(f >= 0 && f < int(look.design.fonts.size()) ? font_text(look.design.fonts[std::size_t(f)])
                                                                             : QString(),
                                   elements);
    font_b->setObjectName(QStringLiteral("font_%1").arg(i));
    auto* colour_b = new QPushButton(QStringLiteral("Kolor"), elements);
    colour_b->setObjectName(QStringLiteral("colour_%1").arg(i));
    paint_swatch(colour_b, look.design.elements[std::size_t(i)].colour);
    grid->addWidget(font_b, i, 1);
    grid->addWidget(colour_b, i, 2);
    connect(font_b, &QPushButton::clicked, this, [this, i] {
      const shell::print_look& l = shell::current_print_look();
      const shell::look_font& lf = l.design.fonts[std::size_t(l.design.elements[std::size_t(i)].font)];
      QFont initial(QString::fromStdString(lf.face), lf.size);
      initial.setBold(lf.style & shell::font_bold);
      initial.setItalic(lf.style & shell::font_italic);
      bool ok = false;
      const QFont chosen = QFontDialog::getFont(&ok, initial, this, QStringLiteral("Czcionka"));
      if (ok) set_element_font(i, chosen);
    });
    connect(colour_b, &QPushButton::clicked, this, [this, i] {
      const QColor c = QColorDialog::getColor(
          colour_of(shell::current_print_look().design.elements[std::size_t(i)].colour), this, QStringLiteral("Kolor"));
      if (c.isValid()) set_element_colour(i, c);
    });
  }
  layout->addWidget(elements);

  auto spin = [&](QWidget* parent, QFormLayout* form, const QString& caption, int lo, int hi, int value,
                  std::function<void(int)> store) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(caption);
    s->setRange(lo, hi);
    s->setValue(value);
    form->addRow(caption, s);
    connect(s, &QSpinBox::valueChanged, this, [store](int v) { store(v); });
  };
  auto* rules = new QGroupBox(QStringLiteral("Grubość krawędzi"), page);
  auto* rf = new QFormLayout(rules);
  spin(rules, rf, QStringLiteral("Wewnętrzne"), 0, 1000, look.inner_rule,
       [](int v) { shell::current_print_look().inner_rule = v; });
  spin(rules, rf, QStringLiteral("Zewnętrzne"), 0, 1000, look.outer_rule,
       [](int v) { shell::current_print_look().outer_rule = v; });
  layout->addWidget(rules);
  auto* manner = new QGroupBox(QStringLiteral("Sposób wydruku"), page);
  auto* mf = new QFormLayout(manner);
  spin(manner, mf, QStringLiteral("Odstęp między wierszami"), 0, 28, look.line_spacing,
       [](int v) { shell::current_print_look().line_spacing = v; });
  layout->addWidget(manner);
}

void Tdlg_print_config::build_band_page(QWidget* page, QVBoxLayout* layout, std::size_t offset) {
  uint8_t* band = doc_.block.data() + offset;
  constexpr int free_text = 3, free_text_size = 101, first_slot = 104, slot_count = 20;
  static const char* const kinds[] = {"???",  "Logo Kovra", "Nazwa pliku", "Nazwa z drzewka", "Nazwa z danych ogólnych",
                                      "Numer strony", "Data", "Dowolny tekst"};
  auto check = [&](const QString& caption, bool on, std::function<void(bool)> store) {
    auto* c = new QCheckBox(caption, page);
    c->setObjectName(caption);
    c->setChecked(on);
    connect(c, &QCheckBox::toggled, this, [store](bool v) { store(v); });
    layout->addWidget(c);
  };
  check(QStringLiteral("Drukuj"), band[1] != 0, [band](bool v) { band[1] = v ? 1 : 0; });
  check(QStringLiteral("Linia oddzielająca"), band[2] & 1, [band](bool v) { band[2] = uint8_t((band[2] & ~1) | (v ? 1 : 0)); });
  check(QStringLiteral("Drukuj na stronie tytułowej"), band[2] & 2,
        [band](bool v) { band[2] = uint8_t((band[2] & ~2) | (v ? 2 : 0)); });
  layout->addWidget(new QLabel(QStringLiteral("Dowolny tekst:"), page));
  auto* text = new QLineEdit(page);
  text->setObjectName(QStringLiteral("Dowolny tekst"));
  text->setMaxLength(free_text_size - 1);
  text->setText(QString::fromStdString(
      store::mazovia_to_utf8(std::string(reinterpret_cast<const char*>(band + free_text),
                                         strnlen(reinterpret_cast<const char*>(band + free_text), free_text_size - 1)))));
  connect(text, &QLineEdit::textEdited, this, [band](const QString& t) {
    const std::string m = store::utf8_to_mazovia(t.toStdString()).substr(0, free_text_size - 1);
    std::memset(band + free_text, 0, free_text_size);
    std::memcpy(band + free_text, m.data(), m.size());
  });
  layout->addWidget(text);

  // The used first_slot in slot order; the selected one's line and justification beside the list.
  auto* list = new QListWidget(page);
  list->setObjectName(QStringLiteral("band_items"));
  auto* new_line = new QCheckBox(QStringLiteral("Drukuj w nowej linii"), page);
  new_line->setObjectName(new_line->text());
  auto* justify = new QComboBox(page);
  justify->setObjectName(QStringLiteral("Justyfikacja"));
  justify->addItems({QStringLiteral("do lewej"), QStringLiteral("do środka"), QStringLiteral("do prawej")});
  auto* up = new QPushButton(QStringLiteral("W górę"), page);
  auto* down = new QPushButton(QStringLiteral("W dół"), page);
  up->setObjectName(QStringLiteral("band_up"));
  down->setObjectName(QStringLiteral("band_down"));
  auto used = [band] {
    std::vector<int> v;
    for (int i = 0; i < slot_count; ++i)
      if (band[first_slot + 5 * i] != 0) v.push_back(i);
    return v;
  };
  auto fill = std::make_shared<std::function<void(int)>>();
  *fill = [=](int select_row) {
    const QSignalBlocker b(list);
    list->clear();
    for (int slot : used()) {
      const uint8_t* s = band + first_slot + 5 * slot;
      auto* item = new QListWidgetItem(QString::fromUtf8(kinds[s[0] <= 7 ? s[0] : 0]), list);
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(s[1] ? Qt::Checked : Qt::Unchecked);
      item->setData(Qt::UserRole, slot);
    }
    list->setCurrentRow(std::clamp(select_row, 0, list->count() - 1));
  };
  auto current_slot = [list, band]() -> uint8_t* {
    QListWidgetItem* item = list->currentItem();
    return item ? band + first_slot + 5 * item->data(Qt::UserRole).toInt() : nullptr;
  };
  auto show_slot = [=] {
    const uint8_t* s = current_slot();
    const QSignalBlocker b1(new_line), b2(justify);
    new_line->setChecked(s && s[3]);
    justify->setCurrentIndex(s ? std::clamp<int>(s[4], 0, 2) : 0);
  };
  connect(list, &QListWidget::currentRowChanged, this, [show_slot] { show_slot(); });
  connect(list, &QListWidget::itemChanged, this, [band](QListWidgetItem* item) {
    band[first_slot + 5 * item->data(Qt::UserRole).toInt() + 1] = item->checkState() == Qt::Checked ? 1 : 0;
  });
  connect(new_line, &QCheckBox::toggled, this, [current_slot](bool on) {
    if (uint8_t* s = current_slot()) s[3] = on ? 1 : 0;
  });
  connect(justify, &QComboBox::currentIndexChanged, this, [current_slot](int i) {
    if (uint8_t* s = current_slot()) s[4] = uint8_t(std::clamp(i, 0, 2));
  });
  auto move = [=](int direction) {
    const int row = list->currentRow();
    const std::vector<int> u = used();
    const int other = row + direction;
    if (row < 0 || other < 0 || other >= int(u.size())) return;
    uint8_t tmp[5];
    std::memcpy(tmp, band + first_slot + 5 * u[std::size_t(row)], 5);
    std::memcpy(band + first_slot + 5 * u[std::size_t(row)], band + first_slot + 5 * u[std::size_t(other)], 5);
    std::memcpy(band + first_slot + 5 * u[std::size_t(other)], tmp, 5);
    (*fill)(other);
    show_slot();
  };
  connect(up, &QPushButton::clicked, this, [move] { move(-1); });
  connect(down, &QPushButton::clicked, this, [move] { move(1); });
  (*fill)(0);
  show_slot();
  auto* items = new QHBoxLayout;
  items->addWidget(list, 1);
  auto* side = new QVBoxLayout;
  side->addWidget(new_line);
  side->addWidget(new QLabel(QStringLiteral("Justyfikacja:"), page));
  side->addWidget(justify);
  side->addWidget(up);
  side->addWidget(down);
  side->addStretch();
  items->addLayout(side);
  layout->addLayout(items);
}

void Tdlg_print_config::set_element_font(int element, const QFont& font) {
  shell::print_look& look = shell::current_print_look();
  if (element < 0 || element >= int(look.design.elements.size())) return;
  const int f = look.design.elements[std::size_t(element)].font;
  if (f < 0 || f >= int(look.design.fonts.size())) return;
  shell::look_font& lf = look.design.fonts[std::size_t(f)];
  lf.face = font.family().toStdString();
  if (font.pointSize() > 0) lf.size = font.pointSize();
  lf.style = (font.bold() ? shell::font_bold : 0) | (font.italic() ? shell::font_italic : 0) |
             (font.underline() ? shell::font_underline : 0) | (font.strikeOut() ? shell::font_strikeout : 0);
  if (page_code_ == 2) show_page(2);
}

void Tdlg_print_config::set_element_colour(int element, const QColor& colour) {
  shell::print_look& look = shell::current_print_look();
  if (element < 0 || element >= int(look.design.elements.size())) return;
  look.design.elements[std::size_t(element)].colour =
      uint32_t(colour.red()) | uint32_t(colour.green()) << 8 | uint32_t(colour.blue()) << 16;
  if (page_code_ == 2) show_page(2);
}

void Tdlg_print_config::done(int result) {
  if (result == QDialog::Accepted) {
    if (!look_ini_path.empty()) shell::save_print_look(look_ini_path);
  } else {
    shell::current_print_look() = look_at_open_;
  }
  QDialog::done(result);
}

bool Tdlg_print_config::set_option(const QString& caption, const QString& value) {
  uint8_t* block = doc_.block.data();
  const std::string c = caption.toStdString(), v = value.toStdString();
  bool done = false;
  for (const bound_option& b : bound_) {
    const page_option& o = b.option;
    if (o.caption != c) continue;
    if (disabled(block, o) && o.kind != option_kind::number16 && o.kind != option_kind::title) return false;
    switch (o.kind) {
      case option_kind::check: shell::set_item(block, o.offset, o.item, v == "on"); break;
      case option_kind::radio: {
        if (v == "off") return true;
        if (o.offset == po::page_range_mode && o.item == 2 && v != "on") {
          std::memset(block + po::page_range, 0, po::page_range_size);
          const std::string text = v == " " ? std::string() : v.substr(0, po::page_range_size - 1);
          std::memcpy(block + po::page_range, text.data(), text.size());
        }
        shell::option_group g = shell::get_group(block, o.offset);
        g.value = uint32_t(1) << o.item;
        shell::put_group(block, o.offset, g);
        break;
      }
      case option_kind::number16: put16(block + o.offset, std::clamp(value.toInt(), o.item, o.max)); break;
      case option_kind::title: {
        const std::string text = store::utf8_to_mazovia(v).substr(0, shell::title_size - 1);
        std::memset(block + o.offset, 0, shell::title_size);
        std::memcpy(block + o.offset, text.data(), text.size());
        break;
      }
    }
    done = true;
    break;
  }
  if (!done) return false;
  const print_method before = shown_method();
  apply_rules();
  if (page_code_ == 40 && shown_method() != before) show_page(40);
  else refresh_page();
  return true;
}

void Tdlg_print_config::apply_rules() {
  uint8_t* block = doc_.block.data();
  // "Zbiór PDF" is not offered: a PDF file is the device "PDF".
  if (shell::item_on(block, po::device, 2) && shell::item_on(block, po::file_type, 4)) {
    shell::put_group(block, po::device, {uint32_t(1) << 3, shell::get_group(block, po::device).disabled});
    shell::put_group(block, po::file_type, {uint32_t(1) << 1, shell::get_group(block, po::file_type).disabled});
  }
  // "zgodne z ustawieniami w kosztorysie": the document's method; the others disabled.
  {
    shell::option_group g = shell::get_group(block, po::calc_method);
    if (shell::item_on(block, po::calc_as_estimate, 1)) {
      const int mine = int(printouts::method_of_document(printouts::document_calc_method(doc_)));
      g.value = uint32_t(1) << mine;
      g.disabled = 0;
      for (int i = 1; i <= 4; ++i)
        if (i != mine) g.disabled |= uint32_t(1) << i;
    } else {
      g.disabled = 0;
    }
    shell::put_group(block, po::calc_method, g);
  }
  const bool no_prices = shell::item_on(block, po::general_checks, 4);
  {
    shell::option_group g = shell::get_group(block, po::general_checks);
    shell::set_item_enabled(g, 2, !no_prices, false);  // "Drukuj formuły narzutów"
    shell::put_group(block, po::general_checks, g);
  }
  for (print_method m : {print_method::formula_2, print_method::formula_1, print_method::simplified, print_method::upzp}) {
    const std::vector<page_option> opts = printouts::page_options(block, 40, m);
    const page_option* full_o = find_option(opts, "Pełny");
    const page_option* rms_o = find_option(opts, "RMS razem");
    const bool full = !full_o || shell::item_on(block, full_o->offset, full_o->item);
    const bool rms_total = rms_o && shell::item_on(block, rms_o->offset, rms_o->item);
    auto on = [&](const char* caption) {
      const page_option* o = find_option(opts, caption);
      return o && shell::item_on(block, o->offset, o->item) && !disabled(block, *o);
    };
    const page_option* inputs = find_option(opts, "Z podsumowaniem nakładów");
    const bool inputs_were_off = inputs && disabled(block, *inputs);
    enable(block, find_option(opts, "Z wyliczeniami ilości"), full);
    enable(block, inputs, full && !no_prices);
    if (inputs && inputs_were_off && full && !no_prices) shell::set_item(block, inputs->offset, inputs->item, true);
    enable(block, find_option(opts, "Z ceną jednostkową pozycji"), (full || rms_total) && !no_prices);
    enable(block, find_option(opts, "Z narzutami"), !no_prices);
    for (const char* c : {"Z podsumowaniem pozycji", "Z podsumowaniem elementów", "Z podsumowaniem grup",
                          "Z podsumowaniem kosztorysu"})
      enable(block, find_option(opts, c), !no_prices);
    enable(block, find_option(opts, "Z podsumowaniem rozdziałów"), doc_.compound && !no_prices);
    const bool overheads = on("Z narzutami");
    enable(block, find_option(opts, "Nie pokazuj VAT w pozycjach"), full && overheads);
    enable(block, find_option(opts, "Z VAT w pozycjach razem"), full && overheads && !on("Nie pokazuj VAT w pozycjach"));
  }
  {
    // "Nie drukuj wartości kosztorysu" on the title page while the printout has no prices.
    shell::option_group g = shell::get_group(block, title_checks);
    shell::set_item_enabled(g, 1, !no_prices, true);
    shell::put_group(block, title_checks, g);
  }
  const print_method method = shown_method();
  {
    // The element table's cost layouts 2 to 4 exist only in FORMUŁA II.
    shell::option_group g = shell::get_group(block, element_table_layout);
    for (int i = 2; i <= 4; ++i) shell::set_item_enabled(g, i, method == print_method::formula_2, false);
    shell::put_group(block, element_table_layout, g);
  }
  // The annexes are printed only with the UPZP method; an annex part is printed when any of
  // its annexes is.
  auto annexes = [&](int part, std::initializer_list<std::size_t> groups) {
    bool any = false;
    for (std::size_t off : groups) {
      shell::option_group g = shell::get_group(block, off);
      shell::set_item_enabled(g, 2, method == print_method::upzp, false);
      shell::put_group(block, off, g);
      any = any || shell::item_on(block, off, 2);
    }
    if (printouts::part_included(block, part) != any) {
      printouts::include_part(block, part, any);
      if (QTreeWidgetItem* item = item_of(part)) {
        const QSignalBlocker b(tree_);
        item->setCheckState(0, any ? Qt::Checked : Qt::Unchecked);
      }
    }
  };
  annexes(85, {annex_title, annex_detail, annex_assumptions});
  if (doc_.compound) annexes(185, {annex_assumptions_chapters});
  shell::repair_radio_groups(block);
  printouts::sync_new_page_flags(block);
  update_buttons();
}

void Tdlg_print_config::refresh_page() {
  refreshing_ = true;
  const uint8_t* block = doc_.block.data();
  for (const bound_option& b : bound_) {
    const page_option& o = b.option;
    switch (o.kind) {
      case option_kind::check:
      case option_kind::radio:
        static_cast<QAbstractButton*>(b.widget)->setChecked(shell::item_on(block, o.offset, o.item));
        b.widget->setEnabled(!disabled(block, o));
        break;
      case option_kind::number16: static_cast<QSpinBox*>(b.widget)->setValue(get16(block + o.offset)); break;
      case option_kind::title: {
        const char* t = reinterpret_cast<const char*>(block + o.offset);
        const std::string text(t, strnlen(t, shell::title_size));
        auto* edit = static_cast<QLineEdit*>(b.widget);
        const QString shown = QString::fromStdString(store::mazovia_to_utf8(text));
        if (edit->text() != shown) edit->setText(shown);
        break;
      }
    }
  }
  if (auto* range = page_area_->widget() ? page_area_->widget()->findChild<QLineEdit*>(range_text_name) : nullptr) {
    const char* t = reinterpret_cast<const char*>(block + po::page_range);
    const QString shown = QString::fromLatin1(t, int(strnlen(t, po::page_range_size - 1)));
    if (range->text() != shown) range->setText(shown);
    range->setEnabled(shell::item_on(block, po::page_range_mode, 2));
  }
  refreshing_ = false;
}

QString Tdlg_print_config::export_title_page(printouts::template_kind kind, bool open) {
  uint8_t* block = doc_.block.data();
  std::string title;
  for (const page_option& o : printouts::page_options(block, 10, shown_method()))
    if (o.kind == option_kind::title) title = store::mazovia_to_utf8(shell::effective_title(block, o.offset));
  const printouts::general_options g = printouts::read_general_options(block);
  // Values only while printed: neither "Bez cen i wartości" nor "Nie drukuj wartości kosztorysu".
  const bool values = !g.without_prices && !shell::item_on(block, title_checks, 1);
  const printouts::title_fields fields = printouts::title_fields_of(doc_, title, values);
  const std::string tpl = printouts::title_template_path(template_folder.toStdString(), kind);
  const std::string out = printouts::title_output_path(doc_.path, kind);
  const std::string error = printouts::merge_title_page(tpl, out, fields, printouts::constituents_page(doc_));
  if (!error.empty()) {
    QMessageBox::warning(this, windowTitle(), QString::fromStdString(error));
    return {};
  }
  const QString merged = QString::fromStdString(out);
  if (open && !QDesktopServices::openUrl(QUrl::fromLocalFile(merged)))
    QMessageBox::warning(this, windowTitle(),
                         QStringLiteral("Strona tytułowa została zapisana, ale nie ma programu, który ją otworzy:\n") +
                             merged);
  return merged;
}

bool Tdlg_print_config::option_enabled(const QString& caption) const {
  for (const bound_option& b : bound_)
    if (b.option.caption == caption.toStdString()) return !disabled(doc_.block.data(), b.option);
  return false;
}

bool Tdlg_print_config::option_checked(const QString& caption) const {
  for (const bound_option& b : bound_)
    if (b.option.caption == caption.toStdString()) return shell::item_on(doc_.block.data(), b.option.offset, b.option.item);
  return false;
}

} // namespace kovra::app
