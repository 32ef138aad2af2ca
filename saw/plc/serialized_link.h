#pragma once
// A PLC link shared by two threads: the worker that runs a tick's transfer
// and the thread that drives the scan cycle (the desktop program's window),
// which asks whether the link is open before it plans a transfer and closes
// it at the end. Every call passes to the real link under one lock, so the
// two never meet inside libmodbus.
#include <memory>
#include <mutex>

#include "saw/plc/plc_link.h"

namespace orl {

class SerializedLink final : public PlcLink {
  template <typename Call>
  auto Locked(Call&& call) const -> decltype(call()) {
    std::lock_guard lock(mutex_);
    return call();
  }

 public:
  explicit SerializedLink(std::unique_ptr<PlcLink> inner) : inner_(std::move(inner)) {
    PlcLink::SetPortNumber(inner_->PortNumber());
    PlcLink::SetSettings(inner_->Settings());
  }

  void SetPortNumber(int port) override {
    Locked([&] { inner_->SetPortNumber(port); });
    PlcLink::SetPortNumber(port);
  }
  void SetSettings(const std::string& settings) override {
    Locked([&] { inner_->SetSettings(settings); });
    PlcLink::SetSettings(settings);
  }
  bool Open() override { return Locked([&] { return inner_->Open(); }); }
  void Close() override { Locked([&] { inner_->Close(); }); }
  bool LinkOpen() const override { return Locked([&] { return inner_->LinkOpen(); }); }
  bool LinkBusy() const override { return Locked([&] { return inner_->LinkBusy(); }); }
  void BeginTransfer() override { Locked([&] { inner_->BeginTransfer(); }); }
  void EndTransfer() override { Locked([&] { inner_->EndTransfer(); }); }
  int ReadWords(int address, PlcWords2& buffer, int count) override {
    return Locked([&] { return inner_->ReadWords(address, buffer, count); });
  }
  int WriteWords(int address, std::int32_t value) override {
    return Locked([&] { return inner_->WriteWords(address, value); });
  }
  int WriteWords(int address, const PlcWords4& words, int count) override {
    return Locked([&] { return inner_->WriteWords(address, words, count); });
  }

  // The connection's state, which the transfer logs and uses to read the
  // images afresh after the PLC may have restarted.
  LinkHealth Health() const override { return Locked([&] { return inner_->Health(); }); }
  std::uint64_t Connection() const override { return Locked([&] { return inner_->Connection(); }); }
  std::string LastError() const override { return Locked([&] { return inner_->LastError(); }); }

  PlcLink& Inner() { return *inner_; }

 private:
  std::unique_ptr<PlcLink> inner_;
  mutable std::mutex mutex_;
};

}  // namespace orl
