#include "saw/plc/modbus_link.h"

#include <errno.h>
#include <modbus.h>
#include <netdb.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <sstream>
#include <vector>

#include "saw/plc/register_map.h"

namespace orl {
namespace {

// While the connection cannot be made again, it is tried this often.
constexpr auto kReconnectInterval = std::chrono::seconds(1);

constexpr std::array kSerialBauds{300, 600, 1200, 1800, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};

bool ParseInt(const std::string& text, int& value) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), ::isdigit)) return false;
  value = std::stoi(text);
  return true;
}

std::vector<std::string> SplitFields(const std::string& text) {
  std::vector<std::string> fields;
  std::stringstream in(text);
  for (std::string field; std::getline(in, field, ',');) {
    field.erase(std::remove(field.begin(), field.end(), ' '), field.end());
    fields.push_back(field);
  }
  return fields;
}

// Errors after which the connection itself is gone.
bool ConnectionLost(int error) {
  return error == ECONNRESET || error == EPIPE || error == EBADF || error == EIO || error == ENOTCONN ||
         error == ECONNREFUSED || error == ENXIO || error == ENODEV;
}

// A Modbus exception reply: the request was refused, the line is fine.
bool AnsweredWithException(int error) { return error >= EMBXILFUN && error <= EMBXGTAR; }

}  // namespace

bool ParseSerialLine(const std::string& settings, SerialLine& line) {
  const auto fields = SplitFields(settings);
  if (fields.size() != 4 || fields[1].size() != 1) return false;
  SerialLine parsed;
  parsed.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(fields[1][0])));
  if (!ParseInt(fields[0], parsed.baud) || !ParseInt(fields[2], parsed.dataBits) ||
      !ParseInt(fields[3], parsed.stopBits))
    return false;
  if (std::find(kSerialBauds.begin(), kSerialBauds.end(), parsed.baud) == kSerialBauds.end()) return false;
  if (parsed.parity != 'N' && parsed.parity != 'E' && parsed.parity != 'O') return false;
  if (parsed.dataBits < 5 || parsed.dataBits > 8 || parsed.stopBits < 1 || parsed.stopBits > 2) return false;
  line = parsed;
  return true;
}

std::string SerialDeviceOfPort(int port) { return "/dev/ttyS" + std::to_string(port - 1); }

ModbusLink::ModbusLink(ModbusLinkConfig config) : config_(std::move(config)) {}

ModbusLink::~ModbusLink() { Close(); }

bool ModbusLink::CreateContext() {
  if (IsTcp()) {
    ctx_ = modbus_new_tcp_pi(config_.host.c_str(), std::to_string(config_.tcpPort).c_str());
  } else {
    SerialLine line;
    if (!ParseSerialLine(Settings(), line)) {
      SetLastError("the serial port cannot do the speed or line settings \"" + Settings() + "\"");
      return false;
    }
    const std::string device = config_.device.empty() ? SerialDeviceOfPort(PortNumber()) : config_.device;
    ctx_ = modbus_new_rtu(device.c_str(), line.baud, line.parity, line.dataBits, line.stopBits);
  }
  if (!ctx_) {
    SetLastError(modbus_strerror(errno));
    return false;
  }
  const auto timeoutUs = static_cast<std::uint32_t>(std::max(1, config_.timeoutMs)) * 1000u;
  modbus_set_slave(ctx_, config_.station);
  modbus_set_response_timeout(ctx_, timeoutUs / 1000000u, timeoutUs % 1000000u);
  modbus_set_byte_timeout(ctx_, timeoutUs / 1000000u, timeoutUs % 1000000u);
  modbus_set_error_recovery(ctx_, MODBUS_ERROR_RECOVERY_NONE);
  return true;
}

bool ModbusLink::LockSerialPort() {
  const int fd = modbus_get_socket(ctx_);
  // libmodbus does not lock the device; a second program must not share it.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    SetLastError("serial port is in use by another program");
    return false;
  }
  ioctl(fd, TIOCEXCL);
  return true;
}

std::string ModbusLink::Target() const {
  if (!IsTcp()) return config_.device.empty() ? SerialDeviceOfPort(PortNumber()) : config_.device;
  const bool v6 = config_.host.find(':') != std::string::npos;
  return (v6 ? "[" + config_.host + "]" : config_.host) + ":" + std::to_string(config_.tcpPort);
}

