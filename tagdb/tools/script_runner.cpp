#include "script_runner.h"

#include <limits>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace queldb::tool {
namespace {

// An argument's value. Its type is the kind the call takes (a variant, a
// 16-bit or a 32-bit integer); an omitted argument keeps the value it starts with.
using ArgValue = std::variant<Variant, int16_t, int32_t>;
const ArgValue kValue = Variant();
const ArgValue kInt16 = int16_t{0};
const ArgValue kInt32 = int32_t{0};

struct Argument {
  const char* name;
  ArgValue value;
};

template <typename... Cases>
struct Overloaded : Cases... {
  using Cases::operator()...;
};

// The by-reference arguments of one call: read from the request, handed to
// the method as references, printed as they stand afterwards.
class Arguments {
 public:
  Arguments(const Json& request, std::vector<Argument> arguments) : arguments_(std::move(arguments)) {
    for (const auto& [key, value] : request.items()) {
      if (key != "call" && !Find(key)) throw std::invalid_argument("unknown argument \"" + key + "\"");
    }
    for (Argument& argument : arguments_) {
      if (!request.contains(argument.name)) continue;
      const Json& given = request.at(argument.name);
      std::visit(Overloaded{[&](Variant& value) { value = VariantFromJson(given); },
                            [&](auto& number) {
                              number = Integer<std::decay_t<decltype(number)>>(argument.name, given);
                            }},
                 argument.value);
    }
  }

  Variant& Value(const char* name) { return std::get<Variant>(At(name)); }
  int16_t& Int16(const char* name) { return std::get<int16_t>(At(name)); }
  int32_t& Int32(const char* name) { return std::get<int32_t>(At(name)); }

  Json Output() const {
    Json out = Json::object();
    for (const Argument& argument : arguments_) {
      out[argument.name] = std::visit(Overloaded{[](const Variant& value) { return VariantToJson(value); },
                                                 [](auto number) { return Json(number); }},
                                      argument.value);
    }
    return out;
  }

 private:
  Argument* Find(const std::string& name) {
    for (Argument& argument : arguments_) {
      if (name == argument.name) return &argument;
    }
    return nullptr;
  }

  ArgValue& At(const char* name) {
    Argument* argument = Find(name);
    if (!argument) throw std::logic_error(std::string("no argument \"") + name + "\"");
    return argument->value;
  }

  template <typename Int>
  static Int Integer(const char* name, const Json& given) {
    if (!given.is_number_integer() || given.get<int64_t>() < std::numeric_limits<Int>::min() ||
        given.get<int64_t>() > std::numeric_limits<Int>::max()) {
      throw std::invalid_argument(std::string(name) + " must be a " + std::to_string(sizeof(Int) * 8) +
                                  "-bit integer");
    }
    return static_cast<Int>(given.get<int64_t>());
  }

  std::vector<Argument> arguments_;
};

Json WithResult(int16_t result, Json arguments) {
  Json out = {{"result", result}};
  out.update(arguments);
  return out;
}

Json WriteToDatabase(Db& db, const Json& request) {
  Arguments args(request, {{"IOAddress", kValue}, {"IOValue", kValue}, {"NumOfRegs", kInt16},
                           {"FromStartAddress", kInt32}, {"IOType", kInt16}});
  db.WriteToDatabase(args.Value("IOAddress"), args.Value("IOValue"), args.Int16("NumOfRegs"),
                     args.Int32("FromStartAddress"), args.Int16("IOType"));
  return args.Output();
}

Json WriteQuePLC(Db& db, const Json& request) {
  Arguments args(request, {{"qBuffAddress", kValue}, {"qBuffValue", kValue},
                           {"WriteSize", kInt16}, {"ioDataType", kInt16}});
  int16_t result = db.WriteQuePLC(args.Value("qBuffAddress"), args.Value("qBuffValue"), args.Int16("WriteSize"),
                                  args.Int16("ioDataType"));
  return WithResult(result, args.Output());
}

Json ReadQueData(Db& db, const Json& request) {
  Arguments args(request, {{"quBuffAddress", kValue}, {"quBuffValue", kValue},
                           {"WriteSize", kInt16}, {"ioDataType", kInt16}});
  int16_t result = db.ReadQueData(args.Value("quBuffAddress"), args.Value("quBuffValue"),
                                  args.Int16("WriteSize"), args.Int16("ioDataType"));
  return WithResult(result, args.Output());
}

Json ReadPLCValue(Db& db, const Json& request) {
  Arguments args(request, {{"address", kValue}, {"ResponseValue", kValue}, {"NumOfRegs", kInt16},
                           {"IOType", kInt16}, {"ioIdx", kInt32}});
  int16_t result = db.ReadPLCValue(args.Value("address"), args.Value("ResponseValue"), args.Int16("NumOfRegs"),
                                   args.Int16("IOType"), args.Int32("ioIdx"));
  return WithResult(result, args.Output());
}

Json NoArguments(const Json& request) {
  Arguments args(request, {});
  return args.Output();
}

Json CurrentSettings() {
  LibraryStatus status = Db::Status();
  return {{"ProtocolCode", status.ProtocolCode},
          {"DatabaseFolder", status.DatabaseFolder},
          {"TagCount", status.TagCount},
          {"LoadError", status.LoadError}};
}

}  // namespace

void ScriptRunner::Run(std::istream& in, std::ostream& out) {
  std::string line;
  while (std::getline(in, line)) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    out << RunLine(line).dump(-1, ' ', false, Json::error_handler_t::replace) << '\n' << std::flush;
  }
}

Json ScriptRunner::RunLine(const std::string& line) {
  Json request = Json::parse(line, nullptr, false);
  if (request.is_discarded()) return {{"error", "not valid JSON"}};
  if (!request.is_object() || !request.contains("call") || !request["call"].is_string()) {
    return {{"error", "a line must be an object naming a \"call\""}};
  }
  try {
    return Call(request);
  } catch (const std::exception& e) {
    return {{"error", e.what()}};
  }
}

Json ScriptRunner::Call(const Json& request) {
  const std::string call = request["call"].get<std::string>();
  if (call == "WriteToDatabase") return WriteToDatabase(db_, request);
  if (call == "WriteQuePLC") return WriteQuePLC(db_, request);
  if (call == "ReadQueData") return ReadQueData(db_, request);
  if (call == "ReadPLCValue") return ReadPLCValue(db_, request);
  if (call == "Refresh") {
    Json out = NoArguments(request);
    db_.Refresh();
    return out;
  }
  if (call == "LoadTagDatabase") {
    Json out = NoArguments(request);
    Db::LoadTagDatabase();
    return out;
  }
  if (call == "Settings") {
    NoArguments(request);  // only to reject any argument: the output is the settings
    return CurrentSettings();
  }
  return {{"error", "unknown call \"" + call + "\""}};
}

}  // namespace queldb::tool
