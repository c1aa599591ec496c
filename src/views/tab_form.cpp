#include "views/tab_form.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kovra::views {

TTabForm::TTabForm(QWidget* parent) : QWidget(parent) { setVisible(false); }

void TTabForm::host(QWidget* parent, bool visible) {
  setParent(parent);
  setEnabled(parent != nullptr);
  if (parent) {
    if (!parent->layout()) {
      auto* l = new QVBoxLayout(parent);
      l->setContentsMargins(0, 0, 0, 0);
    }
    parent->layout()->addWidget(this);
  }
  setVisible(visible);
}

Tfrm_pending_view::Tfrm_pending_view(const QString& view_class, const QString& caption, QWidget* parent)
    : TTabForm(parent) {
  setObjectName(view_class);
  auto* l = new QVBoxLayout(this);
  auto* text = new QLabel(QString("Strona \u201e%1\u201d nie jest jeszcze dostępna w tej wersji programu.").arg(caption),
                          this);
  text->setAlignment(Qt::AlignCenter);
  text->setWordWrap(true);
  l->addWidget(text);
}

} // namespace kovra::views
