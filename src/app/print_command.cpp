#include "app/print_command.h"

#include "app/print_config_dialog.h"
#include "app/print_preview.h"
#include "app/text_preview.h"
#include "printouts/print_dispatcher.h"
#include "printouts/print_options.h"

#include "shell/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinterInfo>

#include <cups/cups.h>

#include <cstdlib>
#include <cstring>

namespace kovra::app {
namespace {

void failed(QWidget* parent, const std::string& why) {
  QMessageBox::warning(parent, QStringLiteral("Wydruk"),
                       QStringLiteral("Drukownie nie powiodło się !") +
                           (why.empty() ? QString() : QStringLiteral("\n") + QString::fromStdString(why)));
}

QString ask_output(QWidget* parent, const printouts::print_document& doc, const QString& ext, const QString& filter) {
  const QFileInfo est(QString::fromStdString(doc.path));
  return QFileDialog::getSaveFileName(parent, QStringLiteral("Zapisz wydruk"),
                                      est.absolutePath() + "/" + est.completeBaseName() + ext, filter);
}

} // namespace

print_session& current_print_session() {
  static print_session session;
  return session;
}

void reset_print_session() { current_print_session() = print_session{}; }

namespace {

// A printer set as the session chose (a queue that has gone falls back to the default).
void apply_session(QPrinter& printer) {
  const print_session& s = current_print_session();
  if (!s.printer_name.isEmpty() && QPrinterInfo::availablePrinterNames().contains(s.printer_name))
    printer.setPrinterName(s.printer_name);
  if (s.layout) printer.setPageLayout(*s.layout);
}

} // namespace

void graphic_printer_setup(QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  apply_session(printer);
  QPrintDialog choose(&printer, parent);
  choose.setWindowTitle(QStringLiteral("Ustawienia wydruku"));
  if (choose.exec() != QDialog::Accepted) return;
  if (QPageSetupDialog(&printer, parent).exec() != QDialog::Accepted) return;
  current_print_session().printer_name = printer.printerName();
  current_print_session().layout = printer.pageLayout();
}

int printer_status(const std::string& queue) {
  cups_dest_t* dests = nullptr;
  const int n = cupsGetDests(&dests);
  const cups_dest_t* d = cupsGetDest(queue.c_str(), nullptr, n, dests);
  int status = 4;
  if (d) {
    const char* state = cupsGetOption("printer-state", d->num_options, d->options);
    const char* reasons = cupsGetOption("printer-state-reasons", d->num_options, d->options);
    if (reasons && std::strstr(reasons, "offline")) status = 3;
    else if (state && std::atoi(state) == IPP_PSTATE_STOPPED) status = 2;
    else status = 0;
  }
  cupsFreeDests(n, dests);
  return status;
}

QString title_template_folder() {
  const QString exe = QCoreApplication::applicationDirPath();
  for (const QString& rel : {QStringLiteral("."), QStringLiteral("data"), QStringLiteral("../data"), QStringLiteral("../share/kovra"),
                             QStringLiteral("../../data"), QStringLiteral("../../../data")}) {
    const QString dir = QDir(exe).absoluteFilePath(rel);
    if (QFileInfo(dir + "/strtyt.docx").isFile() || QFileInfo(dir + "/strtyt.odt").isFile()) return QDir::cleanPath(dir);
  }
  return {};
}

bool print_with_settings(QWidget* parent, printouts::print_document& doc, bool preview) {
  const std::vector<int> parts = printouts::parts_to_print(doc.block.data(), doc.compound, {});
  const printouts::device_options dev = printouts::read_device_options(doc.block.data());
  std::string error;
  if (dev.text_mode) {
    printouts::text_print_options opts;
    opts.temp_folder = QDir::tempPath().toStdString();
    if (preview) {
      const printouts::page_range range = printouts::page_range_of(dev);
      opts.preview = [&](const std::string& spool) {
        return preview_text(parent, spool, dev.first_page_number, range.first, range.last);
      };
    }
    if (dev.device == printouts::print_device::printer) {
      opts.format = printouts::text_format::printer_codes;
      const QString queue = QPrinterInfo::defaultPrinterName();
      if (queue.isEmpty()) {
        failed(parent, "brak drukarki");
        return false;
      }
      const std::string spool = QDir::temp().filePath("kovra_text.prn").toStdString();
      error = printouts::print_text(doc, parts, opts, spool, queue.toStdString());
    } else {
      opts.format = dev.file_type == printouts::text_file_type::windows ? printouts::text_format::windows
                    : dev.file_type == printouts::text_file_type::mazovia ? printouts::text_format::plain
                                                                          : printouts::text_format::utf8;
      const QString out = ask_output(parent, doc, ".txt", QStringLiteral("Tekst (*.txt *.prn)"));
      if (out.isEmpty()) return false;
      error = printouts::print_text(doc, parts, opts, out.toStdString());
    }
  } else if (dev.device == printouts::print_device::pdf && !preview) {
    const QString out = ask_output(parent, doc, ".pdf", QStringLiteral("PDF (*.pdf)"));
    if (out.isEmpty()) return false;
    error = printouts::print_pdf(doc, parts, out.toStdString());
  } else {
    QPrinter printer(QPrinter::HighResolution);
    apply_session(printer);
    if (dev.device != printouts::print_device::printer || QPrinterInfo::availablePrinterNames().isEmpty()) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QFileInfo(QString::fromStdString(doc.path)).absolutePath() + "/" +
                                QFileInfo(QString::fromStdString(doc.path)).completeBaseName() + ".pdf");
    }
    rp_preview_setup setup;
    const printouts::page_range range = printouts::page_range_of(dev);
    setup.first_page_number = dev.first_page_number;
    setup.first = range.first - dev.first_page_number + 1;
    setup.last = range.last - dev.first_page_number + 1;
    setup.copies = dev.copies;
    setup.title = QStringLiteral("Wydruk kosztorysu");
    if (printer.outputFormat() == QPrinter::NativeFormat) {
      const std::string name = printer.printerName().toStdString();
      setup.printer_check = [name] { return printer_status(name); };
      setup.check_failed = [name](int status) { shell::msg_box(status == 3 ? 166 : status == 2 ? 165 : 167, name.c_str()); };
    }
    QString why;
    const bool ok = show_report(
        parent, printer,
        [&](QPaintDevice& device, const QSize& page, const report::page_observer& observer) {
          return printouts::record_graphic(doc, parts, device, page, observer);
        },
        setup, preview, &why);
    if (!ok) error = why.isEmpty() ? std::string("the page range holds no page of the printout") : why.toStdString();
  }
  if (!error.empty()) {
    failed(parent, error);
    return false;
  }
  return true;
}

bool configure_print(QWidget* parent, const std::string& path, const std::function<void()>& recalculate) {
  printouts::print_document doc;
  std::string error;
  if (!printouts::open_print_document(path, doc, error)) {
    failed(parent, error);
    return false;
  }
  // The settings as the dialog left them earlier in this session.
  auto& blocks = current_print_session().blocks;
  if (auto it = blocks.find(path); it != blocks.end() && it->second.size() == doc.block.size()) doc.block = it->second;
  Tdlg_print_config dialog(doc, parent);
  dialog.template_folder = title_template_folder();
  dialog.on_print = [&](bool preview) { print_with_settings(&dialog, doc, preview); };
  const bool ok = dialog.exec() == QDialog::Accepted;
  blocks[path] = doc.block;
  if (recalculate) recalculate();
  return ok;
}

} // namespace kovra::app
