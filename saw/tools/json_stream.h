#pragma once
// A JSON object written member by member and its arrays element by
// element, so that output as large as a big input file is never held whole
// in memory. Text that is not UTF-8 is written with replacement characters
// rather than failing the command.
#include <nlohmann/json.hpp>
#include <ostream>
#include <string_view>

namespace orl {

class JsonObjectWriter {
 public:
  explicit JsonObjectWriter(std::ostream& out) : out_(out) { out_ << '{'; }
  JsonObjectWriter(const JsonObjectWriter&) = delete;
  JsonObjectWriter& operator=(const JsonObjectWriter&) = delete;

  template <typename Value>
  void Member(std::string_view key, const Value& value) {
    Key(key);
    Write(nlohmann::ordered_json(value));
  }

  // "key": [toJson(item) for each item]
  template <typename Items, typename ToJson>
  void ArrayMember(std::string_view key, const Items& items, ToJson toJson) {
    Key(key);
    out_ << '[';
    bool first = true;
    for (const auto& item : items) {
      if (!first) out_ << ',';
      first = false;
      Write(toJson(item));
    }
    out_ << ']';
  }

  // Closes the object and ends its line.
  void End() { out_ << "}\n"; }

 private:
  void Key(std::string_view key) {
    if (members_++ > 0) out_ << ',';
    Write(nlohmann::ordered_json(key));
    out_ << ':';
  }
  void Write(const nlohmann::ordered_json& value) {
    out_ << value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
  }

  std::ostream& out_;
  int members_ = 0;
};

}  // namespace orl
