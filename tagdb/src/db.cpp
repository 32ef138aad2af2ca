#include "queldb/db.h"

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

void Db::WriteQuePLC(Variant& qBuffAddress, Variant& qBuffValue, int16_t& WriteSize,
                     int16_t& ioDataType) {
  if (WriteSize < 1) WriteSize = 1;
  Library().queue.Push(QueueEntry{qBuffAddress, qBuffValue, ioDataType, WriteSize});
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

int16_t Db::ReadPLCValue(Variant& address, Variant& ResponseValue, int16_t& NumOfRegs,
                         int16_t& IOType, int32_t& ioIdx) {
  DefaultToOne(NumOfRegs);
  return ReadValues(Library(), ReadRequest{address, ResponseValue, NumOfRegs, IOType, ioIdx});
}

void Db::LoadTagDatabase() { queldb::LoadTagDatabase(Library()); }

std::string Db::TagDatabaseFile() { return queldb::TagDatabaseFile(Library().settings); }

}  // namespace queldb
