// WriteToDatabase: polled values into the store, or a value into the hand-off slot.
#pragma once

#include <cstdint>

#include "library_state.h"

namespace queldb {

struct WriteRequest {
  Variant& address;
  const Variant& values;
  int16_t numOfRegs;
  int32_t fromStart;
  int16_t& ioType;
};

// False when the address named no tag or did not parse (and became False).
bool WriteValues(LibraryState& state, WriteRequest request);

}  // namespace queldb
