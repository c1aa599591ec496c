#pragma once
// One running program per user: the first start listens on a local socket of the user's;
// a later start given files sends each as an open request ([open("path")]) and ends. The
// desktop association goes through the same path (Exec=kovra %f).
#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QLocalServer;

namespace kovra::app {

// The socket of this user: in the runtime folder (XDG_RUNTIME_DIR) when there is one, else
// in the temporary folder.
QString instance_socket_name(const std::string& runtime_folder);

// Sends one open request per file to a running program and waits for each to be taken.
// False when nobody answers (no program runs, or only its stale socket is left).
bool forward_to_running(const QString& socket, const std::vector<std::string>& files, int timeout_ms = 2000);

class instance_server : public QObject {
public:
  explicit instance_server(QObject* parent = nullptr);
  // Listens on `socket`. A socket that answers belongs to a running program and is left
  // alone (false); one nobody answers was left by a crash and is replaced.
  bool listen(const QString& socket);
  bool replaced_stale() const { return replaced_stale_; }
  // Each request as it arrives (on the event loop).
  std::function<void(const std::string& command)> on_command;

private:
  QLocalServer* server_;
  bool replaced_stale_ = false;
};

// After the desktop association was written: the desktop's databases refreshed, when their
// tools exist (update-mime-database, update-desktop-database); false when neither exists.
bool refresh_desktop_databases(const std::string& data_folder);

} // namespace kovra::app
