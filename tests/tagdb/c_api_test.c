/* The C interface used from C: handles, by-reference arguments, arrays from 1. */
#define _POSIX_C_SOURCE 200809L
#include <math.h>
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "queldb/queldb.h"

static int failures = 0;

#define CHECK(condition)                                              \
  do {                                                                \
    if (!(condition)) {                                               \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                     \
    }                                                                 \
  } while (0)

static double NumberOf(const QuelVariant* variant) {
  double value = NAN;
  CHECK(quel_variant_get_double(variant, &value));
  return value;
}

static char folder[] = "/tmp/tagdb-c-XXXXXX";

static void StartModbus(void) {
  char path[256];
  CHECK(mkdtemp(folder) != NULL);
  snprintf(path, sizeof path, "%s/KVD.INI", folder);
  FILE* ini = fopen(path, "w");
  fputs("[IOType]\nIODevice=Modbus\n", ini);
  fclose(ini);
  setenv("QUELDB_SYSTEM_DIR", folder, 1);
}

static void TestWriteAndRead(QuelDb* writer, QuelDb* reader) {
  QuelVariant* address = quel_variant_new();
  QuelVariant* values = quel_variant_new();
  QuelVariant* response = quel_variant_new();
  int16_t numOfRegs = 0, ioType = 2;
  int32_t fromStart = 0;

  quel_variant_set_long(address, 40001);
  quel_variant_set_array(values, 2);
  quel_variant_set_integer(quel_variant_element(values, 1), 123);
  quel_variant_set_integer(quel_variant_element(values, 2), 4567);
  CHECK(quel_variant_element(values, 0) == NULL);
  CHECK(quel_variant_element(values, 3) == NULL);
  numOfRegs = 2;
  quel_db_write_to_database(writer, address, values, &numOfRegs, &fromStart, NULL);
  CHECK(fromStart == 1); /* 0 became 1 and was written back */

  /* A second instance sees the same values. */
  CHECK(quel_db_read_plc_value(reader, address, response, NULL, &ioType, NULL) == QUELDB_TRUE);
  CHECK(fabs(NumberOf(response) - 123.4567) < 1e-9);

  quel_variant_set_array(response, 2);
  numOfRegs = 2;
  ioType = 0;
  CHECK(quel_db_read_plc_value(reader, address, response, &numOfRegs, &ioType, NULL) == QUELDB_TRUE);
  CHECK(quel_variant_type(quel_variant_element(response, 2)) == QUELDB_INTEGER);
  CHECK(NumberOf(quel_variant_element(response, 2)) == 4567);

  quel_variant_set_text(address, "NoSuchTag");
  quel_db_write_to_database(writer, address, values, NULL, NULL, NULL);
  CHECK(quel_variant_type(address) == QUELDB_BOOLEAN);
  CHECK(NumberOf(address) == 0);

  quel_variant_free(address);
  quel_variant_free(values);
  quel_variant_free(response);
}

/* Text comes back cut to the caller's buffer; 45 entries wait at most, the
 * next request is refused and says so, and the oldest comes out first. */
static void TestQueue(QuelDb* writer, QuelDb* reader) {
  QuelVariant* address = quel_variant_new();
  QuelVariant* value = quel_variant_new();
  int16_t size = 0, type = 4;
  char text[8];
  int i;

  quel_variant_set_text(address, "1;40010");
  quel_variant_set_text(value, "a long text");
  quel_db_write_que_plc(writer, address, value, &size, &type);
  CHECK(size == 1);
  quel_variant_set_empty(value);
  size = 0;
  type = 0;
  CHECK(quel_db_read_que_data(reader, address, value, &size, &type) == QUELDB_TRUE);
  CHECK(size == 1 && type == 4);
  CHECK(quel_variant_get_text(value, text, sizeof text) == 11);
  CHECK(strcmp(text, "a long ") == 0); /* cut to fit, always terminated */
  CHECK(quel_db_read_que_data(reader, address, value, NULL, NULL) == QUELDB_FALSE);

  for (i = 1; i <= 45; ++i) {
    quel_variant_set_long(address, i);
    CHECK(quel_db_write_que_plc(writer, address, value, &size, &type) == QUELDB_TRUE);
  }
  CHECK(quel_db_write_que_plc(writer, address, value, NULL, NULL) == QUELDB_FALSE);
  for (i = 1; quel_db_read_que_data(reader, address, value, NULL, NULL) == QUELDB_TRUE; ++i) CHECK(NumberOf(address) == i);
  CHECK(i == 46);
  quel_variant_free(address);
  quel_variant_free(value);
}

