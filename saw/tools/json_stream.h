#pragma once
// A JSON object written member by member and its arrays element by
// element, so that output as large as a big input file is never held whole
// in memory. Text that is not UTF-8 is written with replacement characters
// rather than failing the command.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

namespace orl {

namespace json_text {

inline nlohmann::ordered_json::string_t Dump(const nlohmann::ordered_json& value) {
  return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

// Appends `text` as a JSON string, as Dump writes it. Plain ASCII is escaped
// here; text with other bytes goes to the library, which checks its UTF-8.
inline void AppendString(std::string& out, std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) {
      out += Dump(nlohmann::ordered_json(text));
      return;
    }
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          constexpr char hex[] = "0123456789abcdef";
          out += "\\u00";
          out += hex[(c >> 4) & 0xF];
          out += hex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

inline void AppendInteger(std::string& out, std::int64_t value) {
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// Appends a single-precision number as the program shows it (seven
// significant digits: 1219.2, not 1219.19995) and as Dump writes that shown
// number: "2440.0", "0.0001", "1e-05"; "null" for infinity. The seven digits
// are read back as the double Dump would be given, so the text is Dump's to
// the byte, without a JSON value or a string made for it.
inline void AppendShownNumber(std::string& out, float value) {
  if (std::isinf(value)) {
    out += "null";
    return;
  }
  double shown = 0;  // NaN shows as 0
  if (!std::isnan(value)) {
    char digits[32];  // as "%.7g" writes it
    const char* end = std::to_chars(digits, digits + sizeof digits, static_cast<double>(value),
                                    std::chars_format::general, 7).ptr;
    std::from_chars(digits, end, shown);
    if (shown == 0) shown = 0;  // -0 shows as 0
  }
  char text[64];
  out.append(text, nlohmann::detail::to_chars(text, text + sizeof text, shown));
}

}  // namespace json_text

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

  // "key": [ ... ] with each element's JSON text appended to a buffer by
  // append(buffer, item), the buffer written out in large blocks: no JSON
  // value is built for an element.
  template <typename Items, typename Append>
  void ArrayMemberAppended(std::string_view key, const Items& items, Append append) {
    constexpr std::size_t blockBytes = 64 * 1024;
    Key(key);
    std::string buffer = "[";
    buffer.reserve(blockBytes + 4096);
    bool first = true;
    for (const auto& item : items) {
      if (!first) buffer += ',';
      first = false;
      append(buffer, item);
      if (buffer.size() >= blockBytes) {
        out_.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
      }
    }
    buffer += ']';
    out_.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  }

  // Closes the object and ends its line.
  void End() { out_ << "}\n"; }

 private:
  void Key(std::string_view key) {
    if (members_++ > 0) out_ << ',';
    Write(nlohmann::ordered_json(key));
    out_ << ':';
  }
  void Write(const nlohmann::ordered_json& value) { out_ << json_text::Dump(value); }

  std::ostream& out_;
  int members_ = 0;
};

}  // namespace orl
