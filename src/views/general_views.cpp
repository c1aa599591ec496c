#include "views/general_views.h"

#include "calc/number_text.h"
#include "controls/std_grid.h"
#include "document/data_chain.h"
#include "document/estimate_doc.h"
#include "document/general_data.h"
#include "store/codepage.h"
#include "store/file_header.h"
#include "views/position_sub_views.h"
#include "views/view_host.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <fstream>

namespace kovra::views {
namespace {

QString shown_text(std::string_view internal) { return QString::fromStdString(store::mazovia_to_utf8(internal)); }
QString from_1250(std::string text) {
  store::cp1250_to_mazovia(text);
  return shown_text(text);
}

QPlainTextEdit* memo(QWidget* parent) {
  auto* m = new QPlainTextEdit(parent);
  m->setReadOnly(true);
  m->setMaximumHeight(60);
  return m;
}

QLineEdit* line(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setReadOnly(true);
  return e;
}

// Simple estimates keep their data records in chain 4, the compound level in chain 2.
int data_chain(bool compound) { return compound ? 2 : 4; }

// The four 56-byte lines of a description joined (the stored header, or 224 bytes as one
// text when its first line runs on).
QString joined_description(const store::file_header& h) { return shown_text(store::header_description(h)); }

std::optional<store::file_header> header_of_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  uint8_t raw[store::file_header_size];
  if (!in.read(reinterpret_cast<char*>(raw), sizeof raw)) return std::nullopt;
  const store::file_header h = store::decode_file_header(raw);
  if (!h.magic_ok()) return std::nullopt;
  return h;
}

} // namespace

// Dates ------------------------------------------------------------------------------------

QDate parse_date(const std::string& yymmdd, const QDate& today, bool& invalid) {
  invalid = true;
  auto two = [&](size_t at) {
    if (yymmdd.size() < at + 2 || !isdigit(uint8_t(yymmdd[at])) || !isdigit(uint8_t(yymmdd[at + 1]))) return -1;
    return (yymmdd[at] - '0') * 10 + (yymmdd[at + 1] - '0');
  };
  const int yy = two(0), mm = two(2), dd = two(4);
  if (yy < 0 || mm < 1 || mm > 12 || dd < 1 || dd > 31) return today;
  const QDate d(yy < 60 ? 2000 + yy : 1900 + yy, mm, dd);
  if (!d.isValid()) return today;  // a day its month does not have (31 February)
  invalid = false;
  return d;
}

std::string format_date(const QDate& date) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d%02d%02d", date.year() % 100, date.month(), date.day());
  return text;
}

namespace {
bool date_is_empty(const document::general_data& g) { return g.estimate_date().empty(); }
bool date_is_zero(const document::general_data& g) { return g.estimate_date().rfind("0000", 0) == 0; }
} // namespace

bool has_date(const document::general_data& g) {
  if (date_is_zero(g)) return false;
  if (g.date_state() != 0) return g.date_state() == 1;
  return !date_is_empty(g);
}

QDate shown_date(document::general_data& g, const QDate& today, bool& no_date) {
  no_date = false;
  bool invalid = false;
  if (date_is_empty(g)) {
    g.set_estimate_date(format_date(today));
    g.set_date_state(1);
    return today;
  }
  if (has_date(g)) {
    const QDate d = parse_date(g.estimate_date(), today, invalid);
    if (invalid) {
      g.set_estimate_date(format_date(d));
      g.set_date_state(1);
    }
    return d;
  }
  no_date = true;
  if (date_is_zero(g)) return today;
  return parse_date(g.estimate_date(), today, invalid);
}

// "Dane ogólne" ------------------------------------------------------------------------------

