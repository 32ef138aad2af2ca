#pragma once
// The simulated saw PLC served over Modbus (TCP or RTU) on libmodbus, so
// the program, mbpoll or any Modbus client can talk to it as to a real PLC.
// One client at a time; a new TCP connection replaces the old one, the way
// a PLC port serves the program reconnecting after a timeout.
#include <atomic>
#include <memory>
#include <string>

#include "saw/plc/saw_sim_model.h"
#include "saw/shell/clock.h"

typedef struct _modbus modbus_t;
typedef struct _modbus_mapping_t modbus_mapping_t;

namespace orl {

class SimModbusServer {
 public:
  // Listens on host:port (port 0 picks a free one, see Port()).
  static std::unique_ptr<SimModbusServer> ListenTcp(const std::string& host, int port, SawSimConfig config,
                                                    const Clock& clock, std::string& error);
  // Serves station on a serial device with the given line settings text.
  static std::unique_ptr<SimModbusServer> OpenRtu(const std::string& device, const std::string& lineSettings,
                                                  int station, SawSimConfig config, const Clock& clock,
                                                  std::string& error);
  ~SimModbusServer();
  SimModbusServer(const SimModbusServer&) = delete;
  SimModbusServer& operator=(const SimModbusServer&) = delete;

  int Port() const { return port_; }

  // Answers requests and runs the model until stop turns true.
  void Serve(const std::atomic<bool>& stop);

  // The model; read it only while Serve is not running or after it returned.
  const SawPlcModel& Model() const { return *model_; }

 private:
  SimModbusServer(modbus_t* ctx, SawSimConfig config, const Clock& clock);
  void ServeTcpOnce();
  void ServeRtuOnce();
  void Answer(int clientFd);

  modbus_t* ctx_;
  modbus_mapping_t* mapping_;
  std::unique_ptr<SawPlcModel> model_;
  bool tcp_ = false;
  int listenFd_ = -1;
  int clientFd_ = -1;
  int port_ = 0;
};

}  // namespace orl
