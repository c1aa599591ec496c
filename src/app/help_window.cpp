#include "app/help_window.h"

#include <QFileInfo>
#include <QUrl>
#include <filesystem>

namespace kovra::app {

Tfrm_help::Tfrm_help(QWidget* parent) : QTextBrowser(parent) {
  setObjectName("Tfrm_help");
  setWindowFlag(Qt::Window);
  setWindowTitle("Kovra - pomoc");
  setOpenExternalLinks(true);
  resize(640, 480);
}

bool Tfrm_help::show_context(const std::string& help_file, int context) {
  const QString file = QString::fromStdString(help_file);
  if (!QFileInfo::exists(file)) return false;
  QUrl url = QUrl::fromLocalFile(file);
  if (context > 0) url.setFragment(QString("k%1").arg(context));
  setSource(url);
  if (context > 0) scrollToAnchor(url.fragment());
  show();
  raise();
  return true;
}

std::string help_file_for(const std::string& help_path) {
  return std::filesystem::path(help_path).replace_extension(".html").string();
}

} // namespace kovra::app
