// Variants to and from JSON for the script runner: a JSON array is an array
// indexed from 1, null is Empty, whole numbers take the smallest integer type.
#pragma once

#include <nlohmann/json.hpp>

#include "queldb/variant.h"

namespace queldb::tool {

using Json = nlohmann::ordered_json;

// Throws std::invalid_argument for JSON objects, which no variant holds.
Variant VariantFromJson(const Json& value);
Json VariantToJson(const Variant& value);

}  // namespace queldb::tool
