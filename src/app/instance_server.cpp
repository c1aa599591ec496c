#include "app/instance_server.h"

#include "shell/command_line.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <unistd.h>

namespace kovra::app {

QString instance_socket_name(const std::string& runtime_folder) {
  QString folder = QString::fromStdString(runtime_folder);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::tempPath();
  return QDir(folder).filePath(QString("kovra-%1.sock").arg(::getuid()));
}

bool forward_to_running(const QString& socket, const std::vector<std::string>& files, int timeout_ms) {
  QLocalSocket s;
  s.connectToServer(socket);
  if (!s.waitForConnected(timeout_ms)) return false;
  for (const std::string& f : files) {
    const std::string path = QFileInfo(QString::fromStdString(f)).absoluteFilePath().toStdString();
    s.write(QByteArray::fromStdString(shell::open_command_text(path) + "\n"));
    if (!s.waitForBytesWritten(timeout_ms)) return false;
    // The acknowledgement: the request was taken.
    while (!s.canReadLine())
      if (!s.waitForReadyRead(timeout_ms)) return false;
    s.readLine();
  }
  s.disconnectFromServer();
  return true;
}

instance_server::instance_server(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* c = server_->nextPendingConnection()) {
      connect(c, &QLocalSocket::disconnected, c, &QObject::deleteLater);
      connect(c, &QLocalSocket::readyRead, this, [this, c] {
        // Every request is taken and acknowledged first: opening a window runs dialogs,
        // during which the client may go and its socket with it.
        std::vector<std::string> commands;
        while (c->canReadLine()) {
          commands.push_back(c->readLine().trimmed().toStdString());
          c->write("ok\n");
        }
        c->flush();
        for (const std::string& command : commands)
          if (on_command) on_command(command);
      });
    }
  });
}

bool instance_server::listen(const QString& socket) {
  // Someone answering is a running program: never cut it off (listening with access
  // options would silently put our socket in its place).
  QLocalSocket probe;
  probe.connectToServer(socket);
  if (probe.waitForConnected(500)) return false;
  if (QFileInfo::exists(socket) || QFileInfo(socket).isSymLink()) {
    QLocalServer::removeServer(socket);
    replaced_stale_ = true;
  }
  return server_->listen(socket);
}

bool refresh_desktop_databases(const std::string& data_folder) {
  const QString base = QString::fromStdString(data_folder);
  bool any = false;
  const QString mime = QStandardPaths::findExecutable("update-mime-database");
  if (!mime.isEmpty()) any |= QProcess::startDetached(mime, {QDir(base).filePath("mime")});
  const QString desktop = QStandardPaths::findExecutable("update-desktop-database");
  if (!desktop.isEmpty()) any |= QProcess::startDetached(desktop, {QDir(base).filePath("applications")});
  return any;
}

} // namespace kovra::app
