#include "value_reader.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <utility>

#include "address_resolver.h"
#include "read_cache.h"
#include "queldb/db.h"
#include "value_conversion.h"

namespace queldb {
namespace {

bool IsFloatCode(int16_t ioType) { return ioType == 2 || ioType == 22; }
bool IsScaledCode(int16_t ioType) { return ioType >= 20 && ioType != 24; }

// Empty, 0 and False all mean that nothing is waiting in the hand-off slot.
bool NothingWaiting(const Variant& value) {
  if (value.IsEmpty()) return true;
  if (value.IsArray()) return false;
  auto number = value.ToDouble();
  return number && *number == 0;
}

int16_t TakeHandoff(HandoffSlot& slot, ReadRequest& request) {
  std::lock_guard lock(slot.mutex);
  if (NothingWaiting(slot.value)) return kTrue;
  request.response = slot.value;
  request.address = slot.address;
  slot.value = Variant(false);
  return kFalse;
}

// Where element k of a read goes: the response's element k when it is an
// array, the response itself for a single read; nullptr when there is none.
Variant* Slot(Variant& response, int64_t k, bool single) {
  if (response.IsArray()) return response.Element(k);
  return single ? &response : nullptr;
}

void Put(Variant* slot, std::optional<Variant> value) {
  if (slot) *slot = value ? std::move(*value) : Variant(int16_t{0});
}

// A copy of a stored value; nullopt when none is stored.
using Stored = std::optional<Variant>;
const Variant* Ptr(const Stored& value) { return value ? &*value : nullptr; }

// The stored value as it is, or 0 when none is stored. Copied straight into
// the slot, with no optional in between: this is the common read.
void PutStored(Variant* slot, const ValueCell* cell) {
  if (slot && !(cell && cell->LoadInto(*slot))) *slot = Variant(int16_t{0});
}

Stored Load(const ValueCell* cell) { return cell ? cell->Load() : std::nullopt; }

bool FitsInt32(int64_t index) {
  return index >= std::numeric_limits<int32_t>::min() && index <= std::numeric_limits<int32_t>::max();
}

// Looks values up by index (register or element) through a key function.
template <typename KeyOf>
class StoreView {
 public:
  StoreView(const LibraryState& state, KeyOf keyOf) : state_(state), keyOf_(keyOf) {}
  const ValueCell* Cell(int64_t index) const {
    return FitsInt32(index) ? state_.values.Find(keyOf_(index)) : nullptr;
  }
  Stored Value(int64_t index) const { return Load(Cell(index)); }

 private:
  const LibraryState& state_;
  KeyOf keyOf_;
};

// A register view that finds the first register's item through the read cache.
class CachedRegisterView {
 public:
  CachedRegisterView(const LibraryState& state, ResolvedRead& resolved) : state_(state), resolved_(resolved) {}
  const ValueCell* Cell(int64_t reg) const {
    const bool first = reg == resolved_.target.reg;
    if (first && resolved_.firstCell) return resolved_.firstCell;
    if (!FitsInt32(reg)) return nullptr;
    const ValueCell* cell = state_.values.Find(RegisterKey(resolved_.target.keyPrefix, reg));
    if (first) resolved_.firstCell = cell;
    return cell;
  }
  Stored Value(int64_t reg) const { return Load(Cell(reg)); }

