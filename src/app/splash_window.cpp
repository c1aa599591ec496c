#include "app/splash_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kovra::app {

Tdlg_winieta::Tdlg_winieta(QWidget* parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName("Tdlg_winieta");
  auto* title = new QLabel("<b>Kovra - kosztorys</b>", this);
  title->setAlignment(Qt::AlignCenter);
  lbl_text = new QLabel(this);
  lbl_text->setAlignment(Qt::AlignCenter);
  bar = new QProgressBar(this);
  bar->setRange(0, 10);
  bar->setTextVisible(false);
  auto* l = new QVBoxLayout(this);
  l->setContentsMargins(24, 18, 24, 18);
  l->addWidget(title);
  l->addWidget(lbl_text);
  l->addWidget(bar);
  setFixedSize(360, 120);
}

void Tdlg_winieta::show_step(const QString& text, int step) {
  lbl_text->setText(text);
  bar->setValue(step);
  if (!isVisible()) show();
  QCoreApplication::processEvents();
}

} // namespace kovra::app
