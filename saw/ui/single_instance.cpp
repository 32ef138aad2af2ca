#include "saw/ui/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>

namespace orl {
namespace {

constexpr int kConnectTimeoutMs = 1000;
const QByteArray kRaiseRequest = "raise\n";

// One saw, one name: a symbolic link, "..", "." or a trailing separator
// names the same folder. A folder that does not exist has no canonical
// path; its cleaned absolute path stands for it.
QString SawKey(const QString& settingsFolder) {
  const QString canonical = QFileInfo(settingsFolder).canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(QDir(settingsFolder).absolutePath()) : canonical;
}

}  // namespace

SingleInstance::SingleInstance(const QString& settingsFolder, QObject* parent) : QObject(parent) {
  const QByteArray folderHash = QCryptographicHash::hash(QFile::encodeName(SawKey(settingsFolder)), QCryptographicHash::Sha1).toHex().left(16);
  name_ = QString("orl-%1-%2").arg(::getuid()).arg(QString::fromLatin1(folderHash));
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* peer = server_.nextPendingConnection()) {
      connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
        if (peer->readAll().contains(kRaiseRequest.trimmed())) emit raiseRequested();
        peer->disconnectFromServer();
      });
      connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
    }
  });
}

bool SingleInstance::AskRunningInstance() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(kRaiseRequest);
  socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.waitForDisconnected(kConnectTimeoutMs);
  return true;
}

bool SingleInstance::Claim() {
  if (AskRunningInstance()) return false;
  if (server_.listen(name_)) return true;
  // Nobody answered: the socket file was left by a program that crashed.
  QLocalServer::removeServer(name_);
  return server_.listen(name_);
}

}  // namespace orl
