#include "value_reader.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <utility>
#include <vector>

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

// A register view over the items a resolution remembers. It looks the other
// registers up in the store only when given one, which takes the state's lock.
class RegisterView {
 public:
  RegisterView(const ResolvedRead& resolved, const LibraryState* store) : resolved_(resolved), store_(store) {}
  const ValueCell* Cell(int64_t reg) const {
    const int64_t offset = reg - resolved_.target.reg;
    if (offset >= 0 && offset < static_cast<int64_t>(resolved_.cells.size())) return resolved_.cells[offset];
    if (!store_ || !FitsInt32(reg)) return nullptr;
    return store_->values.Find(RegisterKey(resolved_.target.keyPrefix, reg));
  }
  Stored Value(int64_t reg) const { return Load(Cell(reg)); }

 private:
  const ResolvedRead& resolved_;
  const LibraryState* store_;
};

// The registers a register-family read copies, first and last, counted from
// the address's register; as CopyFrom walks them.
struct RegisterRange {
  int64_t first;
  int64_t last;
};
RegisterRange RegistersRead(const ReadRequest& request) {
  const int64_t count = request.numOfRegs <= 1 ? 1 : request.numOfRegs;
  if (IsFloatCode(request.ioType)) return {0, 2 * count - 1};
  if (request.ioType == ioBits && count > 1) {
    // As RunningBit divides: rounding toward zero keeps the order of the bits.
    return {request.ioIdx / 16, (request.ioIdx + count - 1) / 16};
  }
  return {0, count - 1};
}

// Whether the resolution remembers the item of every register in the range.
bool HoldsCells(const ResolvedRead& resolved, RegisterRange range) {
  return range.first >= 0 && range.last < static_cast<int64_t>(resolved.cells.size());
}

// Remembers the items of the registers up to the range's last that are
// stored, from the first not remembered on, until one is missing. Under the
// state's lock.
void FindCells(const LibraryState& state, ResolvedRead& resolved, RegisterRange range) {
  const int64_t wanted = std::min<int64_t>(range.last + 1, ResolvedRead::kMaxCells);
  std::vector<const ValueCell*>& cells = resolved.cells;
  while (static_cast<int64_t>(cells.size()) < wanted) {
    const int64_t reg = resolved.target.reg + static_cast<int64_t>(cells.size());
    const ValueCell* cell = FitsInt32(reg) ? state.values.Find(RegisterKey(resolved.target.keyPrefix, reg)) : nullptr;
    if (!cell) return;
    cells.push_back(cell);
  }
}

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

// Copies a register-family read's values as IOType asks, unscaled.
void ReadRegisters(const LibraryState& state, const RegisterView& view, const ResolvedRead& resolved,
                   ReadRequest& request) {
  const bool bits = request.ioType == ioBits;
  ReadFrom(state, view, resolved.target.reg, bits ? std::optional<int64_t>(request.ioIdx) : std::nullopt,
           IsFloatCode(request.ioType), request);
}

// Under the state's lock.
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
  // Found once here, so that a copy made again finds its items at hand.
  FindCells(state, *resolved, RegistersRead(request));
  ReadRegisters(state, RegisterView(*resolved, &state), *resolved, request);
  const RegisterTarget& target = resolved->target;
  // Scale and offset come from the tag whose address is the route-and-register form.
  return ScaleIfAsked(request, request.numOfRegs, [&] {
    return target.normalized ? state.tags->FindByAddress(*target.normalized) : nullptr;
  });
}

// The common read, without the state's lock: an address this thread resolved
// before, every register of it stored, unscaled (scaling needs the tags). The
// remembered items outlive any change to the keys, since none is removed; a
// tag load that moves the address clears the cache, and a read that began
// before the load's change is a read of the values before it. Nullopt when
// the read needs the lock.
std::optional<int16_t> ReadRememberedRegisters(const LibraryState& state, ReadRequest& request) {
  if (IsScaledCode(request.ioType)) return std::nullopt;
  ReadCache* cache = ThreadReadCache(ResolutionGeneration());
  const ResolvedRead* resolved = cache ? cache->Find(request.address) : nullptr;
  if (!resolved || !HoldsCells(*resolved, RegistersRead(request))) return std::nullopt;
  ReadRegisters(state, RegisterView(*resolved, nullptr), *resolved, request);
  return kTrue;
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
  const ProtocolFamily family = FamilyOf(state.settings.protocolCode);  // settings never change
  const bool registerFamily = family == ProtocolFamily::Modbus || family == ProtocolFamily::PlcDirect;
  if (registerFamily) {
    if (auto result = ReadRememberedRegisters(state, request)) return *result;
  }
  std::shared_lock read(state.lock);
  if (registerFamily) return ReadRegisterFamily(state, family, request);
  if (family == ProtocolFamily::Ab) return ReadAbFamily(state, request);
  return kTrue;  // no protocol configured: nothing to read
}

}  // namespace queldb
