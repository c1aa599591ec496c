#pragma once
// The text printer's dialogs: "Konfiguracja" over prnconf.cfg (the system's printers, the
// chosen model, port, Polish letters, paper and density) and "Wybór drukarki" picking a model
// of printer.dat by manufacturer.
#include "report/printer_config.h"
#include "report/printer_dat.h"

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QListWidget;

namespace kovra::app {

class Tdlg_choose_printer : public QDialog {
  Q_OBJECT
 public:
  Tdlg_choose_printer(const report::printer_definitions& defs, QWidget* parent = nullptr);
  QListWidget* makers = nullptr;
  QListWidget* models = nullptr;
  // The model selected (nullptr when none).
  const report::printer_model* chosen() const;

 private:
  const report::printer_definitions& defs_;
};

class Tdlg_printer_conf : public QDialog {
  Q_OBJECT
 public:
  // Edits `config`; "&OK" writes it to `path`, "&Zrezygnuj" puts it back as it was.
  Tdlg_printer_conf(report::printer_config& config, const report::printer_definitions* defs, std::string path,
                    QWidget* parent = nullptr);
  QComboBox* system_printers = nullptr;
  QComboBox* port = nullptr;
  QComboBox* letters = nullptr;
  QComboBox* paper = nullptr;
  QComboBox* density = nullptr;
  QLabel* model = nullptr;
  // Takes a model as the chooser would.
  void take_model(const report::printer_model& m);
  // "&OK": false when the file could not be written (the reason shown).
  bool save();

 private:
  void refresh();
  report::printer_config& config_;
  report::printer_config before_;
  const report::printer_definitions* defs_;
  std::string path_;
  QLabel* system_details_ = nullptr;
};

} // namespace kovra::app
