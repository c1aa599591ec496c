#pragma once
// The bundled help: one HTML file next to the program, opened at a context number (the
// anchor "k<number>"; 0 is the contents).
#include <QTextBrowser>
#include <string>

namespace kovra::app {

class Tfrm_help : public QTextBrowser {
public:
  explicit Tfrm_help(QWidget* parent = nullptr);
  // False when the help file is missing.
  bool show_context(const std::string& help_file, int context);
};

// The help file of the program: "Kovra8_p.html" beside the given Windows-style help path.
std::string help_file_for(const std::string& help_path);

} // namespace kovra::app
