#pragma once
// "Wskaźniki kosztów zakupu dla..." (Tdlg_set_kz): the two purchase-cost rates of an
// estimate, or of a compound estimate and each of its chapters: of the other-materials items
// computed from labour, and of the materials of simplified positions. "&OK" stores them.
#include <QDialog>
#include <QString>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace kovra::document {
struct estimate_doc;
struct general_data;
}

namespace kovra::views {

struct kz_rates_item {
  QString name;
  document::general_data* general = nullptr;
};

// "Kosztorys", then each chapter of a compound estimate by its caption.
std::vector<kz_rates_item> kz_rates_items(document::estimate_doc& doc);

class Tdlg_set_kz : public QDialog {
public:
  explicit Tdlg_set_kz(std::vector<kz_rates_item> items, QWidget* parent = nullptr);

  QListWidget* list() const { return list_; }
  QLineEdit* other_edit() const { return other_; }
  QLineEdit* simplified_edit() const { return simplified_; }
  QPushButton* set_all_button() const { return set_all_; }
  // Copies the selected item's two values to every item.
  void set_all();
  // Stores every item's values into its general data.
  void store();

private:
  void take_edits();
  void show_item(int i);
  std::vector<kz_rates_item> items_;
  std::vector<std::pair<double, double>> rates_;  // other, simplified
  int shown_ = -1;
  QListWidget* list_ = nullptr;
  QLineEdit* other_ = nullptr;
  QLineEdit* simplified_ = nullptr;
  QPushButton* set_all_ = nullptr;
};

// A rate as its field shows it ("%" text of two decimals, the user's separator), and the
// value of a field's text (0 when there is none).
QString kz_rate_text(double rate);
double kz_rate_value(const QString& text);

} // namespace kovra::views
