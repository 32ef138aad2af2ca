// The texts of an imported file (board descriptions, part and book labels),
// kept in large blocks that never move. A cut refers to its texts by view, so
// a file of many cuts costs no allocation per text, and the views stay valid
// until the store is cleared for the next file.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace orl {

class TextStore {
 public:
  TextStore() = default;
  // Views point into the blocks: a copy would point into the original.
  TextStore(const TextStore&) = delete;
  TextStore& operator=(const TextStore&) = delete;
  TextStore(TextStore&&) noexcept = default;
  TextStore& operator=(TextStore&&) noexcept = default;

  // A copy of `text` that lives as long as the store's contents. Every kept
  // text is valid UTF-8: one that is not is read as Windows-1252.
  std::string_view Keep(std::string_view text);
  // `kept` when it already holds the same text (consecutive records of a file
  // mostly repeat their board and tag), else a new copy.
  std::string_view KeepLike(std::string_view kept, std::string_view text) {
    return kept == text ? kept : Keep(text);
  }
  // A kept list of kept texts: every text of `texts` is kept as well.
  std::span<const std::string_view> KeepList(std::span<const std::string_view> texts);
  // Room for `count` empty views, to be filled with kept texts.
  std::span<std::string_view> NewList(std::size_t count);

  // Drops every text; views handed out before dangle from here on.
  void Clear();
  // Bytes held in blocks, used or not.
  std::size_t Capacity() const { return capacity_; }

 private:
  void* Allocate(std::size_t bytes, std::size_t alignment);
  void* AllocateInNewBlock(std::size_t bytes, std::size_t alignment);

  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::byte* next_ = nullptr;  // free room of the newest block
  std::size_t left_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace orl