// The cause of a failed connect, in words an operator can act on.
std::string ModbusLink::ConnectFailure(int error) const {
  switch (error) {
    case ECONNREFUSED: return "connection refused by " + Target();
    case ETIMEDOUT: return "no answer from " + Target();
    case EHOSTUNREACH:
    case ENETUNREACH: return "no route to " + Target();
    case ENOENT:
    case ENODEV:
    case ENXIO: return "no such device " + Target();
    case EACCES:
    case EPERM: return "no permission to open " + Target();
    case EINVAL:
      if (!IsTcp()) return "the serial port cannot do the line settings \"" + Settings() + "\"";
      [[fallthrough]];
    default: return std::string(modbus_strerror(error)) + " (" + Target() + ")";
  }
}

// libmodbus reports an unknown host as a refused connection; look it up
// first so the cause is told right.
bool ModbusLink::ResolveHost() {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int error = getaddrinfo(config_.host.c_str(), nullptr, &hints, &found);
  if (found) freeaddrinfo(found);
  if (error != 0) SetLastError("no such host " + config_.host + " (" + gai_strerror(error) + ")");
  return error == 0;
}

bool ModbusLink::Connect() {
  if (IsTcp() && !ResolveHost()) return false;
  if (modbus_connect(ctx_) != 0) {
    SetLastError(ConnectFailure(errno));
    return false;
  }
  if (!IsTcp() && !LockSerialPort()) {
    modbus_close(ctx_);
    return false;
  }
  connected_ = true;
  lost_ = false;
  ++connections_;
  return true;
}

bool ModbusLink::Open() {
  Close();
  if (!CreateContext()) return false;
  if (!Connect()) {
    modbus_free(ctx_);
    ctx_ = nullptr;
    return false;
  }
  open_ = true;
  busy_ = false;
  lost_ = false;
  return true;
}

void ModbusLink::Disconnect() {
  if (ctx_ && connected_) modbus_close(ctx_);  // closing the descriptor drops the lock
  connected_ = false;
}

void ModbusLink::Close() {
  Disconnect();
  if (ctx_) modbus_free(ctx_);
  ctx_ = nullptr;
  open_ = false;
  busy_ = false;
}

void ModbusLink::BeginTransfer() {
  busy_ = false;
  reconnectAttempted_ = false;
  if (!open_ || connected_ || !ctx_) return;
  const auto now = std::chrono::steady_clock::now();
  // A connection closed after a timeout is made again at once; one that is
  // lost is tried again once a second.
  if (lost_ && now - lastAttempt_ < kReconnectInterval) return;
  lastAttempt_ = now;
  reconnectAttempted_ = lost_;
  if (!Connect()) lost_ = true;
}

int ModbusLink::Failed() {
  const int error = errno;
  SetLastError(modbus_strerror(error));
  if (AnsweredWithException(error)) return 0;  // the PLC is there and in step
  if (ConnectionLost(error)) {
    Disconnect();
    lost_ = true;
    lastAttempt_ = std::chrono::steady_clock::now();
    return 0;
  }
  if (error == ETIMEDOUT) busy_ = true;
  // After a timeout or a garbled answer, bytes still on their way would be
  // taken for the next answer: start clean.
  if (IsTcp()) Disconnect();
  else modbus_flush(ctx_);
  return 0;
}

int ModbusLink::ReadWords(int address, PlcWords2& buffer, int count) {
  const int reg = ModbusRegister(address);
  if (!connected_ || busy_ || reg < 0 || count < 1 || count > 2) return 0;
  std::array<std::uint16_t, 2> words{};
  if (modbus_read_registers(ctx_, reg, count, words.data()) != count) return Failed();
  for (int i = 0; i < count; ++i) buffer[i] = words[i];
  return 1;
}

int ModbusLink::WriteWords(int address, std::int32_t value) {
  const int reg = ModbusRegister(address);
  if (!connected_ || busy_ || reg < 0) return 0;
  if (modbus_write_register(ctx_, reg, static_cast<std::uint16_t>(value)) != 1) return Failed();
  return 1;
}

int ModbusLink::WriteWords(int address, const PlcWords4& words, int count) {
  const int reg = ModbusRegister(address);
  if (!connected_ || busy_ || reg < 0 || count < 1 || count > 4) return 0;
  std::array<std::uint16_t, 4> data{};
  for (int i = 0; i < count; ++i) data[i] = static_cast<std::uint16_t>(words[i]);
  if (modbus_write_registers(ctx_, reg, count, data.data()) != count) return Failed();
  return 1;
}

}  // namespace orl
