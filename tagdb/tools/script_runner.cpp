#include "script_runner.h"

#include <limits>
#include <map>
#include <stdexcept>
#include <vector>

#include "library_state.h"

namespace queldb::tool {
namespace {

enum class Kind { Value, Int16, Int32 };

struct ArgSpec {
  const char* name;
  Kind kind;
};

// The by-reference arguments of one call: read from the request, handed to
// the method as references, printed as they stand afterwards.
class Arguments {
 public:
  Arguments(const Json& request, std::vector<ArgSpec> argumentSpecs) : specs_(std::move(argumentSpecs)) {
    for (const auto& [key, value] : request.items()) {
      if (key != "call" && !Find(key)) throw std::invalid_argument("unknown argument \"" + key + "\"");
    }
    for (const ArgSpec& linkChoice : specs_) {
      const Json* given = request.contains(linkChoice.name) ? &request.at(linkChoice.name) : nullptr;
      if (linkChoice.kind == Kind::Value) {
        values_[linkChoice.name] = given ? VariantFromJson(*given) : Variant();
      } else if (linkChoice.kind == Kind::Int16) {
        shorts_[linkChoice.name] = static_cast<int16_t>(given ? Integer(linkChoice, *given) : 0);
      } else {
        longs_[linkChoice.name] = given ? Integer(linkChoice, *given) : 0;
      }
    }
  }

  Variant& Value(const char* name) { return values_.at(name); }
  int16_t& Int16(const char* name) { return shorts_.at(name); }
  int32_t& Int32(const char* name) { return longs_.at(name); }

  Json Output() {
    Json out = Json::object();
    for (const ArgSpec& linkChoice : specs_) {
      if (linkChoice.kind == Kind::Value) {
        out[linkChoice.name] = VariantToJson(values_.at(linkChoice.name));
      } else if (linkChoice.kind == Kind::Int16) {
        out[linkChoice.name] = shorts_.at(linkChoice.name);
      } else {
        out[linkChoice.name] = longs_.at(linkChoice.name);
      }
    }
    return out;
  }

 private:
  const ArgSpec* Find(const std::string& name) const {
    for (const ArgSpec& linkChoice : specs_) {
      if (name == linkChoice.name) return &linkChoice;
    }
    return nullptr;
  }

  static int32_t Integer(const ArgSpec& linkChoice, const Json& given) {
    const int64_t low = linkChoice.kind == Kind::Int16 ? std::numeric_limits<int16_t>::min()
                                                 : std::numeric_limits<int32_t>::min();
    const int64_t high = linkChoice.kind == Kind::Int16 ? std::numeric_limits<int16_t>::max()
                                                  : std::numeric_limits<int32_t>::max();
    if (!given.is_number_integer() || given.get<int64_t>() < low || given.get<int64_t>() > high) {
      throw std::invalid_argument(std::string(linkChoice.name) + " must be a " +
                                  (linkChoice.kind == Kind::Int16 ? "16" : "32") + "-bit integer");
    }
    return static_cast<int32_t>(given.get<int64_t>());
  }

  std::vector<ArgSpec> specs_;
  std::map<std::string, Variant> values_;
  std::map<std::string, int16_t> shorts_;
  std::map<std::string, int32_t> longs_;
};

Json WithResult(int16_t result, Json arguments) {
  Json out = {{"result", result}};
  out.update(arguments);
  return out;
}

Json WriteToDatabase(Db& db, const Json& request) {
  Arguments args(request, {{"IOAddress", Kind::Value}, {"IOValue", Kind::Value}, {"NumOfRegs", Kind::Int16},
                           {"FromStartAddress", Kind::Int32}, {"IOType", Kind::Int16}});
  db.WriteToDatabase(args.Value("IOAddress"), args.Value("IOValue"), args.Int16("NumOfRegs"),
                     args.Int32("FromStartAddress"), args.Int16("IOType"));
  return args.Output();
}

Json WriteQuePLC(Db& db, const Json& request) {
  Arguments args(request, {{"qBuffAddress", Kind::Value}, {"qBuffValue", Kind::Value},
                           {"WriteSize", Kind::Int16}, {"ioDataType", Kind::Int16}});
  db.WriteQuePLC(args.Value("qBuffAddress"), args.Value("qBuffValue"), args.Int16("WriteSize"),
                 args.Int16("ioDataType"));
  return args.Output();
}

Json ReadQueData(Db& db, const Json& request) {
  Arguments args(request, {{"quBuffAddress", Kind::Value}, {"quBuffValue", Kind::Value},
                           {"WriteSize", Kind::Int16}, {"ioDataType", Kind::Int16}});
  int16_t result = db.ReadQueData(args.Value("quBuffAddress"), args.Value("quBuffValue"),
                                  args.Int16("WriteSize"), args.Int16("ioDataType"));
  return WithResult(result, args.Output());
}

Json ReadPLCValue(Db& db, const Json& request) {
  Arguments args(request, {{"address", Kind::Value}, {"ResponseValue", Kind::Value}, {"NumOfRegs", Kind::Int16},
                           {"IOType", Kind::Int16}, {"ioIdx", Kind::Int32}});
  int16_t result = db.ReadPLCValue(args.Value("address"), args.Value("ResponseValue"), args.Int16("NumOfRegs"),
                                   args.Int16("IOType"), args.Int32("ioIdx"));
  return WithResult(result, args.Output());
}

Json NoArguments(const Json& request) {
  Arguments args(request, {});
  return args.Output();
}

Json CurrentSettings() {
  const LibraryState& state = Library();
  return {{"ProtocolCode", state.settings.protocolCode},
          {"DatabaseFolder", state.settings.databaseFolder},
          {"TagCount", state.tags.LoadedCount()}};
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
  if (call == "Settings") return (NoArguments(request), CurrentSettings());
  return {{"error", "unknown call \"" + call + "\""}};
}

}  // namespace queldb::tool