Tfrm_dane_ogolne::Tfrm_dane_ogolne(view_host& host, bool compound, QWidget* parent)
    : TTabForm(parent), host_(host), compound_(compound) {
  setObjectName(compound ? "Tfrm_dane_ogolne_multi" : "Tfrm_dane_ogolne_simpl");
  auto* outer = new QVBoxLayout(this);
  auto* tabs = new QTabWidget(this);
  outer->addWidget(tabs);
  auto* data_tab = new QWidget(tabs);
  tabs->addTab(data_tab, "Dane");
  cpv = new Tfrm_cpv(tabs);
  tabs->addTab(cpv, "Kod");
  connect(tabs, &QTabWidget::currentChanged, this, [this](int i) {
    if (i == 1) cpv->bind_cpv(host_, nullptr);
  });
  auto* form = new QFormLayout(data_tab);
  date = new QDateEdit(this);
  date->setEnabled(false);
  date->setDisplayFormat("dd.MM.yyyy");
  no_date = new QCheckBox("Bez daty", this);
  no_date->hide();
  form->addRow("Data:", date);
  memo_gd_name = memo(this);
  form->addRow("Nazwa:", memo_gd_name);
  memo_gd_autor = memo(this);
  form->addRow(QString::fromUtf8("Nazwa i adres jednostki opracowującej kosztorys:"), memo_gd_autor);
  memo_gd_inwestor = memo(this);
  form->addRow(QString::fromUtf8("Nazwa i adres zamawiającego:"), memo_gd_inwestor);
  memo_gd_obiekt = memo(this);
  form->addRow("Obiekt:", memo_gd_obiekt);
  memo_gd_budowa = memo(this);
  form->addRow("Budowa:", memo_gd_budowa);
  units = line(this);
  form->addRow(QString::fromUtf8("Ilość jednostek:"), units);
  purchase_cost = line(this);
  form->addRow("Koszty zakupu:", purchase_cost);
  location = new QLabel(this);
  location->setTextFormat(Qt::PlainText);
  form->addRow("Lokalizacja: ", location);
  authors = new controls::VL_std_grid(this);
  authors->use_screen_look();
  authors->set_use_cells(true);
  authors->set_col_count(3);
  authors->set_fixed_cols(1);
  authors->set_fixed_rows(1);
  authors->set_row_count(2);
  authors->set_col_widths(0, 12);
  authors->set_col_widths(1, 220);
  authors->set_col_widths(2, 220);
  authors->set_cells(1, 0, QString::fromUtf8("Imię i nazwisko"));
  authors->set_cells(2, 0, "Stanowisko");
  authors->setMinimumHeight(90);
  form->addRow("Autorzy:", authors);
}

void Tfrm_dane_ogolne::activate(int stage) {
  TTabForm::activate(stage);
  if (stage == 0) refresh();
}

void Tfrm_dane_ogolne::set_shown(bool shown) {
  TTabForm::set_shown(shown);
  if (shown) refresh();
}

void Tfrm_dane_ogolne::values_changed() { refresh(); }

void Tfrm_dane_ogolne::refresh() {
  document::general_data* g = host_.general();
  document::estimate_doc* doc = host_.document();
  if (!g) return;
  bool without = false;
  date->setDate(shown_date(*g, QDate::currentDate(), without));
  no_date->setChecked(without);
  // A constituent's name is its chapter description; otherwise the file's own description.
  if (host_.chapter())
    memo_gd_name->setPlainText(shown_text(g->chapter_description()));
  else if (doc)
    memo_gd_name->setPlainText(joined_description(doc->header));
  memo_gd_autor->setPlainText(shown_text(g->preparer_text()));
  memo_gd_inwestor->setPlainText(shown_text(g->client_text()));
  memo_gd_obiekt->setPlainText(shown_text(g->object_text()));
  memo_gd_budowa->setPlainText(shown_text(g->site_text()));
  units->setText(QString::fromLatin1(calc::text_tenths(g->units_count())).trimmed());
  purchase_cost->setText(QString::fromLatin1(calc::text_percent(g->purchase_cost_percent(), 7)).trimmed());
  location->setText(doc ? QString::fromStdString(doc->path) : QString());
  std::vector<document::author> list;
  if (document::record_source* records = host_.records()) list = document::read_authors(*records, *g, data_chain(compound_));
  list.push_back({});  // the last row is always empty
  authors->set_row_count(int(list.size()) + 1);
  // The two columns share the width equally, each at least 100 pixels.
  const int half = std::max(100, (authors->viewport()->width() - 12 - 3 * authors->grid_line_width()) / 2);
  authors->set_col_widths(1, half);
  authors->set_col_widths(2, half);
  for (size_t i = 0; i < list.size(); ++i) {
    authors->set_cells(1, int(i) + 1, shown_text(list[i].name));
    authors->set_cells(2, int(i) + 1, shown_text(list[i].function));
  }
  authors->UpdateView();
  cpv->bind_cpv(host_, nullptr);
}

