// Remembers how read addresses resolved, so a repeated read skips parsing and
// key building and, once its value exists, the store lookup too. Values are
// never removed from the store, so a remembered item stays valid for the life
// of the state. Tag reloads clear the cache, since names may move.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "address_resolver.h"

namespace queldb {

struct ResolvedRead {
  RegisterTarget target;
  const Variant* firstValue = nullptr;  // the stored item of target.reg, once it exists
};

class ReadCache {
 public:
  // Nullptr when the address is neither text nor a whole number, or not remembered.
  ResolvedRead* Find(const Variant& address);
  // Remembers the resolution when the address is text or a whole number;
  // otherwise keeps it in a one-off slot until the next call.
  ResolvedRead& Remember(const Variant& address, RegisterTarget target);
  void Clear();

 private:
  static constexpr std::size_t kMaxEntries = 100000;  // a bound against ever-new address texts

  // The standard string hash, which the map stores with each key, so a probe
  // compares hashes before texts.
  std::unordered_map<std::string, ResolvedRead> byText_;
  std::unordered_map<int32_t, ResolvedRead> byNumber_;
  ResolvedRead oneOff_;
};

}  // namespace queldb
