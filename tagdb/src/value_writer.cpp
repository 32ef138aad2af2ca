#include "value_writer.h"

#include <mutex>
#include <string>

#include "address_resolver.h"
#include "queldb/db.h"

namespace queldb {
namespace {

// What the caller sees when its address named no tag or did not parse.
bool MarkUnknownAddress(Variant& address) {
  address = Variant(false);
  return false;
}

bool WriteRegisterFamily(LibraryState& state, ProtocolFamily family, WriteRequest& request) {
  auto target = ResolveRegisterAddress(request.address, family, Direction::Write, *state.tags);
  if (!target) return MarkUnknownAddress(request.address);
  // NumOfRegs is the last index of IOValue to store, not a count.
  int64_t reg = target->reg;
  for (int64_t k = request.fromStart; k <= request.numOfRegs; ++k, ++reg) {
    if (const Variant* value = request.values.Element(k)) {
      state.values.Store(RegisterKey(target->keyPrefix, reg), *value);
    }
  }
  return true;
}

bool WriteAbFamily(LibraryState& state, WriteRequest& request) {
  auto ab = ResolveAbAddress(request.address, *state.tags);
  if (!ab) return MarkUnknownAddress(request.address);
  ApplyAbFileIoType(*ab, request.ioType);
  for (int64_t n = 1; n <= request.numOfRegs; ++n) {
    const Variant* value = request.values.IsArray() ? request.values.Element(n) : &request.values;
    if (value) {
      state.values.Store(AbKey(ab->fileType, ab->fileNumber, ab->element + n - 1, ab->subElement), *value);
    }
  }
  return true;
}

}  // namespace

bool WriteValues(LibraryState& state, WriteRequest request) {
  if (request.ioType == ioFillHandoff) {
    std::lock_guard lock(state.handoff.mutex);
    state.handoff.value = request.values;
    state.handoff.address = request.address;
    return true;
  }
  std::unique_lock write(state.lock);
  switch (ProtocolFamily family = FamilyOf(state.settings.protocolCode)) {
    case ProtocolFamily::Modbus:
    case ProtocolFamily::PlcDirect:
      return WriteRegisterFamily(state, family, request);
    case ProtocolFamily::Ab:
      return WriteAbFamily(state, request);
    default:
      return true;  // no protocol configured: nothing is stored
  }
}

}  // namespace queldb
