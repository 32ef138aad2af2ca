// The value store's items, made for readers that never wait behind a writer.
//
// A writer publishes all the values of one call between two steps of a
// sequence counter; a reader copies what it needs and starts again when the
// counter moved meanwhile (or was odd: a write under way), so it never sees
// half of a block. Every word a reader may meet while a write runs is an
// atomic: numbers and Booleans live in two atomic words, text and arrays in an
// immutable copy behind a shared pointer that a tiny lock of its own guards
// for the moment of copying the pointer (std::atomic<std::shared_ptr> of
// GCC 12 unlocks a load without release ordering, which ThreadSanitizer
// reports as a race). The shared pointer keeps a copy alive while a reader
// still holds it. A torn copy is thrown away unread.
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

// Spins until done() holds, giving the processor away after a while: the
// thread it waits for may have lost its own.
template <typename Done>
void SpinUntil(Done done) {
  constexpr int kSpinsBeforeYield = 1000;
  for (int spins = 0; !done(); ++spins) {
    if (spins >= kSpinsBeforeYield) std::this_thread::yield();
  }
}

// Odd while a write is being published. Writers take turns outside of it.
// No fences: values are stored with release and loaded with acquire, which
// costs nothing more on x86 and which ThreadSanitizer follows.
class ValueSequence {
 public:
  // Calls copy() until it ran with no write published meanwhile; copy()
  // must only copy values out (it may run several times). A long copy that
  // writes keep spoiling holds the next writes back until it got through.
  template <typename Copy>
  void Read(Copy copy) const {
    if (!TryCopy(copy)) CopyAgain(copy);
  }

  // Calls publish() between the two steps; one writer at a time.
  template <typename Publish>
  void Write(Publish publish) {
    SpinUntil([&] { return waitingReaders_.load() == 0; });
    uint64_t begin = count_.load(std::memory_order_relaxed);
    count_.store(begin + 1, std::memory_order_relaxed);  // seen before any value: they are stored with release
    publish();
    count_.store(begin + 2, std::memory_order_release);
  }

 private:
  static constexpr int kAttemptsBeforeHoldingWritesBack = 4;

  // Out of line, so that the one copy of almost every read stays short.
  template <typename Copy>
  [[gnu::noinline]] void CopyAgain(Copy& copy) const {
    for (int attempt = 2; attempt <= kAttemptsBeforeHoldingWritesBack; ++attempt) {
      if (TryCopy(copy)) return;
    }
    waitingReaders_.fetch_add(1);
    while (!TryCopy(copy)) {
    }
    waitingReaders_.fetch_sub(1);
  }
  template <typename Copy>
  bool TryCopy(Copy& copy) const {
    const uint64_t begin = ReadBegin();
    copy();
    return !ReadRetry(begin);
  }
  uint64_t ReadBegin() const {
    uint64_t begin = 0;
    SpinUntil([&] {
      begin = count_.load(std::memory_order_acquire);
      return (begin & 1) == 0;
    });
    return begin;
  }
  // True when the copies made since `begin` may be torn and must be made
  // again. The values were loaded with acquire, so this load comes after them.
  bool ReadRetry(uint64_t begin) const { return count_.load(std::memory_order_relaxed) != begin; }

  std::atomic<uint64_t> count_{0};
  mutable std::atomic<int> waitingReaders_{0};
};

// A shared pointer to an immutable value, copied and replaced under a lock
// held for the pointer's copy or swap alone.
class BoxedValue {
 public:
  std::shared_ptr<const Variant> Load() const {
    Lock();
    std::shared_ptr<const Variant> value = value_;
    Unlock();
    return value;
  }
  // The value replaced is freed after the lock is let go.
  void Store(std::shared_ptr<const Variant> value) {
    Lock();
    value_.swap(value);
    Unlock();
  }

 private:
  void Lock() const {
    SpinUntil([&] { return !busy_.exchange(true, std::memory_order_acquire); });
  }
  void Unlock() const { busy_.store(false, std::memory_order_release); }

  mutable std::atomic<bool> busy_{false};
  std::shared_ptr<const Variant> value_;
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
    if (prepared.kind == kBoxed) boxed_.Store(std::move(prepared.boxed));
    bits_.store(prepared.bits, std::memory_order_release);
    kind_.store(prepared.kind, std::memory_order_release);
  }

  // Copies the value into `out`; false, `out` untouched, while none was
  // ever stored. Trust the copy only when ValueSequence says no write came
  // in between.
  bool LoadInto(Variant& out) const {
    const uint64_t bits = bits_.load(std::memory_order_acquire);
    switch (kind_.load(std::memory_order_acquire)) {
      case kEmpty: out = Variant(); return true;
      case kBoolean: out = Variant(bits != 0); return true;
      case kInteger: out = Variant(static_cast<int16_t>(bits)); return true;
      case kLong: out = Variant(static_cast<int32_t>(bits)); return true;
      case kSingle: out = Variant(std::bit_cast<float>(static_cast<uint32_t>(bits))); return true;
      case kDouble: out = Variant(std::bit_cast<double>(bits)); return true;
      case kBoxed: {
        auto boxed = boxed_.Load();
        out = boxed ? *boxed : Variant();
        return true;
      }
      default: return false;
    }
  }
  std::optional<Variant> Load() const {
    Variant value;
    if (!LoadInto(value)) return std::nullopt;
    return value;
  }

 private:
  enum Kind : uint32_t { kNone, kEmpty, kBoolean, kInteger, kLong, kSingle, kDouble, kBoxed };

  std::atomic<uint32_t> kind_{kNone};
  std::atomic<uint64_t> bits_{0};
  BoxedValue boxed_;
};

}  // namespace queldb
