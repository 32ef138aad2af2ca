// The value store's items, made for readers that never wait behind a writer.
//
// A writer publishes all the values of one call between two steps of a
// sequence counter; a reader copies what it needs and starts again when the
// counter moved meanwhile (or was odd: a write under way), so it never sees
// half of a block. Every word a reader may meet while a write runs is an
// atomic: numbers and Booleans live in two atomic words, text and arrays in an
// immutable copy behind an atomic shared pointer, which also keeps a copy
// alive while a reader still holds it. A torn copy is thrown away unread.
#pragma once

#include <atomic>
#include <bit>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "queldb/variant.h"

namespace queldb {

// Odd while a write is being published. Writers take turns outside of it.
class ValueSequence {
 public:
  // Calls copy() until it ran with no write published meanwhile; copy()
  // must only copy values out (it may run several times).
  template <typename Copy>
  void Read(Copy copy) const {
    uint64_t begin;
    do {
      begin = ReadBegin();
      copy();
    } while (ReadRetry(begin));
  }

  // Calls publish() between the two steps; one writer at a time.
  template <typename Publish>
  void Write(Publish publish) {
    uint64_t begin = count_.load(std::memory_order_relaxed);
    count_.store(begin + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    publish();
    count_.store(begin + 2, std::memory_order_release);
  }

 private:
  static constexpr int kSpinsBeforeYield = 1000;

  uint64_t ReadBegin() const {
    for (int spins = 0;; ++spins) {
      uint64_t begin = count_.load(std::memory_order_acquire);
      if ((begin & 1) == 0) return begin;
      if (spins >= kSpinsBeforeYield) std::this_thread::yield();  // the writer lost its processor
    }
  }
  // True when the copies made since `begin` may be torn and must be made again.
  bool ReadRetry(uint64_t begin) const {
    std::atomic_thread_fence(std::memory_order_acquire);
    return count_.load(std::memory_order_relaxed) != begin;
  }

  std::atomic<uint64_t> count_{0};
};

class ValueCell {
 public:
  // A value made ready to publish, outside any lock.
  struct Prepared {
    uint32_t kind = kNone;
    uint64_t bits = 0;
    std::shared_ptr<const Variant> boxed;
  };

  static Prepared Prepare(const Variant& value) {
    auto word = [](uint32_t kind, uint64_t bits) { return Prepared{kind, bits, nullptr}; };
    switch (value.Type()) {
      case VariantType::Empty: return word(kEmpty, 0);
      case VariantType::Boolean: return word(kBoolean, *value.AsBoolean() ? 1 : 0);
      case VariantType::Integer: return word(kInteger, static_cast<uint16_t>(*value.AsInteger()));
      case VariantType::Long: return word(kLong, static_cast<uint32_t>(*value.AsLong()));
      case VariantType::Single: return word(kSingle, std::bit_cast<uint32_t>(*value.AsSingle()));
      case VariantType::Double: return word(kDouble, std::bit_cast<uint64_t>(*value.AsDouble()));
      default: return Prepared{kBoxed, 0, std::make_shared<const Variant>(value)};
    }
  }

  // Within ValueSequence::Write only.
  void Publish(Prepared prepared) {
    if (prepared.kind == kBoxed) boxed_.store(std::move(prepared.boxed), std::memory_order_relaxed);
    bits_.store(prepared.bits, std::memory_order_relaxed);
    kind_.store(prepared.kind, std::memory_order_relaxed);
  }

  // The value, or nullopt while none was ever stored. Trust it only when
  // ValueSequence::ReadRetry says no write came in between.
  std::optional<Variant> Load() const {
    const uint64_t bits = bits_.load(std::memory_order_relaxed);
    switch (kind_.load(std::memory_order_relaxed)) {
      case kEmpty: return Variant();
      case kBoolean: return Variant(bits != 0);
      case kInteger: return Variant(static_cast<int16_t>(bits));
      case kLong: return Variant(static_cast<int32_t>(bits));
      case kSingle: return Variant(std::bit_cast<float>(static_cast<uint32_t>(bits)));
      case kDouble: return Variant(std::bit_cast<double>(bits));
      case kBoxed:
        if (auto boxed = boxed_.load(std::memory_order_relaxed)) return *boxed;
        return Variant();
      default: return std::nullopt;
    }
  }

 private:
  enum Kind : uint32_t { kNone, kEmpty, kBoolean, kInteger, kLong, kSingle, kDouble, kBoxed };

  std::atomic<uint32_t> kind_{kNone};
  std::atomic<uint64_t> bits_{0};
  std::atomic<std::shared_ptr<const Variant>> boxed_;
};

}  // namespace queldb
