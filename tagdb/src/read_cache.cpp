#include "read_cache.h"

#include <optional>

namespace queldb {
namespace {

// Integer and Long addresses are remembered by their number.
std::optional<int32_t> NumberKey(const Variant& address) {
  if (const int16_t* small = address.AsInteger()) return *small;
  if (const int32_t* number = address.AsLong()) return *number;
  return std::nullopt;
}

template <typename Map, typename Key>
ResolvedRead* FindIn(Map& map, const Key& key) {
  auto it = map.find(key);
  return it == map.end() ? nullptr : &it->second;
}

}  // namespace

ResolvedRead* ReadCache::Find(const Variant& address) {
  if (const std::string* text = address.AsString()) return FindIn(byText_, *text);
  if (auto number = NumberKey(address)) return FindIn(byNumber_, *number);
  return nullptr;
}

ResolvedRead& ReadCache::Remember(const Variant& address, RegisterTarget target) {
  if (byText_.size() + byNumber_.size() >= kMaxEntries) Clear();
  ResolvedRead resolved{std::move(target), nullptr};
  if (const std::string* text = address.AsString()) {
    return byText_.insert_or_assign(*text, std::move(resolved)).first->second;
  }
  if (auto number = NumberKey(address)) {
    return byNumber_.insert_or_assign(*number, std::move(resolved)).first->second;
  }
  oneOff_ = std::move(resolved);
  return oneOff_;
}

void ReadCache::Clear() {
  byText_.clear();
  byNumber_.clear();
}

}  // namespace queldb
