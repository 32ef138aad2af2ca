// A hash map whose text keys compare without regard to ASCII letter case.
// Lookups fold the key into a stack buffer, so the hot read path allocates nothing.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "text_util.h"

namespace queldb {

struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>()(key); }
};

// No removal: callers may keep pointers to items for the life of the map.
template <typename Item>
class CaseInsensitiveMap {
 public:
  // The item under the key, made in place (default-constructed) when absent.
  Item& Emplace(std::string_view key) { return items_.try_emplace(ToUpperAscii(key)).first->second; }
  // Adds only when the key is absent; returns whether it was added.
  bool Add(std::string_view key, Item item) {
    return items_.try_emplace(ToUpperAscii(key), std::move(item)).second;
  }

  const Item* Find(std::string_view key) const {
    char buffer[kBufferSize];
    if (key.size() > kBufferSize) return FindIn(ToUpperAscii(key));
    for (std::size_t i = 0; i < key.size(); ++i) buffer[i] = ToUpperAscii(key[i]);
    return FindIn(std::string_view(buffer, key.size()));
  }
  Item* Find(std::string_view key) {
    return const_cast<Item*>(static_cast<const CaseInsensitiveMap&>(*this).Find(key));
  }

  // Calls visit(key, item) for every item; keys in upper case.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (const auto& [key, item] : items_) visit(key, item);
  }

 private:
  static constexpr std::size_t kBufferSize = 64;

  const Item* FindIn(std::string_view folded) const {
    auto it = items_.find(folded);
    return it == items_.end() ? nullptr : &it->second;
  }

  std::unordered_map<std::string, Item, TextHash, std::equal_to<>> items_;
};

}  // namespace queldb
