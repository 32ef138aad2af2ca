#include "queldb/db.h"

#include <shared_mutex>

#include "library_state.h"
#include "value_reader.h"
#include "value_writer.h"

namespace queldb {
namespace {

// Optional counts that arrive as 0 mean 1; the caller sees the 1.
template <typename Integer>
void DefaultToOne(Integer& value) {
  if (value == 0) value = 1;
}

}  // namespace

Db::Db() { Library(); }

Db::Db(const Db& other)
    : enabled_(other.enabled_.load()),
      borderStyle_(other.borderStyle_.load()),
      propertyChanged_(other.propertyChanged_) {}

Db& Db::operator=(const Db& other) {
  enabled_ = other.enabled_.load();
  borderStyle_ = other.borderStyle_.load();
  propertyChanged_ = other.propertyChanged_;
  return *this;
}

void Db::SetEnabled(bool value) {
  enabled_ = value;
  PropertyChanged("Enabled");
}

void Db::SetBorderStyle(int16_t value) {
  borderStyle_ = value;
  PropertyChanged("BorderStyle");
}

void Db::SetPropertyChangedHandler(std::function<void(const std::string&)> handler) {
  propertyChanged_ = std::move(handler);
}

void Db::PropertyChanged(const std::string& name) {
  if (propertyChanged_) propertyChanged_(name);
}

void Db::Refresh() {}

void Db::WriteToDatabase(Variant& IOAddress, Variant& IOValue, int16_t& NumOfRegs,
                         int32_t& FromStartAddress, int16_t& IOType) {
  DefaultToOne(NumOfRegs);
  DefaultToOne(FromStartAddress);
  WriteValues(Library(), WriteRequest{IOAddress, IOValue, NumOfRegs, FromStartAddress, IOType});
}

int16_t Db::WriteToDatabase(const Variant& IOAddress, const Variant& IOValue, int16_t NumOfRegs,
                            int32_t FromStartAddress, int16_t IOType) {
  DefaultToOne(NumOfRegs);
  DefaultToOne(FromStartAddress);
  Variant address = IOAddress;
  return WriteValues(Library(), WriteRequest{address, IOValue, NumOfRegs, FromStartAddress, IOType}) ? kTrue
                                                                                                     : kFalse;
}

int16_t Db::WriteQuePLC(Variant& qBuffAddress, Variant& qBuffValue, int16_t& WriteSize,
                        int16_t& ioDataType) {
  if (WriteSize < 1) WriteSize = 1;
  return Library().queue.Push(QueueEntry{qBuffAddress, qBuffValue, ioDataType, WriteSize}) ? kTrue : kFalse;
}

int16_t Db::WriteQuePLC(const Variant& qBuffAddress, const Variant& qBuffValue, int16_t WriteSize,
                        int16_t ioDataType) {
  Variant address = qBuffAddress, value = qBuffValue;
  return WriteQuePLC(address, value, WriteSize, ioDataType);
}

int16_t Db::ReadQueData(Variant& quBuffAddress, Variant& quBuffValue, int16_t& WriteSize,
                        int16_t& ioDataType) {
  QueueEntry entry;
  if (!Library().queue.Pop(entry)) return kFalse;
  quBuffAddress = std::move(entry.address);
  quBuffValue = std::move(entry.value);
  WriteSize = entry.size;
  ioDataType = entry.dataType;
  return kTrue;
}

std::optional<QueuedWrite> Db::ReadQueData() {
  QueuedWrite entry;
  if (ReadQueData(entry.address, entry.value, entry.WriteSize, entry.ioDataType) != kTrue) return std::nullopt;
  return entry;
}

int16_t Db::ReadPLCValue(Variant& address, Variant& ResponseValue, int16_t& NumOfRegs,
                         int16_t& IOType, int32_t& ioIdx) {
  DefaultToOne(NumOfRegs);
  return ReadValues(Library(), ReadRequest{address, ResponseValue, NumOfRegs, IOType, ioIdx});
}

int16_t Db::ReadPLCValue(const Variant& address, Variant& ResponseValue, int16_t NumOfRegs,
                         int16_t IOType, int32_t ioIdx) {
  Variant ownAddress = address;
  return ReadPLCValue(ownAddress, ResponseValue, NumOfRegs, IOType, ioIdx);
}

void Db::LoadTagDatabase() { queldb::LoadTagDatabase(Library()); }

std::string Db::TagDatabaseFile() { return queldb::TagDatabaseFile(Library().settings); }

LibraryStatus Db::Status() {
  LibraryState& state = Library();
  std::shared_lock read(state.lock);
  return {state.settings.protocolCode, state.settings.databaseFolder, state.tags->LoadedCount(),
          state.loadError};
}

}  // namespace queldb
