#pragma once
// KVR_OpenDialog: the open dialog for one existing estimate, with two lines under the file
// list telling what the selected file is (from its container header).
#include <QFileDialog>
#include <string>
#include <utility>

class QLabel;

namespace kovra::app {

// File types by extension (case-insensitive): ".kvr" 1, ".dkv" 2, ".rcn" 3, ".mcn" 4,
// ".scn" 5, ".ucn" 6, ".xcn" 7, ".rds" 8, ".ath" 9, ".kst" 10, ".xml" 11, ".gm" 12,
// ".gtm" 13; 0 for any other.
int open_file_type(const std::string& path);

// The two lines for a selected file (UTF-8): its header's label and its kind; both empty
// for a folder, a file without a readable header or a type whose header is not shown.
std::pair<std::string, std::string> open_dialog_lines(const std::string& path);

// The version text of an estimate header: "3.x", "4.x", "5.x", "6.5x" for 350, 360, 400,
// 650, else version / 100, ".", revision.
std::string header_version_text(int version, int revision);

class KVR_OpenDialog : public QFileDialog {
public:
  KVR_OpenDialog(QWidget* parent, const QString& folder);
  QLabel* line1;
  QLabel* line2;

  void accept() override;
};

} // namespace kovra::app
