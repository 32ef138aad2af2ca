#include "value_reader.h"

#include <algorithm>
#include <limits>
#include <string>

#include "address_resolver.h"
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

// The stored value as it is, or 0 when none is stored. Copied straight into
// the slot: this is the common read and it stays free of temporaries.
void PutStored(Variant* slot, const Variant* value) {
  if (!slot) return;
  if (value) {
    *slot = *value;
  } else {
    *slot = Variant(int16_t{0});
  }
}

// Looks values up by index (register or element) through a key function.
template <typename KeyOf>
class StoreView {
 public:
  StoreView(const LibraryState& state, KeyOf keyOf) : state_(state), keyOf_(keyOf) {}
  const Variant* Value(int64_t index) const {
    if (index < std::numeric_limits<int32_t>::min() || index > std::numeric_limits<int32_t>::max()) {
      return nullptr;
    }
    return state_.values.Find(keyOf_(index));
  }

 private:
  const LibraryState& state_;
  KeyOf keyOf_;
};

// A register view that serves the first register from the read cache.
class CachedRegisterView {
 public:
  CachedRegisterView(const LibraryState& state, ResolvedRead& resolved) : state_(state), resolved_(resolved) {}
  const Variant* Value(int64_t reg) const {
    const bool first = reg == resolved_.target.reg;
    if (first && resolved_.firstValue) return resolved_.firstValue;
    if (reg < std::numeric_limits<int32_t>::min() || reg > std::numeric_limits<int32_t>::max()) return nullptr;
    const Variant* value = state_.values.Find(resolved_.target.keyPrefix + std::to_string(reg));
    if (first) resolved_.firstValue = value;
    return value;
  }

 private:
  const LibraryState& state_;
  ResolvedRead& resolved_;
};

// Bit (first + k - 1) counted on from bit `first` of register `start`, running
// on into the following registers.
template <typename View>
std::optional<Variant> RunningBit(const View& view, int64_t start, int64_t first, int64_t k) {
  int64_t bit = first + k - 1;
  return BitOf(view.Value(start + bit / 16), bit % 16);
}

template <typename View>
void ReadRegisters(const View& view, int64_t reg, ReadRequest& request) {
  const int16_t ioType = request.ioType;
  if (request.numOfRegs <= 1) {
    Variant* slot = Slot(request.response, 1, true);
    if (IsFloatCode(ioType)) {
      Put(slot, FloatPair(view.Value(reg), view.Value(reg + 1)));
    } else if (ioType == ioBits) {
      Put(slot, BitOf(view.Value(reg), request.ioIdx));
    } else {
      PutStored(slot, view.Value(reg));
    }
    return;
  }
  for (int64_t k = 1; k <= request.numOfRegs; ++k) {
    Variant* slot = Slot(request.response, k, false);
    if (IsFloatCode(ioType)) {
      Put(slot, FloatPair(view.Value(reg), view.Value(reg + 1)));
      reg += 2;
    } else if (ioType == ioBits) {
      Put(slot, RunningBit(view, reg, request.ioIdx, k));
    } else {
      PutStored(slot, view.Value(reg));
      reg += 1;
    }
  }
}

// Scales elements 1..count of an array response, or the response itself
// after a single read. A multiple read into a non-array filled nothing, so
// there is nothing to scale.
void ScaleResponse(Variant& response, int64_t count, bool singleRead, const TagRecord& tag) {
  for (int64_t k = 1; k <= std::max<int64_t>(count, 1); ++k) {
    Variant* slot = Slot(response, k, singleRead);
    if (!slot) continue;
    if (auto scaled = Scaled(*slot, tag.scale, tag.offset)) *slot = std::move(*scaled);
  }
}

int16_t ReadRegisterFamily(LibraryState& state, ProtocolFamily family, ReadRequest& request) {
  ResolvedRead* resolved = state.readCache.Find(request.address);
  if (!resolved) {
    auto target = ResolveRegisterAddress(request.address, family, Direction::Read, state.tags);
    if (!target) return kFalse;
    resolved = &state.readCache.Remember(request.address, std::move(*target));
  }
  const RegisterTarget& target = resolved->target;
  ReadRegisters(CachedRegisterView(state, *resolved), target.reg, request);
  if (!IsScaledCode(request.ioType)) return kTrue;
  // Scale and offset come from the tag whose address is the route-and-register form.
  const TagRecord* tag = target.normalized ? state.tags.FindByAddress(*target.normalized) : nullptr;
  if (!tag) return kFalse;
  ScaleResponse(request.response, request.numOfRegs, request.numOfRegs <= 1, *tag);
  return kTrue;
}

// Allen-Bradley addresses name their bit themselves: IOType 18 and ioIdx play no part.
template <typename View>
void ReadAbElements(const View& view, const AbAddress& ab, ReadRequest& request) {
  const bool namesBit = ab.bit != kNoBit;
  if (request.numOfRegs < 2) {
    Variant* slot = Slot(request.response, 1, true);
    if (namesBit) {
      Put(slot, BitOf(view.Value(ab.element), ab.bit));
    } else {
      PutStored(slot, view.Value(ab.element));
    }
    return;
  }
  for (int64_t k = 1; k <= request.numOfRegs; ++k) {
    Variant* slot = Slot(request.response, k, false);
    if (namesBit) {
      Put(slot, RunningBit(view, ab.element, ab.bit, k));
    } else {
      PutStored(slot, view.Value(ab.element + k - 1));
    }
  }
}

int16_t ReadAbFamily(LibraryState& state, ReadRequest& request) {
  auto ab = ResolveAbAddress(request.address, state.tags);
  if (!ab) return kFalse;
  if (ab->fileType == 8) request.ioType = ioFloat;
  auto keyOf = [&](int64_t element) {
    return AbKey(ab->fileType, ab->fileNumber, element, ab->subElement);
  };
  ReadAbElements(StoreView(state, keyOf), *ab, request);
  if (!IsScaledCode(request.ioType)) return kTrue;
  const std::string* name = request.address.AsString();
  const TagRecord* tag = name ? state.tags.FindByName(*name) : nullptr;
  if (!tag) return kFalse;
  ScaleResponse(request.response, 1, request.numOfRegs < 2, *tag);  // only the first value is scaled
  return kTrue;
}

}  // namespace

int16_t ReadValues(LibraryState& state, ReadRequest request) {
  if (request.ioType == ioTakeHandoff) return TakeHandoff(state.handoff, request);
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
