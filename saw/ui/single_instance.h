#pragma once
// One running program per user and settings folder, the folder known by
// its resolved path (symbolic links followed), so every path to one saw's
// settings leads to the one window that drives its PLC. The first start
// listens on a local socket; a second start connects, asks the first to
// come to the front, and ends without opening the PLC port.
#include <QLocalServer>
#include <QObject>
#include <QString>

namespace orl {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstance(const QString& settingsFolder, QObject* parent = nullptr);

  // True when this is the only instance (it now listens); false when
  // another one answered and was asked to come to the front.
  bool Claim();

  const QString& Name() const { return name_; }

 signals:
  void raiseRequested();

 private:
  bool AskRunningInstance();

  QString name_;
  QLocalServer server_;
};

}  // namespace orl
