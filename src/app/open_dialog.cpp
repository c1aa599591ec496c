#include "app/open_dialog.h"

#include "shell/messages.h"
#include "store/codepage.h"
#include "store/file_header.h"
#include "store/open_files.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace kovra::app {

int open_file_type(const std::string& path) {
  static const char* extensions[] = {".kvr", ".dkv", ".rcn", ".mcn", ".scn", ".ucn", ".xcn",
                                     ".rds", ".ath", ".kst", ".xml", ".gm",  ".gtm"};
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  for (int i = 0; i < 13; ++i)
    if (ext == extensions[i]) return i + 1;
  return 0;
}

std::string header_version_text(int version, int revision) {
  switch (version) {
  case 350: return "3.x";
  case 360: return "4.x";
  case 400: return "5.x";
  case 650: return "6.5x";
  default: return std::to_string(version / 100) + "." + std::to_string(revision);
  }
}

std::pair<std::string, std::string> open_dialog_lines(const std::string& path) {
  const int type = open_file_type(path);
  std::error_code ec;
  if (!(type == 1 || (type >= 3 && type <= 7)) || !std::filesystem::is_regular_file(path, ec)) return {};
  std::ifstream f(path, std::ios::binary);
  uint8_t raw[store::file_header_size];
  if (!f.read(reinterpret_cast<char*>(raw), sizeof raw)) return {};
  const store::file_header h = store::decode_file_header(raw);
  if (!h.magic_ok() || h.file_type > 44) return {};
  std::string label(h.label.data(), strnlen(h.label.data(), h.label.size()));
  std::string kind;
  switch (h.file_type) {
  case 2:
    kind = "Kosztorys v" + header_version_text(h.version, h.revision) + (h.kind() == 2 ? " złożony" : " prosty");
    break;
  case 20: kind = "Cennik uproszczony"; break;
  case 42: kind = "Cennik scalony"; break;
  case 3:
    kind = type == 3 ? "Cennik robocizny" : type == 4 ? "Cennik materiałów" : type == 5 ? "Cennik sprzętu"
                                                                                     : "Nieznany rodzaj cennika";
    break;
  default: break;
  }
  return {store::mazovia_to_utf8(label), kind};
}

KVR_OpenDialog::KVR_OpenDialog(QWidget* parent, const QString& folder)
    : QFileDialog(parent, "Otwórz", folder, "Kosztorysy Kovra (*.kvr)") {
  setObjectName("KVR_OpenDialog");
  setOption(QFileDialog::DontUseNativeDialog);
  setFileMode(QFileDialog::ExistingFile);
  setAcceptMode(QFileDialog::AcceptOpen);
  setDefaultSuffix("kvr");
  line1 = new QLabel(this);
  line2 = new QLabel(this);
  line1->setObjectName("line1");
  line2->setObjectName("line2");
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    const int row = grid->rowCount();
    grid->addWidget(line1, row, 0, 1, grid->columnCount());
    grid->addWidget(line2, row + 1, 0, 1, grid->columnCount());
  }
  auto show_lines = [this](const QString& path) {
    auto [a, b] = open_dialog_lines(path.toStdString());
    line1->setText(QString::fromStdString(a));
    line2->setText(QString::fromStdString(b));
  };
  connect(this, &QFileDialog::currentChanged, this, show_lines);
  // The lines follow the selection, whether the user or the program made it.
  for (QAbstractItemView* view : findChildren<QAbstractItemView*>())
    if (view->selectionModel())
      connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, show_lines] {
        const QStringList files = selectedFiles();
        show_lines(files.isEmpty() ? QString() : files.first());
      });
  connect(this, &QFileDialog::directoryEntered, this, [this] {
    line1->clear();
    line2->clear();
  });
}

void KVR_OpenDialog::accept() {
  const QStringList files = selectedFiles();
  if (!files.isEmpty()) {
    const std::string path = files.first().toStdString();
    // A file this program already has open cannot be opened a second time.
    if (open_file_type(path) != 11 && store::find_open_file(path) >= 0) {
      shell::msg_box_screen(81, path.c_str());
      return;
    }
  }
  QFileDialog::accept();
}

} // namespace kovra::app
