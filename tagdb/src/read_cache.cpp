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

}  // namespace

template <typename Use>
ResolvedRead* ReadCache::WithMapOf(const Variant& address, Use use) {
  if (const std::string* text = address.AsString()) return use(byText_, *text);
  if (auto number = NumberKey(address)) return use(byNumber_, *number);
  return nullptr;
}

ResolvedRead* ReadCache::Find(const Variant& address) {
  return WithMapOf(address, [](auto& map, const auto& key) -> ResolvedRead* {
    auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
  });
}

ResolvedRead* ReadCache::Remember(const Variant& address, ResolvedRead& resolved) {
  if (byText_.size() + byNumber_.size() >= kMaxEntries) Clear();
  return WithMapOf(address, [&](auto& map, const auto& key) {
    return &map.insert_or_assign(key, std::move(resolved)).first->second;
  });
}

void ReadCache::Clear() {
  byText_.clear();
  byNumber_.clear();
}

namespace {

// Trivially destructible, so it can still be read after the thread's other
// storage has been destroyed.
thread_local bool cacheGone = false;

struct ThreadCache {
  ReadCache cache;
  ~ThreadCache() { cacheGone = true; }
};

}  // namespace

ReadCache* ThreadReadCache(uint64_t generation) {
  if (cacheGone) return nullptr;
  thread_local ThreadCache holder;
  if (holder.cache.generation_ != generation) {
    holder.cache.Clear();
    holder.cache.generation_ = generation;
  }
  return &holder.cache;
}

}  // namespace queldb
