#include "app/chapter_locator.h"

#include "app/open_dialog.h"

namespace kovra::app {

std::optional<std::string> chapter_locator::choose(const std::string& start_folder) {
  KVR_OpenDialog dialog(parent_, QString::fromStdString(start_folder));
  dialog.setObjectName("chapter_locator");
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return files.first().toStdString();
}

} // namespace kovra::app
