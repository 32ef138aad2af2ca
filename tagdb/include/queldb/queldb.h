/* QuelDB for hosts written in C or other languages: opaque handles for a Db
 * and for variants, one function per Db method. The semantics are those of
 * queldb::Db: queldb/db.h describes where KVD.INI is looked for, the address
 * grammars of the three protocol families (Modbus "3;12;40001", PLCDirect
 * "1;V,2000" read as octal, Allen-Bradley "N7:10.2/3" and "B3/37"), the
 * float pairs, bits and scaling of the type codes below, and the hand-off.
 * By-reference arguments are pointers; a NULL pointer for an optional integer
 * means "omitted" (0).
 *
 * Threads: every quel_db_* function may be called from any thread, also from
 * atexit handlers and static destructors; each call is atomic. A variant is
 * an ordinary object: do not use one variant in two threads at once. */
#ifndef QUELDB_QUELDB_H
#define QUELDB_QUELDB_H

#include <stddef.h>
#include <stdint.h>

#include "queldb/export.h"

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

/* Data type codes (IOType, ioDataType): the members of enIODataType, then the
 * three codes with a meaning of their own. */
enum {
  QUELDB_IO_WORD = 0,
  QUELDB_IO_DWORD = 1,
  QUELDB_IO_FLOAT = 2, /* Modbus, PLCDirect reads: register r + register r+1 / 10000 */
  QUELDB_IO_DFLOAT = 3,
  QUELDB_IO_STRING = 4,
  QUELDB_IO_SCALED_WORD = 20, /* (raw + Offset) * Scale of the address's tag */
  QUELDB_IO_SCALED_DWORD = 21,
  QUELDB_IO_SCALED_FLOAT = 22,
  QUELDB_IO_SCALED_DFLOAT = 23,
  QUELDB_IO_SCALED_STRING = 24, /* not scaled */
  QUELDB_IO_BITS = 18,          /* read: single bits from ioIdx on */
  QUELDB_IO_TAKE_HANDOFF = 966, /* read: take the hand-off slot */
  QUELDB_IO_FILL_HANDOFF = 9666 /* write: fill the hand-off slot */
};

/* The library's version, "major.minor.revision". */
QUELDB_API const char* quel_version(void);

/* Variants: owned by the caller, freed with quel_variant_free. */
QUELDB_API QuelVariant* quel_variant_new(void);
QUELDB_API void quel_variant_free(QuelVariant* variant);
QUELDB_API int quel_variant_type(const QuelVariant* variant);
QUELDB_API void quel_variant_set_empty(QuelVariant* variant);
QUELDB_API void quel_variant_set_boolean(QuelVariant* variant, int value);
QUELDB_API void quel_variant_set_integer(QuelVariant* variant, int16_t value);
QUELDB_API void quel_variant_set_long(QuelVariant* variant, int32_t value);
QUELDB_API void quel_variant_set_single(QuelVariant* variant, float value);
QUELDB_API void quel_variant_set_double(QuelVariant* variant, double value);
/* Copies the NUL-terminated UTF-8 text. */
QUELDB_API void quel_variant_set_text(QuelVariant* variant, const char* text);
/* Makes the variant an array of `count` empty elements, indexes 1..count. */
QUELDB_API void quel_variant_set_array(QuelVariant* variant, int32_t count);
/* Number of elements; 0 when not an array. */
QUELDB_API int32_t quel_variant_count(const QuelVariant* variant);
/* Element `index` (from 1), owned by the array and valid until the array is
 * changed or freed; NULL when not an array or out of bounds. */
QUELDB_API QuelVariant* quel_variant_element(QuelVariant* variant, int32_t index);
/* The value as a number (True is -1); returns 0 when it has none. */
QUELDB_API int quel_variant_get_double(const QuelVariant* variant, double* value);
/* The value as text, NUL-terminated and cut to fit `size`; returns the full
 * length without the NUL, or -1 for an array. */
QUELDB_API int32_t quel_variant_get_text(const QuelVariant* variant, char* buffer, size_t size);

/* Db instances: all share the process-wide values, tags and queue. */
QUELDB_API QuelDb* quel_db_new(void);
QUELDB_API void quel_db_free(QuelDb* db);
QUELDB_API int quel_db_get_enabled(const QuelDb* db);
QUELDB_API void quel_db_set_enabled(QuelDb* db, int value);
QUELDB_API int16_t quel_db_get_border_style(const QuelDb* db);
QUELDB_API void quel_db_set_border_style(QuelDb* db, int16_t value);
QUELDB_API void quel_db_refresh(QuelDb* db);
QUELDB_API void quel_db_write_to_database(QuelDb* db, QuelVariant* ioAddress, QuelVariant* ioValue,
                                          int16_t* numOfRegs, int32_t* fromStartAddress, int16_t* ioType);
/* QUELDB_TRUE when queued, QUELDB_FALSE when refused: 45 entries are waiting. */
QUELDB_API int16_t quel_db_write_que_plc(QuelDb* db, QuelVariant* qBuffAddress, QuelVariant* qBuffValue,
                                         int16_t* writeSize, int16_t* ioDataType);
QUELDB_API int16_t quel_db_read_que_data(QuelDb* db, QuelVariant* quBuffAddress, QuelVariant* quBuffValue,
                                         int16_t* writeSize, int16_t* ioDataType);
QUELDB_API int16_t quel_db_read_plc_value(QuelDb* db, QuelVariant* address, QuelVariant* responseValue,
                                          int16_t* numOfRegs, int16_t* ioType, int32_t* ioIdx);
/* Reloads the shared tag table from the tag database file. */
QUELDB_API void quel_db_load_tag_database(void);

/* What the library found at start-up and at the last tag load. The texts are
 * copied as quel_variant_get_text does: NUL-terminated, cut to fit `size`;
 * the result is the full length without the NUL. */
QUELDB_API int16_t quel_db_protocol_code(void); /* 0 none, 1 Modbus .. 6 PLCDirect */
QUELDB_API int32_t quel_db_database_folder(char* buffer, size_t size);
QUELDB_API int32_t quel_db_tag_count(void);
/* Why the last load read no table; empty text when it read the file whole. */
QUELDB_API int32_t quel_db_last_load_error(char* buffer, size_t size);

#ifdef __cplusplus
}
#endif

#endif /* QUELDB_QUELDB_H */
