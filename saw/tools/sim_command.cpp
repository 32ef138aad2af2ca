// orl-tool sim: the simulated saw PLC served over Modbus TCP or RTU, for
// the desktop program, `orl-tool run` or any Modbus client.
#include <iostream>
#include <memory>

#include "saw/plc/link_factory.h"
#include "saw/plc/sim_server.h"
#include "saw/shell/orl_settings.h"
#include "saw/tools/commands.h"
#include "saw/tools/stop_signals.h"
#include "saw/tools/tool_session.h"

namespace orl {
namespace {

struct SimOptions {
  std::string tcp;  // HOST:PORT
  std::string rtu;  // device
  int baud = 9600;
  int station = kDefaultPlcStation;
  bool relative = false;
  double speed = 20000;
  double creepSpeed = 2000;
  int cutMs = 400;
  int pauseMs = 2000;
};

SawSimConfig ModelConfig(const SimOptions& options) {
  SawSimConfig config;
  config.absolute = !options.relative;
  config.speed = options.speed;
  config.creepSpeed = options.creepSpeed;
  config.cutSeconds = options.cutMs / 1000.0;
  config.endPauseSeconds = options.pauseMs / 1000.0;
  return config;
}

std::unique_ptr<SimModbusServer> OpenServer(const SimOptions& options, const Clock& clock, std::string& error) {
  if (!options.rtu.empty())
    return SimModbusServer::OpenRtu(options.rtu, LineSettings(std::to_string(options.baud)), options.station,
                                    ModelConfig(options), clock, error);
  std::string host;
  int port = kDefaultModbusTcpPort;
  ParseHostPort(options.tcp, host, port);  // checked with the arguments
  return SimModbusServer::ListenTcp(host, port, ModelConfig(options), clock, error);
}

// The port is not left to a default: a served PLC is found by its port.
bool IsHostAndPort(const std::string& text) {
  std::string host;
  int port = -1;
  return text.find(':') != std::string::npos && ParseHostPort(text, host, port);
}

int RunSim(const SimOptions& options) {
  if (options.rtu.empty() && !IsHostAndPort(options.tcp))
    throw std::invalid_argument("--tcp wants HOST:PORT (port 0 picks a free one), not \"" + options.tcp + "\"");
  SteadyClock clock;
  std::string error;
  auto server = OpenServer(options, clock, error);
  if (!server) {
    std::cerr << "orl-tool sim: " << error << "\n";
    return kExitPortInUse;
  }
  if (options.rtu.empty()) std::cout << "listening on tcp port " << server->Port() << std::endl;
  else std::cout << "serving station " << options.station << " on " << options.rtu << std::endl;
  CatchStopSignals();
  server->Serve(StopRequested());
  return kExitOk;  // ending by a signal is how a served simulator ends
}

}  // namespace

void RegisterSimCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<SimOptions>();
  CLI::App* sim = app.add_subcommand("sim", "serve the simulated saw PLC over Modbus TCP or RTU");
  auto* tcp = sim->add_option("--tcp", options->tcp, "listen on HOST:PORT (port 0 picks a free one)");
  auto* rtu = sim->add_option("--rtu", options->rtu, "serve on a serial device");
  tcp->excludes(rtu);
  sim->add_option("--baud", options->baud, "serial speed (odd parity, 8 data bits, 1 stop bit)");
  sim->add_option("--station", options->station, "Modbus unit id on the serial line")->check(CLI::Range(1, 247));
  sim->add_flag("--relative", options->relative, "targets are moves, not positions");
  sim->add_option("--speed", options->speed, "pusher speed, tenths of a mm per second")->check(CLI::PositiveNumber);
  sim->add_option("--creep-speed", options->creepSpeed, "speed within the creep distance")->check(CLI::PositiveNumber);
  sim->add_option("--cut-ms", options->cutMs, "how long a cut takes")->check(CLI::NonNegativeNumber);
  sim->add_option("--pause-ms", options->pauseMs, "pause after the last cut")->check(CLI::NonNegativeNumber);
  sim->callback([options, &status, tcp, rtu] {
    if (tcp->count() + rtu->count() == 0) {
      std::cerr << "orl-tool sim: give --tcp HOST:PORT or --rtu DEVICE\n";
      status = kExitBadArgument;
      return;
    }
    RunCommandBody(status, [&] { return RunSim(*options); });
  });
}

}  // namespace orl