 private:
  const LibraryState& state_;
  ResolvedRead& resolved_;
};

// Bit (first + k - 1) counted on from bit `first` of register `start`, running
// on into the following registers.
template <typename View>
std::optional<Variant> RunningBit(const View& view, int64_t start, int64_t first, int64_t k) {
  int64_t bit = first + k - 1;
  return BitOf(Ptr(view.Value(start + bit / 16)), bit % 16);
}

// Fills the response from index `start` on: float pairs (whole, fraction) when
// `floatPairs`; else, when `bit` is given, that bit of the start value and, in
// a multiple read, the bits running on from it; else the stored values. The
// values are copied whole: never half of one write and half of another.
template <typename View>
void CopyFrom(const View& view, int64_t start, std::optional<int64_t> bit, bool floatPairs,
              ReadRequest& request) {
  const bool single = request.numOfRegs <= 1;
  const int64_t count = single ? 1 : request.numOfRegs;
  int64_t index = start;
  for (int64_t k = 1; k <= count; ++k) {
    Variant* slot = Slot(request.response, k, single);
    if (floatPairs) {
      Put(slot, FloatPair(Ptr(view.Value(index)), Ptr(view.Value(index + 1))));
      index += 2;
    } else if (bit) {
      // A single read takes its bit from the start value alone, even past bit 15.
      Put(slot, single ? BitOf(Ptr(view.Value(start)), *bit) : RunningBit(view, start, *bit, k));
    } else {
      PutStored(slot, view.Cell(index));
      index += 1;
    }
  }
}

template <typename View>
void ReadFrom(const LibraryState& state, const View& view, int64_t start, std::optional<int64_t> bit,
              bool floatPairs, ReadRequest& request) {
  state.sequence.Read([&] { CopyFrom(view, start, bit, floatPairs, request); });
}

// The result of a read whose values are in place. A scaled read scales the
// first `count` values (or the single one) by the tag that `findTag` gives,
// and fails when there is none.
template <typename FindTag>
int16_t ScaleIfAsked(ReadRequest& request, int64_t count, FindTag findTag) {
  if (!IsScaledCode(request.ioType)) return kTrue;
  const TagRecord* tag = findTag();
  if (!tag) return kFalse;
  // A multiple read into a non-array filled nothing, so there is nothing to scale.
  const bool single = request.numOfRegs <= 1;
  for (int64_t k = 1; k <= std::max<int64_t>(count, 1); ++k) {
    Variant* slot = Slot(request.response, k, single);
    if (!slot) continue;
    if (auto scaled = Scaled(*slot, tag->scale, tag->offset)) *slot = std::move(*scaled);
  }
  return kTrue;
}

int16_t ReadRegisterFamily(LibraryState& state, ProtocolFamily family, ReadRequest& request) {
  ReadCache* cache = ThreadReadCache(ResolutionGeneration());
  ResolvedRead* resolved = cache ? cache->Find(request.address) : nullptr;
  ResolvedRead uncached;  // for an address the cache does not keep
  if (!resolved) {
    auto target = ResolveRegisterAddress(request.address, family, Direction::Read, *state.tags);
    if (!target) return kFalse;
    uncached.target = std::move(*target);
    resolved = cache ? cache->Remember(request.address, uncached) : nullptr;
    if (!resolved) resolved = &uncached;
  }
  const RegisterTarget& target = resolved->target;
  const bool bits = request.ioType == ioBits;
  ReadFrom(state, CachedRegisterView(state, *resolved), target.reg,
           bits ? std::optional<int64_t>(request.ioIdx) : std::nullopt, IsFloatCode(request.ioType), request);
  // Scale and offset come from the tag whose address is the route-and-register form.
  return ScaleIfAsked(request, request.numOfRegs, [&] {
    return target.normalized ? state.tags->FindByAddress(*target.normalized) : nullptr;
  });
}

// A bit that an Allen-Bradley address names wins; an address without one
// reads bits from ioIdx on with IOType 18, as the register families do. Float
// pairs are never formed: an F file element holds a whole float.
int16_t ReadAbFamily(LibraryState& state, ReadRequest& request) {
  auto ab = ResolveAbAddress(request.address, *state.tags);
  if (!ab) return kFalse;
  ApplyAbFileIoType(*ab, request.ioType);
  auto keyOf = [&](int64_t element) {
    return AbKey(ab->fileType, ab->fileNumber, element, ab->subElement);
  };
  std::optional<int64_t> bit;
  if (ab->bit != kNoBit) {
    bit = ab->bit;
  } else if (request.ioType == ioBits) {
    bit = request.ioIdx;
  }
  ReadFrom(state, StoreView(state, keyOf), ab->element, bit, false, request);
  return ScaleIfAsked(request, 1, [&] {  // only the first value is scaled
    const std::string* name = request.address.AsString();
    return name ? state.tags->FindByName(*name) : nullptr;
  });
}

}  // namespace

int16_t ReadValues(LibraryState& state, ReadRequest request) {
  if (request.ioType == ioTakeHandoff) return TakeHandoff(state.handoff, request);
  std::shared_lock read(state.lock);
  switch (ProtocolFamily family = FamilyOf(state.settings.protocolCode)) {
    case ProtocolFamily::Modbus:
    case ProtocolFamily::PlcDirect:
      return ReadRegisterFamily(state, family, request);
    case ProtocolFamily::Ab:
      return ReadAbFamily(state, request);
    default:
      return kTrue;  // no protocol configured: nothing to read
  }
}

}  // namespace queldb
