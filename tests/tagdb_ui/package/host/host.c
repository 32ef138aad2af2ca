/* Stores a register value through the C interface and reads it back. */
#include <queldb/queldb.h>
#include <stdio.h>

int main(void) {
  QuelDb* db = quel_db_new();
  QuelVariant* address = quel_variant_new();
  QuelVariant* values = quel_variant_new();
  QuelVariant* response = quel_variant_new();
  int16_t count = 1, type = 0;
  int32_t from = 1, index = 0;
  double value = 0;

  quel_variant_set_text(address, "40001");
  quel_variant_set_array(values, 1);
  quel_variant_set_integer(quel_variant_element(values, 1), 4321);
  quel_db_write_to_database(db, address, values, &count, &from, &type);
  int16_t status = quel_db_read_plc_value(db, address, response, &count, &type, &index);
  quel_variant_get_double(response, &value);
  printf("ReadPLCValue 40001: status %d, value %g\n", status, value);

  quel_variant_free(response);
  quel_variant_free(values);
  quel_variant_free(address);
  quel_db_free(db);
  return status == QUELDB_TRUE && value == 4321 ? 0 : 1;
}
