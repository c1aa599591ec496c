#pragma once
// The main window's printing: the configuration dialog over an estimate's print settings, and
// printing or previewing with them (graphic to a printer or PDF, text to a file or a printer).
#include "printouts/print_document.h"

#include <QPageLayout>
#include <QString>

#include <functional>

#include <map>
#include <optional>
#include <vector>

class QWidget;

namespace kovra::app {

// The folder of the title-page templates (strtyt.docx, strtyt.odt): the program's own folder
// (they are copied there at build time) or a data/ folder near it; empty when none is found.
QString title_template_folder();

// The state of a CUPS queue before printing: 0 ready, 3 offline, 2 paused (stopped), 4 any
// other problem (the queue unknown included).
int printer_status(const std::string& queue);

// The print settings of this session: each estimate's block as the dialog left it (kept in
// memory until the program ends) and the system printer chosen in "Ustawienia wydruku".
struct print_session {
  std::map<std::string, std::vector<uint8_t>> blocks;  // by estimate path
  QString printer_name;                                // empty: the system's default
  std::optional<QPageLayout> layout;
};
print_session& current_print_session();
void reset_print_session();

// "Ustawienia wydruku" (graphic): the system printer and its page through Qt's dialogs.
void graphic_printer_setup(QWidget* parent);

// Prints (or previews) `doc` with its block's settings. False with the reason shown to the user.
bool print_with_settings(QWidget* parent, printouts::print_document& doc, bool preview);

// "Konfiguracja wydruku" over the estimate `path`; true when closed with "OK". The dialog
// works on a print copy of the file, so the open window's method, overhead mode and UPZP
// regime stay as they were; `recalculate` (the open window's) runs when the dialog closes,
// whatever the button, so the window shows its values recalculated as after any print.
bool configure_print(QWidget* parent, const std::string& path, const std::function<void()>& recalculate = {});

} // namespace kovra::app
