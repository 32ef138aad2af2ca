/* QuelDB for hosts written in C or other languages: opaque handles for a Db
 * and for variants, one function per Db method. The semantics are those of
 * queldb::Db (queldb/db.h). By-reference arguments are pointers; a NULL
 * pointer for an optional integer means "omitted" (0). Not thread-safe. */
#ifndef QUELDB_QUELDB_H
#define QUELDB_QUELDB_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct QuelDb QuelDb;
typedef struct QuelVariant QuelVariant;

/* Variant types, as queldb::VariantType. */
enum {
  QUELDB_EMPTY = 0,
  QUELDB_BOOLEAN = 1,
  QUELDB_INTEGER = 2,
  QUELDB_LONG = 3,
  QUELDB_SINGLE = 4,
  QUELDB_DOUBLE = 5,
  QUELDB_STRING = 6,
  QUELDB_ARRAY = 7
};

/* 16-bit Boolean results. */
#define QUELDB_TRUE ((int16_t)-1)
#define QUELDB_FALSE ((int16_t)0)

/* Variants: owned by the caller, freed with quel_variant_free. */
QuelVariant* quel_variant_new(void);
void quel_variant_free(QuelVariant* variant);
int quel_variant_type(const QuelVariant* variant);
void quel_variant_set_empty(QuelVariant* variant);
void quel_variant_set_boolean(QuelVariant* variant, int value);
void quel_variant_set_integer(QuelVariant* variant, int16_t value);
void quel_variant_set_long(QuelVariant* variant, int32_t value);
void quel_variant_set_single(QuelVariant* variant, float value);
void quel_variant_set_double(QuelVariant* variant, double value);
/* Copies the NUL-terminated UTF-8 text. */
void quel_variant_set_text(QuelVariant* variant, const char* text);
/* Makes the variant an array of `count` empty elements, indexes 1..count. */
void quel_variant_set_array(QuelVariant* variant, int32_t count);
/* Number of elements; 0 when not an array. */
int32_t quel_variant_count(const QuelVariant* variant);
/* Element `index` (from 1), owned by the array and valid until the array is
 * changed or freed; NULL when not an array or out of bounds. */
QuelVariant* quel_variant_element(QuelVariant* variant, int32_t index);
/* The value as a number (True is -1); returns 0 when it has none. */
int quel_variant_get_double(const QuelVariant* variant, double* value);
/* The value as text, NUL-terminated and cut to fit `size`; returns the full
 * length without the NUL, or -1 for an array. */
int32_t quel_variant_get_text(const QuelVariant* variant, char* buffer, size_t size);

/* Db instances: all share the process-wide values, tags and queue. */
QuelDb* quel_db_new(void);
void quel_db_free(QuelDb* db);
int quel_db_get_enabled(const QuelDb* db);
void quel_db_set_enabled(QuelDb* db, int value);
int16_t quel_db_get_border_style(const QuelDb* db);
void quel_db_set_border_style(QuelDb* db, int16_t value);
void quel_db_refresh(QuelDb* db);
void quel_db_write_to_database(QuelDb* db, QuelVariant* ioAddress, QuelVariant* ioValue,
                               int16_t* numOfRegs, int32_t* fromStartAddress, int16_t* ioType);
void quel_db_write_que_plc(QuelDb* db, QuelVariant* qBuffAddress, QuelVariant* qBuffValue,
                           int16_t* writeSize, int16_t* ioDataType);
int16_t quel_db_read_que_data(QuelDb* db, QuelVariant* quBuffAddress, QuelVariant* quBuffValue,
                              int16_t* writeSize, int16_t* ioDataType);
int16_t quel_db_read_plc_value(QuelDb* db, QuelVariant* address, QuelVariant* responseValue,
                               int16_t* numOfRegs, int16_t* ioType, int32_t* ioIdx);
/* Reloads the shared tag table from the tag database file. */
void quel_db_load_tag_database(void);

#ifdef __cplusplus
}
#endif

#endif /* QUELDB_QUELDB_H */
