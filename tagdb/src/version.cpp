#include "queldb/db.h"
#include "queldb/queldb.h"

namespace queldb {

const char* Version() { return QUELDB_VERSION_TEXT; }

}  // namespace queldb

extern "C" const char* quel_version(void) { return queldb::Version(); }