/* What a host can learn of the library's settings and its last tag load. */
static void TestStatus(void) {
  char text[512];
  CHECK(strcmp(quel_version(), "1.0.0") >= 0 && strchr(quel_version(), '.') != NULL);
  CHECK(quel_db_protocol_code() == 1);
  CHECK(quel_db_database_folder(text, sizeof text) == (int32_t)strlen(folder) + 1);
  CHECK(strncmp(text, folder, strlen(folder)) == 0);
  CHECK(quel_db_tag_count() == 0);
  CHECK(quel_db_last_load_error(text, sizeof text) > 0); /* no database file yet */
  CHECK(strstr(text, "Quelontrol.mdb") != NULL);
  CHECK(QUELDB_IO_SCALED_WORD == 20 && QUELDB_IO_BITS == 18 && QUELDB_IO_TAKE_HANDOFF == 966 &&
        QUELDB_IO_FILL_HANDOFF == 9666);
}

/* A host's exit handler registered before the library was first used runs
 * after the library's own clean-up: the calls must still work. */
static void CallAtExit(void) {
  QuelDb* db = quel_db_new();
  QuelVariant* address = quel_variant_new();
  QuelVariant* value = quel_variant_new();
  quel_variant_set_text(address, "1;40500");
  quel_variant_set_array(value, 1);
  quel_variant_set_integer(quel_variant_element(value, 1), 9);
  quel_db_write_to_database(db, address, value, NULL, NULL, NULL);
  CHECK(quel_db_read_plc_value(db, address, value, NULL, NULL, NULL) == QUELDB_TRUE);
  CHECK(NumberOf(quel_variant_element(value, 1)) == 9);
  CHECK(quel_db_write_que_plc(db, address, value, NULL, NULL) == QUELDB_TRUE);
  quel_variant_free(address);
  quel_variant_free(value);
  quel_db_free(db);
  if (failures > 0) {
    fflush(stdout);
    _exit(1);
  }
}

static void TestPropertiesAndBadHandles(QuelDb* db) {
  CHECK(quel_db_get_enabled(db) == 0 && quel_db_get_border_style(db) == 0);
  quel_db_set_enabled(db, 1);
  quel_db_set_border_style(db, 2);
  CHECK(quel_db_get_enabled(db) == 1 && quel_db_get_border_style(db) == 2);
  quel_db_refresh(db);
  CHECK(quel_db_read_plc_value(NULL, NULL, NULL, NULL, NULL, NULL) == QUELDB_FALSE);
  CHECK(quel_variant_get_text(NULL, NULL, 0) == -1);
  quel_variant_free(NULL);
  quel_db_free(NULL);
}

/* A tag added to the database file is known once the table is reloaded. */
static void TestLoadTagDatabase(QuelDb* db) {
  QuelVariant* address = quel_variant_new();
  QuelVariant* response = quel_variant_new();
  char path[256];
  sqlite3* file = NULL;

  snprintf(path, sizeof path, "%s/Quelontrol.mdb", folder);
  CHECK(sqlite3_open(path, &file) == SQLITE_OK);
  CHECK(sqlite3_exec(file,
                     "CREATE TABLE TagData (NAME TEXT, REGAB TEXT);"
                     "INSERT INTO TagData VALUES ('Speed', '1;40001');",
                     NULL, NULL, NULL) == SQLITE_OK);
  sqlite3_close(file);
  quel_db_load_tag_database();
  CHECK(quel_db_tag_count() == 1);
  quel_variant_set_text(address, "Speed"); /* 40001 holds 123 since TestWriteAndRead */
  CHECK(quel_db_read_plc_value(db, address, response, NULL, NULL, NULL) == QUELDB_TRUE);
  CHECK(NumberOf(response) == 123);

  unlink(path);
  quel_variant_free(address);
  quel_variant_free(response);
}

int main(void) {
  atexit(CallAtExit);
  StartModbus();
  QuelDb* first = quel_db_new();
  QuelDb* second = quel_db_new();
  CHECK(first != NULL && second != NULL);
  TestWriteAndRead(first, second);
  TestQueue(first, second);
  TestStatus();
  TestPropertiesAndBadHandles(first);
  TestLoadTagDatabase(second);
  quel_db_free(first);
  quel_db_free(second);

  char path[256];
  snprintf(path, sizeof path, "%s/KVD.INI", folder);
  unlink(path);
  rmdir(folder);
  printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
