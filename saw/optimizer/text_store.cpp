#include "saw/optimizer/text_store.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "saw/optimizer/text_encoding.h"

namespace orl {

namespace {
// Large enough that a file's texts take few blocks, small enough that a
// small file does not hold much memory it never uses.
constexpr std::size_t BlockBytes = std::size_t{1} << 20;
}  // namespace

std::string_view TextStore::Keep(std::string_view text) {
  if (text.empty()) return {};
  char* copy = static_cast<char*>(Allocate(text.size(), 1));
  if (CopyAscii(copy, text.data(), text.size()) || IsValidUtf8(text)) [[likely]]
    return {copy, text.size()};
  // Read as Windows-1252; the copy's room stays unused.
  std::string converted;
  AppendNonAsciiAsUtf8(converted, text);
  copy = static_cast<char*>(Allocate(converted.size(), 1));
  std::memcpy(copy, converted.data(), converted.size());
  return {copy, converted.size()};
}

std::span<const std::string_view> TextStore::KeepList(std::span<const std::string_view> texts) {
  std::span<std::string_view> list = NewList(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) list[i] = Keep(texts[i]);
  return list;
}

std::span<std::string_view> TextStore::NewList(std::size_t count) {
  if (count == 0) return {};
  void* room = Allocate(count * sizeof(std::string_view), alignof(std::string_view));
  auto* first = std::launder(new (room) std::string_view[count]);
  return {first, count};
}

void TextStore::Clear() {
  blocks_.clear();
  next_ = nullptr;
  left_ = 0;
  capacity_ = 0;
}

void* TextStore::Allocate(std::size_t bytes, std::size_t alignment) {
  const std::size_t padding = (alignment - reinterpret_cast<std::uintptr_t>(next_) % alignment) % alignment;
  if (next_ == nullptr || padding + bytes > left_) return AllocateInNewBlock(bytes, alignment);
  std::byte* room = next_ + padding;
  next_ = room + bytes;
  left_ -= padding + bytes;
  return room;
}

void* TextStore::AllocateInNewBlock(std::size_t bytes, std::size_t alignment) {
  // A text larger than a block gets a block of its own size; the newest
  // block keeps its free room for the texts that follow.
  const std::size_t size = std::max(BlockBytes, bytes + alignment);
  auto block = std::make_unique_for_overwrite<std::byte[]>(size);
  std::byte* start = block.get();
  blocks_.push_back(std::move(block));
  capacity_ += size;
  const std::size_t padding = (alignment - reinterpret_cast<std::uintptr_t>(start) % alignment) % alignment;
  if (size > BlockBytes) return start + padding;  // its own block: the free room stays where it was
  next_ = start + padding + bytes;
  left_ = size - padding - bytes;
  return start + padding;
}

}  // namespace orl
