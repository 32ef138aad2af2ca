// `queldb script`: one Db call per line of JSON, one JSON object printed per line.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "json_variant.h"
#include "queldb/db.h"

namespace queldb::tool {

class ScriptRunner {
 public:
  // Runs every line of the stream; blank lines are skipped.
  void Run(std::istream& in, std::ostream& out);
  // The object printed for one line: the call's result and its by-reference
  // arguments after the call, or {"error": "..."}.
  Json RunLine(const std::string& line);

 private:
  Json Call(const Json& request);

  Db db_;
};

}  // namespace queldb::tool
