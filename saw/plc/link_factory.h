#pragma once
// Choosing and opening the PLC link at start-up: the simulated saw PLC when
// asked for, Modbus TCP when a PLC host is configured, otherwise Modbus RTU
// on the serial port.
#include <memory>
#include <optional>
#include <string>

#include "saw/plc/modbus_link.h"
#include "saw/plc/plc_link.h"
#include "saw/plc/saw_sim_model.h"
#include "saw/shell/clock.h"
#include "saw/shell/profile_file.h"

namespace orl {

enum class LinkKind { Simulated, Tcp, Rtu };

struct PlcLinkSpec {
  LinkKind kind = LinkKind::Rtu;
  int portNumber = 1;                    // CommPort, 1..4
  std::string settings = "9600,o,8,1";  // line settings
  ModbusLinkConfig modbus;
  SawSimConfig sim;
  // Set when a setting cannot name a link (an invalid PlcHost): the text
  // the operator is shown; no link is opened then.
  std::string invalidSetting;
};

// The link the settings file asks for; simulate (--simulate) wins over it.
PlcLinkSpec PlcLinkSpecFromSettings(const ProfileFile& settings, bool simulate);

// Applies a command-line choice "sim", "tcp:HOST:PORT" or "rtu:DEVICE" to
// the link choice; false when the text is none of these.
bool ApplyPlcChoice(const std::string& choice, PlcLinkSpec& linkChoice);

// Splits "host[:port]", "[v6-address][:port]" or a bare IPv6 address (port
// 0..65535, 0 for a server that picks a free one); false for anything else,
// which changes neither value.
bool ParseHostPort(const std::string& text, std::string& host, int& port);

// "PlcHost \"VALUE\" is not a valid host[:port]."
std::string InvalidPlcHostText(const std::string& value);
// "The PLC at HOST:PORT cannot be reached."
std::string UnreachableText(const std::string& host, int port);

// Builds the link with its port number and line settings set. clock serves
// the simulated PLC and must outlive the link.
std::unique_ptr<PlcLink> MakePlcLink(const PlcLinkSpec& linkChoice, const Clock& clock);

// "Comm Port" + N + " is already in use."
std::string PortInUseText(int portNumber);

// Opens the link; on failure the text the operator is shown: the
// port-in-use text for a serial port, the unreachable text naming host
// and port for a PLC on the network. The link's LastError holds the cause.
std::optional<std::string> OpenPlcLink(PlcLink& link);

}  // namespace orl
