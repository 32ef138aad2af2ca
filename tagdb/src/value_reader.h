// ReadPLCValue: values from the store, converted as IOType asks.
#pragma once

#include <cstdint>

#include "library_state.h"

namespace queldb {

struct ReadRequest {
  Variant& address;
  Variant& response;
  int16_t numOfRegs;
  int16_t& ioType;
  int32_t ioIdx;
};

int16_t ReadValues(LibraryState& state, ReadRequest request);

}  // namespace queldb
