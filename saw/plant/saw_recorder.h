#pragma once
// The recorder the saw programs attach to their workstation: the history
// file's writer and, when the settings name a broker, the plant link, fed
// from the writer's thread with each record once it is committed, so the
// plant never sees a record the saw could lose.
#include <filesystem>
#include <memory>

#include "saw/history/history_settings.h"
#include "saw/history/history_writer.h"
#include "saw/history/recorder.h"
#include "saw/plant/plant_link.h"
#include "saw/shell/profile_file.h"

namespace orl {

class SawRecorder final : public Recorder {
 public:
  explicit SawRecorder(const HistorySettings& settings);
  ~SawRecorder() override;

  void Record(CutRecord record) override;
  bool CaughtUp() const override;
  void StateChanged(const SawState& state) override;
  std::vector<std::string> Housekeep() override;

 private:
  // Made first, gone last: it reads where the history ends before the
  // writer adds to it, and the writer feeds it to the end.
  std::unique_ptr<PlantLink> plant_;
  std::unique_ptr<HistoryWriter> writer_;
};

// The recorder the settings file asks for: the history in HistoryPath
// (history.sqlite beside the settings), the plant link when MqttBroker is
// set, with its delivery mark in a folder beside the history file.
std::unique_ptr<Recorder> MakeSawRecorder(const ProfileFile& settings);

}  // namespace orl
