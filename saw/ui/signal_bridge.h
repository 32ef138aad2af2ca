#pragma once
// SIGTERM and SIGINT brought into the event loop: the handler writes one
// byte into a socket pair, a notifier reads it and the window's end
// sequence runs as for any other close.
#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace orl {

class SignalBridge : public QObject {
  Q_OBJECT

 public:
  explicit SignalBridge(QObject* parent = nullptr);
  ~SignalBridge() override;

 signals:
  void terminationRequested();

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace orl
