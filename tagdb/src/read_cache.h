// Remembers how read addresses resolved, so a repeated read skips parsing and
// key building and, once its values exist, the store lookups too. Values are
// never removed from the store, so a remembered item stays valid for the life
// of the state, and a read that finds all its items here needs no lock. Tag
// reloads clear the cache, since names may move. Each thread keeps its own
// cache, so reads never wait on one another to fill it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "address_resolver.h"
#include "value_cell.h"

namespace queldb {

struct ResolvedRead {
  // Registers past target.reg whose items are remembered, at most.
  static constexpr std::size_t kMaxCells = 256;

  RegisterTarget target;
  // The stored items of target.reg and the registers after it, in order, as
  // far as each was stored when looked for: never a register not stored.
  std::vector<const ValueCell*> cells;
};

class ReadCache {
 public:
  // Nullptr when the address is neither text nor a whole number, or not remembered.
  ResolvedRead* Find(const Variant& address);
  // When the address is text or a whole number, moves the resolution into the
  // cache and returns the kept item; otherwise nullptr, the resolution untouched.
  ResolvedRead* Remember(const Variant& address, ResolvedRead& resolved);
  void Clear();

 private:
  friend ReadCache* ThreadReadCache(uint64_t generation);

  // Calls use(map, key) with the map and key that the address is kept under;
  // nullptr when it is neither text nor a whole number.
  template <typename Use>
  ResolvedRead* WithMapOf(const Variant& address, Use use);

  static constexpr std::size_t kMaxEntries = 100000;  // a bound against ever-new address texts

  // The standard string hash, which the map stores with each key, so a probe
  // compares hashes before texts.
  std::unordered_map<std::string, ResolvedRead> byText_;
  std::unordered_map<int32_t, ResolvedRead> byNumber_;
  uint64_t generation_ = 0;
};

// The calling thread's cache, emptied first when it was filled under another
// resolution generation; nullptr once the thread's storage is gone (a call
// from a static destructor at exit), when reads go uncached.
ReadCache* ThreadReadCache(uint64_t generation);

}  // namespace queldb
