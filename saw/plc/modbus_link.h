#pragma once
// The link to a real PLC over libmodbus: Modbus RTU on a serial device, or
// Modbus TCP for a PLC on the network. PLC addresses map to the holding
// registers of their octal value; reads use function 03, one-word writes 06
// and the target block 16.
//
// The serial port is held exclusively. A request that times out makes the
// link busy for the rest of the tick's transfer, so an unplugged PLC costs
// one timeout per tick. A lost connection is reopened by the link itself at
// the start of a later transfer (libmodbus's own recovery stays off); while
// it cannot be made again it is tried at most once a second.
#include <atomic>
#include <chrono>
#include <string>

#include "saw/plc/plc_link.h"

typedef struct _modbus modbus_t;

namespace orl {

inline constexpr int kDefaultModbusTcpPort = 502;
inline constexpr int kDefaultPlcStation = 1;
inline constexpr int kDefaultPlcTimeoutMs = 100;

struct ModbusLinkConfig {
  std::string device;  // serial device; empty: /dev/ttyS(PortNumber - 1)
  std::string host;    // non-empty: Modbus TCP to host
  int tcpPort = kDefaultModbusTcpPort;
  int station = kDefaultPlcStation;
  int timeoutMs = kDefaultPlcTimeoutMs;
};

// Serial line settings: "9600,o,8,1".
struct SerialLine {
  int baud = 9600;
  char parity = 'O';  // 'N', 'E' or 'O'
  int dataBits = 8;
  int stopBits = 1;
};

// Parses line settings; false for a baud rate the serial line does not
// support or any malformed field (nothing is silently changed).
bool ParseSerialLine(const std::string& settings, SerialLine& line);

// The serial device of a port number: /dev/ttyS(port - 1).
std::string SerialDeviceOfPort(int port);

class ModbusLink : public PlcLink {
 public:
  explicit ModbusLink(ModbusLinkConfig config);
  ~ModbusLink() override;
  ModbusLink(const ModbusLink&) = delete;
  ModbusLink& operator=(const ModbusLink&) = delete;

  bool Open() override;
  void Close() override;
  bool LinkOpen() const override { return open_; }
  bool LinkBusy() const override { return busy_ || !connected_; }
  void BeginTransfer() override;
  void EndTransfer() override { busy_ = false; }
  LinkHealth Health() const override { return {lost_, reconnectAttempted_}; }
  std::uint64_t Connection() const override { return connections_; }

  int ReadWords(int address, PlcWords2& buffer, int count) override;
  int WriteWords(int address, std::int32_t value) override;
  int WriteWords(int address, const PlcWords4& words, int count) override;

  const ModbusLinkConfig& Config() const { return config_; }
  bool IsTcp() const { return !config_.host.empty(); }

 private:
  bool CreateContext();
  bool Connect();
  bool ResolveHost();
  std::string ConnectFailure(int error) const;
  std::string Target() const;
  bool LockSerialPort();
  void Disconnect();
  // Decides what a failed request means for the link; always returns 0.
  int Failed();

  ModbusLinkConfig config_;
  modbus_t* ctx_ = nullptr;
  std::atomic<bool> open_{false};
  bool connected_ = false;
  bool busy_ = false;
  bool lost_ = false;
  bool reconnectAttempted_ = false;
  std::uint64_t connections_ = 0;
  std::chrono::steady_clock::time_point lastAttempt_{};
};

}  // namespace orl
