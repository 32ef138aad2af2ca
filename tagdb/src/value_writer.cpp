#include "value_writer.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "address_resolver.h"
#include "queldb/db.h"

namespace queldb {
namespace {

// What the caller sees when its address named no tag, did not parse, or
// would put values outside the store.
bool MarkUnknownAddress(Variant& address) {
  address = Variant(false);
  return false;
}

// Register and element numbers the store holds: those a read can reach.
bool InStore(int64_t first, int64_t last) {
  return first >= std::numeric_limits<int32_t>::min() && last <= std::numeric_limits<int32_t>::max();
}

// The values of one call, keyed and converted before anything is published,
// so that readers are kept out of nothing but the few stores of Publish.
class PreparedWrite {
 public:
  void Add(std::string key, const Variant& value) {
    items_.push_back({std::move(key), ValueCell::Prepare(value), nullptr});
  }

  // Under a shared hold of the state's lock.
  void FindCells(LibraryState& state) {
    for (Item& item : items_) item.cell = state.values.Find(item.key);
  }

  // Adds the keys never stored before (the one moment readers wait), then
  // publishes every value at once.
  void Publish(LibraryState& state) {
    const bool newKeys = std::any_of(items_.begin(), items_.end(), [](const Item& item) { return !item.cell; });
    if (newKeys) {
      std::unique_lock write(state.lock);
      for (Item& item : items_) {
        if (!item.cell) item.cell = &state.values.Emplace(item.key);
      }
    }
    state.sequence.Write([&] {
      for (Item& item : items_) item.cell->Publish(std::move(item.value));
    });
  }

 private:
  struct Item {
    std::string key;
    ValueCell::Prepared value;
    ValueCell* cell;
  };
  std::vector<Item> items_;
};

bool PrepareRegisterFamily(LibraryState& state, ProtocolFamily family, WriteRequest& request,
                           PreparedWrite& prepared) {
  auto target = ResolveRegisterAddress(request.address, family, Direction::Write, *state.tags);
  if (!target) return MarkUnknownAddress(request.address);
  // NumOfRegs is the last index of IOValue to store, not a count; index
  // FromStartAddress goes to the address's register. Only indexes IOValue
  // has are visited, however far below 1 FromStartAddress lies.
  const int64_t first = std::max<int64_t>(request.fromStart, 1);
  const int64_t last = std::min<int64_t>(request.numOfRegs, static_cast<int64_t>(request.values.Count()));
  if (first > last) return true;
  const int64_t firstReg = target->reg + (first - request.fromStart);
  if (!InStore(firstReg, firstReg + (last - first))) return MarkUnknownAddress(request.address);
  for (int64_t k = first; k <= last; ++k) {
    prepared.Add(RegisterKey(target->keyPrefix, firstReg + (k - first)), *request.values.Element(k));
  }
  return true;
}

bool PrepareAbFamily(LibraryState& state, WriteRequest& request, PreparedWrite& prepared) {
  auto ab = ResolveAbAddress(request.address, *state.tags);
  if (!ab) return MarkUnknownAddress(request.address);
  ApplyAbFileIoType(*ab, request.ioType);
  if (request.numOfRegs >= 1 && !InStore(ab->element, int64_t{ab->element} + request.numOfRegs - 1)) {
    return MarkUnknownAddress(request.address);
  }
  for (int64_t n = 1; n <= request.numOfRegs; ++n) {
    const Variant* value = request.values.IsArray() ? request.values.Element(n) : &request.values;
    if (value) prepared.Add(AbKey(ab->fileType, ab->fileNumber, ab->element + n - 1, ab->subElement), *value);
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
  std::lock_guard oneWriter(state.writeMutex);
  PreparedWrite prepared;
  {
    std::shared_lock read(state.lock);
    bool accepted = true;
    switch (ProtocolFamily family = FamilyOf(state.settings.protocolCode)) {
      case ProtocolFamily::Modbus:
      case ProtocolFamily::PlcDirect:
        accepted = PrepareRegisterFamily(state, family, request, prepared);
        break;
      case ProtocolFamily::Ab:
        accepted = PrepareAbFamily(state, request, prepared);
        break;
      default:
        break;  // no protocol configured: nothing is stored
    }
    if (!accepted) return false;
    prepared.FindCells(state);
  }
  prepared.Publish(state);
  return true;
}

}  // namespace queldb
