#pragma once
// The open dialog in which the user finds a moved external chapter of a compound estimate:
// the program's estimate-file dialog, starting in the folder the chapter was in.
#include "document/chapter_open.h"

class QWidget;

namespace kovra::app {

class chapter_locator : public document::chapter_file_chooser {
public:
  explicit chapter_locator(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> choose(const std::string& start_folder) override;

private:
  QWidget* parent_;
};

} // namespace kovra::app
