#pragma once
// The descriptive pages of an estimate: "Dane ogólne" (dates, names, addresses, authors,
// units and the purchase-cost rate), "Cenniki" (the price lists it refers to and the labour
// rate) and "Opis" (its three description texts). Each exists for a simple estimate (or one
// constituent) and for the compound level; all are read-only.
#include "views/tab_form.h"

#include <QDate>
#include <QString>
#include <string>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace kovra::controls {
class VL_std_grid;
}
namespace kovra::document {
struct general_data;
}

namespace kovra::views {

class view_host;
class Tfrm_cpv;

// The stored date "yymmdd": day and month checked (1–31, 1–12), years below 60 in 2000s.
// An invalid date gives `today` with invalid set.
QDate parse_date(const std::string& yymmdd, const QDate& today, bool& invalid);
std::string format_date(const QDate& date);
// Whether the estimate has a date: a zero date ("0000...") never; otherwise by date_state
// (1 yes, 2 no), and for older files (0) by the text not being empty.
bool has_date(const document::general_data& g);
// The date the page shows, repairing the stored one in memory as the page does: an empty
// date becomes today (state 1), a set but invalid one the date shown.
QDate shown_date(document::general_data& g, const QDate& today, bool& no_date);

class Tfrm_dane_ogolne : public TTabForm {
public:
  Tfrm_dane_ogolne(view_host& host, bool compound, QWidget* parent = nullptr);
  void activate(int stage) override;
  void set_shown(bool shown) override;
  void values_changed() override;
  void refresh();

  QDateEdit* date = nullptr;
  QCheckBox* no_date = nullptr;
  QPlainTextEdit *memo_gd_name = nullptr, *memo_gd_autor = nullptr, *memo_gd_inwestor = nullptr,
                 *memo_gd_obiekt = nullptr, *memo_gd_budowa = nullptr;
  QLineEdit *units = nullptr, *purchase_cost = nullptr;
  QLabel* location = nullptr;
  controls::VL_std_grid* authors = nullptr;
  Tfrm_cpv* cpv = nullptr;  // the "Kod" tab: the estimate's own codes

private:
  view_host& host_;
  bool compound_;
};

class Tfrm_cen3 : public TTabForm {
public:
  Tfrm_cen3(view_host& host, bool compound, QWidget* parent = nullptr);
  void set_shown(bool shown) override;
  void values_changed() override;
  void refresh();

  // 0–2 labour, 3–5 materials, 6–8 equipment, 9 simplified, 10 merged (always empty).
  QLineEdit* entries[11] = {};
  QLineEdit* labour_rate = nullptr;

private:
  view_host& host_;
  bool compound_;
};

class Tfrm_opis : public TTabForm {
public:
  Tfrm_opis(view_host& host, bool compound, QWidget* parent = nullptr);
  void activate(int stage) override;
  void set_shown(bool shown) override;
  void values_changed() override;
  void reload();

  QPlainTextEdit *edit_opis = nullptr, *edit_zalozenia = nullptr, *edit_klauzula = nullptr;

private:
  view_host& host_;
  bool compound_;
};

} // namespace kovra::views
