#include "saw/plc/sim_plc_link.h"

#include "saw/plc/register_map.h"

namespace orl {

SimPlcLink::SimPlcLink(SawSimConfig config, const Clock& clock)
    : registers_(kSimRegisterCount, 0), model_(registers_, config, clock) {}

bool SimPlcLink::Open() {
  open_ = true;
  model_.Advance();
  return true;
}

int SimPlcLink::RegisterOf(int address, int count) const {
  const int reg = ModbusRegister(address);
  if (reg < 0 || count < 1 || reg + count > kSimRegisterCount) return -1;
  return reg;
}

int SimPlcLink::ReadWords(int address, PlcWords2& buffer, int count) {
  const int reg = RegisterOf(address, count);
  if (!open_ || reg < 0 || count > 2) return 0;
  model_.Advance();
  for (int i = 0; i < count; ++i) buffer[i] = registers_[reg + i];
  model_.NoteRead(reg, count);
  return 1;
}

int SimPlcLink::WriteWords(int address, std::int32_t value) {
  const int reg = RegisterOf(address, 1);
  if (!open_ || reg < 0) return 0;
  model_.Advance();
  registers_[reg] = static_cast<std::uint16_t>(value);
  model_.Advance();
  model_.NoteWrite(reg, 1);
  return 1;
}

int SimPlcLink::WriteWords(int address, const PlcWords4& words, int count) {
  const int reg = RegisterOf(address, count);
  if (!open_ || reg < 0 || count > 4) return 0;
  model_.Advance();
  for (int i = 0; i < count; ++i) registers_[reg + i] = static_cast<std::uint16_t>(words[i]);
  model_.Advance();
  model_.NoteWrite(reg, count);
  return 1;
}

}  // namespace orl
