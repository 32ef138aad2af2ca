#include "saw/plc/sim_server.h"

#include <arpa/inet.h>
#include <errno.h>
#include <modbus.h>
#include <sys/select.h>
#include <unistd.h>

#include <algorithm>
#include <span>

#include "saw/plc/modbus_link.h"

namespace orl {
namespace {

constexpr int kPollMicroseconds = 10000;

// Which of two descriptors (b may be -1) has data within the poll interval.
struct Ready {
  bool a = false, b = false;
};
Ready WaitReadable(int a, int b) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(a, &set);
  if (b >= 0) FD_SET(b, &set);
  timeval timeout{0, kPollMicroseconds};
  if (select(std::max(a, b) + 1, &set, nullptr, nullptr, &timeout) <= 0) return {};
  return {FD_ISSET(a, &set) != 0, b >= 0 && FD_ISSET(b, &set) != 0};
}

constexpr int kReadHoldingRegisters = 0x03;
constexpr int kWriteSingleRegister = 0x06;
constexpr int kWriteMultipleRegisters = 0x10;

int Word(const std::uint8_t* bytes) { return bytes[0] << 8 | bytes[1]; }

// Tells the model which registers a request read or wrote.
void NoteRequest(SawPlcModel& model, const std::uint8_t* query, int length, int headerLength) {
  if (length < headerLength + 5) return;
  const std::uint8_t* pdu = query + headerLength;
  switch (pdu[0]) {
    case kReadHoldingRegisters: model.NoteRead(Word(pdu + 1), Word(pdu + 3)); break;
    case kWriteSingleRegister: model.NoteWrite(Word(pdu + 1), 1); break;
    case kWriteMultipleRegisters: model.NoteWrite(Word(pdu + 1), Word(pdu + 3)); break;
    default: break;
  }
}

}  // namespace

SimModbusServer::SimModbusServer(modbus_t* ctx, SawSimConfig config, const Clock& clock)
    : ctx_(ctx), mapping_(modbus_mapping_new(0, 0, kSimRegisterCount, 0)) {
  model_ = std::make_unique<SawPlcModel>(std::span<std::uint16_t>(mapping_->tab_registers, kSimRegisterCount),
                                         config, clock);
}

SimModbusServer::~SimModbusServer() {
  if (clientFd_ >= 0 && clientFd_ != modbus_get_socket(ctx_)) close(clientFd_);
  if (listenFd_ >= 0) close(listenFd_);
  modbus_close(ctx_);
  modbus_free(ctx_);
  modbus_mapping_free(mapping_);
}

std::unique_ptr<SimModbusServer> SimModbusServer::ListenTcp(const std::string& host, int port, SawSimConfig config,
                                                            const Clock& clock, std::string& error) {
  modbus_t* ctx = modbus_new_tcp(host.c_str(), port);
  if (!ctx) {
    error = modbus_strerror(errno);
    return nullptr;
  }
  std::unique_ptr<SimModbusServer> server(new SimModbusServer(ctx, config, clock));
  server->tcp_ = true;
  server->listenFd_ = modbus_tcp_listen(ctx, 1);
  if (server->listenFd_ < 0) {
    error = modbus_strerror(errno);
    return nullptr;
  }
  sockaddr_in address{};
  socklen_t length = sizeof address;
  getsockname(server->listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
  server->port_ = ntohs(address.sin_port);
  return server;
}

std::unique_ptr<SimModbusServer> SimModbusServer::OpenRtu(const std::string& device, const std::string& lineSettings,
                                                          int station, SawSimConfig config, const Clock& clock,
                                                          std::string& error) {
  SerialLine line;
  if (!ParseSerialLine(lineSettings, line)) {
    error = "unsupported line settings \"" + lineSettings + "\"";
    return nullptr;
  }
  modbus_t* ctx = modbus_new_rtu(device.c_str(), line.baud, line.parity, line.dataBits, line.stopBits);
  if (!ctx) {
    error = modbus_strerror(errno);
    return nullptr;
  }
  modbus_set_slave(ctx, station);
  std::unique_ptr<SimModbusServer> server(new SimModbusServer(ctx, config, clock));
  if (modbus_connect(ctx) != 0) {
    error = modbus_strerror(errno);
    return nullptr;
  }
  return server;
}

void SimModbusServer::Serve(const std::atomic<bool>& stop) {
  while (!stop) {
    model_->Advance();
    if (tcp_) ServeTcpOnce();
    else ServeRtuOnce();
  }
}

void SimModbusServer::ServeTcpOnce() {
  const Ready ready = WaitReadable(listenFd_, clientFd_);
  if (ready.a) {
    int s = listenFd_;
    const int accepted = modbus_tcp_accept(ctx_, &s);
    if (accepted >= 0) {
      if (clientFd_ >= 0) close(clientFd_);
      clientFd_ = accepted;
    }
  }
  if (ready.b && clientFd_ >= 0) Answer(clientFd_);
}

void SimModbusServer::ServeRtuOnce() {
  const int fd = modbus_get_socket(ctx_);
  if (WaitReadable(fd, -1).a) Answer(fd);
}

void SimModbusServer::Answer(int clientFd) {
  modbus_set_socket(ctx_, clientFd);
  std::uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
  const int length = modbus_receive(ctx_, query);
  if (length > 0) {
    model_->Advance();
    modbus_reply(ctx_, query, length, mapping_);
    model_->Advance();
    NoteRequest(*model_, query, length, modbus_get_header_length(ctx_));
  } else if (length < 0 && tcp_) {
    close(clientFd_);  // the client went away
    clientFd_ = -1;
    modbus_set_socket(ctx_, -1);
  } else if (length < 0) {
    modbus_flush(ctx_);
  }
}

}  // namespace orl
