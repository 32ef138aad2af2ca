#pragma once
// The simulated saw PLC in the same process: a PlcLink whose transfers go
// straight to the model's register table. Used by the tests and by
// `--simulate`.
#include <vector>

#include "saw/plc/plc_link.h"
#include "saw/plc/saw_sim_model.h"

namespace orl {

class SimPlcLink : public PlcLink {
 public:
  SimPlcLink(SawSimConfig config, const Clock& clock);

  bool Open() override;
  void Close() override { open_ = false; }
  bool LinkOpen() const override { return open_; }
  bool LinkBusy() const override { return false; }

  int ReadWords(int address, PlcWords2& buffer, int count) override;
  int WriteWords(int address, std::int32_t value) override;
  int WriteWords(int address, const PlcWords4& words, int count) override;

  SawPlcModel& Model() { return model_; }
  const SawPlcModel& Model() const { return model_; }

 private:
  // Register of a PLC address range, or -1 when it falls outside the table.
  int RegisterOf(int address, int count) const;

  std::vector<std::uint16_t> registers_;
  SawPlcModel model_;
  bool open_ = false;
};

// A clock the caller moves forward, for a simulation in virtual time.
class SimClock final : public Clock {
 public:
  double Seconds() const override { return seconds_; }
  void Advance(double seconds) { seconds_ += seconds; }

 private:
  double seconds_ = 0;
};

}  // namespace orl
