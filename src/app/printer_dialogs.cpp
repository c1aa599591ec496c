#include "app/printer_dialogs.h"

#include "report/printer_code_page.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovra::app {

Tdlg_choose_printer::Tdlg_choose_printer(const report::printer_definitions& defs, QWidget* parent)
    : QDialog(parent), defs_(defs) {
  setWindowTitle(QStringLiteral("Wybór drukarki"));
  makers = new QListWidget(this);
  models = new QListWidget(this);
  for (const auto& m : defs.makers) makers->addItem(QString::fromStdString(m.name));
  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("&Zrezygnuj"), this);
  auto* lists = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("Producent"), this));
  left->addWidget(makers);
  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel(QStringLiteral("Model"), this));
  right->addWidget(models);
  lists->addLayout(left);
  lists->addLayout(right);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists, 1);
  layout->addLayout(buttons);
  connect(makers, &QListWidget::currentRowChanged, this, [this](int row) {
    models->clear();
    if (row < 0 || std::size_t(row) >= defs_.makers.size()) return;
    for (const auto& m : defs_.makers[std::size_t(row)].models) models->addItem(QString::fromStdString(m.name));
    models->setCurrentRow(0);
  });
  connect(models, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(ok, &QPushButton::clicked, this, [this] {
    if (chosen()) accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  if (!defs.makers.empty()) makers->setCurrentRow(0);
  resize(560, 400);
}

const report::printer_model* Tdlg_choose_printer::chosen() const {
  const int maker = makers->currentRow(), model = models->currentRow();
  if (maker < 0 || std::size_t(maker) >= defs_.makers.size()) return nullptr;
  const auto& list = defs_.makers[std::size_t(maker)].models;
  return model >= 0 && std::size_t(model) < list.size() ? &list[std::size_t(model)] : nullptr;
}

Tdlg_printer_conf::Tdlg_printer_conf(report::printer_config& config, const report::printer_definitions* defs,
                                     std::string path, QWidget* parent)
    : QDialog(parent), config_(config), before_(config), defs_(defs), path_(std::move(path)) {
  setWindowTitle(QStringLiteral("Konfiguracja"));
  // The system's printers are the CUPS queues.
  auto* system = new QGroupBox(QStringLiteral("Drukarka domyślna"), this);
  system_printers = new QComboBox(system);
  system_details_ = new QLabel(system);
  const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
  for (const QPrinterInfo& p : printers) system_printers->addItem(p.printerName());
  system_printers->setCurrentText(QPrinterInfo::defaultPrinterName());
  auto show_details = [this, printers](int i) {
    if (i < 0 || i >= printers.size()) {
      system_details_->setText(QStringLiteral("Brak drukarek w systemie"));
      return;
    }
    system_details_->setText(QStringLiteral("Typ: %1\nMiejsce: %2").arg(printers[i].makeAndModel(), printers[i].location()));
  };
  show_details(system_printers->currentIndex());
  connect(system_printers, &QComboBox::currentIndexChanged, this, show_details);
  auto* sl = new QVBoxLayout(system);
  sl->addWidget(system_printers);
  sl->addWidget(system_details_);

  auto* chosen = new QGroupBox(QStringLiteral("Drukarka wybrana"), this);
  model = new QLabel(chosen);
  auto* change = new QPushButton(QStringLiteral("Zmień..."), chosen);
  change->setEnabled(defs_ != nullptr);
  auto* cl = new QHBoxLayout(chosen);
  cl->addWidget(model, 1);
  cl->addWidget(change);

  port = new QComboBox(this);
  for (int i = 0; i < 4; ++i) port->addItem(QString::fromUtf8(report::port_name(i)));
  letters = new QComboBox(this);
  for (int i = 0; i < report::code_page_count; ++i) {
    const std::string_view name = report::code_page_name(i);
    letters->addItem(QString::fromUtf8(name.data(), int(name.size())));
  }
  paper = new QComboBox(this);
  for (int i = 0; i < 3; ++i) paper->addItem(QString::fromUtf8(report::paper_length_name(i)));
  density = new QComboBox(this);
  for (int i = 0; i < 4; ++i) density->addItem(QString::fromUtf8(report::density_name(i)));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Port : "), port);
  form->addRow(QStringLiteral("Polskie litery : "), letters);
  form->addRow(QStringLiteral("Format papieru : "), paper);
  form->addRow(QStringLiteral("Gęstość wydruku : "), density);

  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("&Zrezygnuj"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(system);
  layout->addWidget(chosen);
  layout->addLayout(form);
  layout->addLayout(buttons);
  refresh();

  connect(change, &QPushButton::clicked, this, [this] {
    Tdlg_choose_printer choose(*defs_, this);
    if (choose.exec() == QDialog::Accepted && choose.chosen()) take_model(*choose.chosen());
  });
  connect(port, &QComboBox::activated, this, [this](int i) { config_.port = i; });
  connect(letters, &QComboBox::activated, this, [this](int i) { config_.code_page = i; });
  auto relines = [this] {
    config_.lines_per_page =
        report::compute_lines_per_page(config_.kind, config_.paper_length, config_.bottom_margin, config_.density);
  };
  connect(paper, &QComboBox::activated, this, [this, relines](int i) {
    config_.paper_length = i;
    relines();
  });
  connect(density, &QComboBox::activated, this, [this, relines](int i) {
    config_.density = i;
    relines();
  });
  connect(ok, &QPushButton::clicked, this, [this] {
    if (save()) accept();
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    config_ = before_;
    reject();
  });
}

void Tdlg_printer_conf::take_model(const report::printer_model& m) {
  if (!defs_) return;
  report::choose_printer_model(config_, m, defs_->codes_of(m));
  refresh();
}

void Tdlg_printer_conf::refresh() {
  model->setText(QString::fromStdString(config_.model_name));
  port->setCurrentIndex(config_.port);
  letters->setCurrentIndex(config_.code_page);
  paper->setCurrentIndex(config_.paper_length);
  density->setCurrentIndex(config_.density);
  // A model that fixes the Polish letters or is a cut-sheet printer fixes those choices.
  letters->setEnabled(config_.letters == report::LETTERS_CHOOSE);
  paper->setEnabled(config_.paper == report::PAPER_CHOOSE);
}

bool Tdlg_printer_conf::save() {
  if (report::write_printer_config(path_, config_)) return true;
  QMessageBox::warning(this, windowTitle(),
                       QStringLiteral("Nie można zapisać konfiguracji drukarki:\n") + QString::fromStdString(path_));
  return false;
}

} // namespace kovra::app
