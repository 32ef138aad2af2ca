/* QUELDB_API marks what libqueldb.so exports; the library is built with every
 * other symbol hidden. */
#ifndef QUELDB_EXPORT_H
#define QUELDB_EXPORT_H

#if defined(__GNUC__) || defined(__clang__)
#define QUELDB_API __attribute__((visibility("default")))
#else
#define QUELDB_API
#endif

#endif /* QUELDB_EXPORT_H */