// "Cenniki" ----------------------------------------------------------------------------------

Tfrm_cen3::Tfrm_cen3(view_host& host, bool compound, QWidget* parent)
    : TTabForm(parent), host_(host), compound_(compound) {
  setObjectName(compound ? "Tfrm_cen3_multi" : "Tfrm_cen3_simple");
  auto* form = new QFormLayout(this);
  static const char* labels[11] = {"&Robocizna:", "", "", "&Materiały:", "", "", "Sprzę&t:", "", "", "&Uproszczone:",
                                   "&Scalone:"};
  for (int k = 0; k < 11; ++k) {
    entries[k] = line(this);
    const int indent = k < 9 ? 20 * (k % 3) : 0;
    entries[k]->setTextMargins(indent, 0, 0, 0);
    form->addRow(QString::fromUtf8(labels[k]), entries[k]);
  }
  labour_rate = line(this);
  form->addRow("S&tawka r-g:", labour_rate);
}

void Tfrm_cen3::set_shown(bool shown) {
  TTabForm::set_shown(shown);
  if (shown) refresh();
}

void Tfrm_cen3::values_changed() { refresh(); }

void Tfrm_cen3::refresh() {
  const document::general_data* g = host_.general();
  if (!g) return;
  for (int k = 0; k < 10; ++k) {
    const std::string file = g->price_list_file(k);
    if (file.empty()) {
      entries[k]->clear();
      continue;
    }
    QString text;
    if (auto h = header_of_file(file)) text = joined_description(*h).trimmed();
    entries[k]->setText(text.isEmpty() ? from_1250(file) : text);
  }
  entries[10]->clear();
  labour_rate->setText(QString::fromLatin1(calc::text_price(g->labour_rate())).trimmed());
}

// "Opis" -------------------------------------------------------------------------------------

Tfrm_opis::Tfrm_opis(view_host& host, bool compound, QWidget* parent)
    : TTabForm(parent), host_(host), compound_(compound) {
  setObjectName(compound ? "Tfrm_opis_multi" : "Tfrm_opis_simple");
  setMinimumSize(270, 141);
  auto* l = new QVBoxLayout(this);
  auto add = [&](const char* caption) {
    l->addWidget(new QLabel(QString::fromUtf8(caption), this));
    auto* m = new QPlainTextEdit(this);
    m->setReadOnly(true);
    l->addWidget(m, 1);
    return m;
  };
  edit_opis = add("Ogólna charakterystyka obiektu lub robót");
  edit_zalozenia = add("Założenia wyjściowe do kosztorysowania");
  edit_klauzula = add("Klauzula o uzgodnieniu kosztorysu");
}

void Tfrm_opis::activate(int stage) {
  TTabForm::activate(stage);
  if (stage == 0) reload();
}

void Tfrm_opis::set_shown(bool shown) {
  TTabForm::set_shown(shown);
  if (shown) reload();
}

void Tfrm_opis::values_changed() { reload(); }

void Tfrm_opis::reload() {
  const document::general_data* g = host_.general();
  document::record_source* records = host_.records();
  std::array<std::optional<std::string>, 3> parts;
  if (g && records) parts = document::read_description(*records, *g, data_chain(compound_));
  QPlainTextEdit* memos[3] = {edit_opis, edit_zalozenia, edit_klauzula};
  for (int i = 0; i < 3; ++i) memos[i]->setPlainText(parts[size_t(i)] ? from_1250(*parts[size_t(i)]) : QString());
}

} // namespace kovra::views
