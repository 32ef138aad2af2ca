#pragma once
// The communication control as the engine relies on it: a port number and
// line settings set before the port opens, an open flag, a busy flag, a
// two-word read and the one-word and four-word writes. Addresses are the
// PLC's own address digits (40400, 2000, ...); every transfer answers 0 on
// failure. A transfer may also throw; callers absorb that (see Attempt).
#include <array>
#include <cstdint>
#include <string>

namespace orl {

using PlcWords2 = std::array<std::int32_t, 2>;
using PlcWords4 = std::array<std::int32_t, 4>;

// The connection as the last transfer left it, for the communication log.
struct LinkHealth {
  bool lost = false;                // the connection is down and could not be made again
  bool reconnectAttempted = false;  // this transfer tried to make it again
};

class PlcLink {
 public:
  virtual ~PlcLink() = default;

  virtual void SetPortNumber(int port) { portNumber_ = port; }
  int PortNumber() const { return portNumber_; }
  virtual void SetSettings(const std::string& settings) { settings_ = settings; }
  const std::string& Settings() const { return settings_; }

  // Opening may fail (port in use, no such device, refused line settings);
  // the reason is kept in LastError.
  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual bool LinkOpen() const = 0;
  virtual bool LinkBusy() const = 0;

  // Marks the start and end of one tick's transfer; a link that timed out
  // inside a transfer stays busy until the transfer ends.
  virtual void BeginTransfer() {}
  virtual void EndTransfer() {}

  // count 1 or 2 words from address into buffer (one word per element).
  virtual int ReadWords(int address, PlcWords2& buffer, int count) = 0;
  virtual int WriteWords(int address, std::int32_t value) = 0;
  virtual int WriteWords(int address, const PlcWords4& words, int count) = 0;

  virtual LinkHealth Health() const { return {}; }
  // Counts the connections made. A new number means the connection was
  // made afresh since the last transfer: the PLC may have restarted.
  virtual std::uint64_t Connection() const { return 1; }

  // A copy: a link shared between threads hands it out under its lock.
  virtual std::string LastError() const { return lastError_; }

 protected:
  void SetLastError(std::string text) { lastError_ = std::move(text); }

 private:
  int portNumber_ = 1;
  std::string settings_ = "9600,o,8,1";
  std::string lastError_;
};

}  // namespace orl
