// Stores a register value through the C++ interface and reads it back.
#include <queldb/db.h>

#include <cstdio>

int main() {
  queldb::Db db;
  db.WriteToDatabase(queldb::Variant("40003"), queldb::Variant::ArrayOf({queldb::Variant(int16_t{55})}));
  queldb::Variant response;
  const int16_t status = db.ReadPLCValue(queldb::Variant("40003"), response);
  std::printf("Db ReadPLCValue 40003: status %d, value %g\n", status, response.ToDouble().value_or(-1));
  return status == queldb::kTrue && response.ToDouble() == 55.0 ? 0 : 1;
}
