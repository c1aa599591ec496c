#include "views/kz_rates_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "calc/number_text.h"
#include "calc/rounding.h"
#include "document/compound_nodes.h"
#include "document/estimate_doc.h"
#include "document/estimate_nodes.h"
#include "document/general_data.h"
#include "views/summary_rows.h"

namespace kovra::views {

QString kz_rate_text(double rate) { return trimmed(calc::text_percent(rate, 7)); }

double kz_rate_value(const QString& text) {
  QString t = text.trimmed();
  t.replace(',', '.');
  bool ok = false;
  const double v = t.toDouble(&ok);
  return ok ? v : 0;
}

std::vector<kz_rates_item> kz_rates_items(document::estimate_doc& doc) {
  std::vector<kz_rates_item> items{{"Kosztorys", &doc.general}};
  if (!doc.tree || !doc.tree->first) return items;
  for (document::Smp_Node* n = doc.tree->first->first_child; n; n = n->next) {
    auto* b = static_cast<document::Base_Node*>(n);
    if (b->kind != document::KIND_CHAPTER) continue;
    if (document::chapter_document* c = static_cast<document::Rozdz_Node*>(b)->chapter())
      items.push_back({screen_text(b->caption()), &c->general()});
  }
  return items;
}

Tdlg_set_kz::Tdlg_set_kz(std::vector<kz_rates_item> items, QWidget* parent) : QDialog(parent), items_(std::move(items)) {
  setObjectName("Tdlg_set_kz");
  setWindowTitle("Wskaźniki kosztów zakupu dla...");
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  for (const kz_rates_item& i : items_) {
    list_->addItem(i.name);
    rates_.emplace_back(i.general ? i.general->kz_rate_other() : 0, i.general ? i.general->kz_rate_simplified() : 0);
  }
  layout->addWidget(list_, 1);
  auto* form = new QFormLayout;
  auto* chars = new QRegularExpressionValidator(QRegularExpression("[0123456789,.-]*"), this);
  other_ = new QLineEdit(this);
  simplified_ = new QLineEdit(this);
  other_->setValidator(chars);
  simplified_->setValidator(chars);
  form->addRow("... materiałów pomocniczych od Robocizny: ", other_);
  form->addRow("... materiałów z Pozycji uproszczonych: ", simplified_);
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(this);
  // One estimate alone has nothing to set "all" of.
  set_all_ = new QPushButton("&Ustaw wszystkie", this);
  if (items_.size() > 1) buttons->addButton(set_all_, QDialogButtonBox::ActionRole);
  else set_all_->hide();
  QPushButton* ok = buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
  buttons->addButton("&Zrezygnuj", QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  connect(set_all_, &QPushButton::clicked, this, [this] { set_all(); });
  connect(ok, &QPushButton::clicked, this, [this] {
    store();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    take_edits();
    show_item(row);
  });
  list_->setCurrentRow(0);
}

void Tdlg_set_kz::take_edits() {
  if (shown_ < 0 || shown_ >= int(rates_.size())) return;
  rates_[size_t(shown_)] = {kz_rate_value(other_->text()), kz_rate_value(simplified_->text())};
}

void Tdlg_set_kz::show_item(int i) {
  shown_ = i;
  if (i < 0 || i >= int(rates_.size())) return;
  other_->setText(kz_rate_text(rates_[size_t(i)].first));
  simplified_->setText(kz_rate_text(rates_[size_t(i)].second));
}

void Tdlg_set_kz::set_all() {
  take_edits();
  if (shown_ < 0) return;
  const auto chosen = rates_[size_t(shown_)];
  for (auto& r : rates_) r = chosen;
}

void Tdlg_set_kz::store() {
  take_edits();
  for (size_t i = 0; i < items_.size(); ++i) {
    if (!items_[i].general) continue;
    items_[i].general->set_kz_rate_other(float(rates_[i].first));
    items_[i].general->set_kz_rate_simplified(float(rates_[i].second));
  }
}

} // namespace kovra::views
