#include "saw/plant/saw_recorder.h"

#include <chrono>

namespace orl {
namespace {

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::filesystem::path OutboxFolder(const std::filesystem::path& historyFile) {
  std::filesystem::path folder = historyFile;
  folder += ".plant-outbox";
  return folder;
}

}  // namespace

SawRecorder::SawRecorder(const HistorySettings& settings) {
  if (!settings.brokerHost.empty()) {
    plant_ = std::make_unique<PlantLink>(
        PlantSettings{settings.brokerHost, settings.brokerPort, settings.sawName, OutboxFolder(settings.file),
                      settings.file});
  }
  PlantLink* plant = plant_.get();
  HistoryWriter::CommittedCallback committed;
  if (plant) committed = [plant](const CutRecord& record) { plant->PublishCut(record); };
  writer_ = std::make_unique<HistoryWriter>(settings.file, settings.keepDays, std::move(committed));
}

// The writer goes first: what it still commits reaches the plant link.
SawRecorder::~SawRecorder() { writer_.reset(); }

void SawRecorder::Record(CutRecord record) { writer_->Record(std::move(record)); }

bool SawRecorder::CaughtUp() const { return writer_->CaughtUp(); }

void SawRecorder::StateChanged(const SawState& state) {
  if (plant_) plant_->PublishState(state);
}

std::vector<std::string> SawRecorder::Housekeep() {
  writer_->Housekeep(NowMs());
  std::vector<std::string> lines = writer_->TakeLogLines();
  if (plant_) {
    for (std::string& line : plant_->TakeLogLines()) lines.push_back(std::move(line));
  }
  return lines;
}

std::unique_ptr<Recorder> MakeSawRecorder(const ProfileFile& settings) {
  return std::make_unique<SawRecorder>(ReadHistorySettings(settings, settings.Path().parent_path()));
}

}  // namespace orl
