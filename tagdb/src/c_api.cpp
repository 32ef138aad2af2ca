// The C interface: handles are the C++ objects themselves behind opaque types.
// No exception crosses into C: every entry point absorbs them.
#include "queldb/queldb.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "queldb/db.h"

struct QuelDb {
  queldb::Db db;
};

using queldb::Variant;

// The C names of the type codes stand for the same numbers as the C++ ones.
constexpr bool SameCode(int c, int cpp) { return c == cpp; }
static_assert(SameCode(QUELDB_IO_WORD, queldb::ioWord) && SameCode(QUELDB_IO_DWORD, queldb::ioDWord) &&
              SameCode(QUELDB_IO_FLOAT, queldb::ioFloat) && SameCode(QUELDB_IO_DFLOAT, queldb::ioDFloat) &&
              SameCode(QUELDB_IO_STRING, queldb::ioString) &&
              SameCode(QUELDB_IO_SCALED_WORD, queldb::ioScaledWord) &&
              SameCode(QUELDB_IO_SCALED_DWORD, queldb::ioScaledDWord) &&
              SameCode(QUELDB_IO_SCALED_FLOAT, queldb::ioScaledFloat) &&
              SameCode(QUELDB_IO_SCALED_DFLOAT, queldb::ioScaledDFloat) &&
              SameCode(QUELDB_IO_SCALED_STRING, queldb::ioScaledString) &&
              SameCode(QUELDB_IO_BITS, queldb::ioBits) && SameCode(QUELDB_IO_TAKE_HANDOFF, queldb::ioTakeHandoff) &&
              SameCode(QUELDB_IO_FILL_HANDOFF, queldb::ioFillHandoff));

namespace {

Variant& V(QuelVariant* variant) { return *reinterpret_cast<Variant*>(variant); }
const Variant& V(const QuelVariant* variant) { return *reinterpret_cast<const Variant*>(variant); }

// A by-reference optional argument: the caller's variable, or a local zero.
template <typename Integer>
struct OptionalArg {
  explicit OptionalArg(Integer* caller) : caller_(caller), value_(caller ? *caller : 0) {}
  ~OptionalArg() {
    if (caller_) *caller_ = value_;
  }
  Integer& Ref() { return value_; }

 private:
  Integer* caller_;
  Integer value_;
};

template <typename Action>
void Guard(Action action) {
  try {
    action();
  } catch (...) {
    // Out of memory is the only failure left here; the call has no effect.
  }
}

void Set(QuelVariant* variant, Variant value) {
  if (variant) Guard([&] { V(variant) = std::move(value); });
}

// Copies the text NUL-terminated and cut to fit; returns its full length.
int32_t CopyText(const std::string& text, char* buffer, size_t size) {
  if (buffer && size > 0) {
    std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int32_t>(text.size());
}

// The library's status, or what a host sees when it cannot be had.
queldb::LibraryStatus Status() {
  queldb::LibraryStatus status;
  Guard([&] { status = queldb::Db::Status(); });
  return status;
}

}  // namespace

extern "C" {

QuelVariant* quel_variant_new(void) { return reinterpret_cast<QuelVariant*>(new (std::nothrow) Variant()); }

void quel_variant_free(QuelVariant* variant) { delete reinterpret_cast<Variant*>(variant); }

int quel_variant_type(const QuelVariant* variant) {
  return variant ? static_cast<int>(V(variant).Type()) : QUELDB_EMPTY;
}

void quel_variant_set_empty(QuelVariant* variant) { Set(variant, Variant()); }
void quel_variant_set_boolean(QuelVariant* variant, int value) { Set(variant, Variant(value != 0)); }
void quel_variant_set_integer(QuelVariant* variant, int16_t value) { Set(variant, Variant(value)); }
void quel_variant_set_long(QuelVariant* variant, int32_t value) { Set(variant, Variant(value)); }
void quel_variant_set_single(QuelVariant* variant, float value) { Set(variant, Variant(value)); }
void quel_variant_set_double(QuelVariant* variant, double value) { Set(variant, Variant(value)); }

void quel_variant_set_text(QuelVariant* variant, const char* text) {
  Set(variant, Variant(std::string(text ? text : "")));
}

void quel_variant_set_array(QuelVariant* variant, int32_t count) {
  if (count >= 0) Set(variant, Variant::Array(static_cast<std::size_t>(count)));
}

int32_t quel_variant_count(const QuelVariant* variant) {
  return variant ? static_cast<int32_t>(V(variant).Count()) : 0;
}

QuelVariant* quel_variant_element(QuelVariant* variant, int32_t index) {
  return variant ? reinterpret_cast<QuelVariant*>(V(variant).Element(index)) : nullptr;
}

int quel_variant_get_double(const QuelVariant* variant, double* value) {
  if (!variant || !value) return 0;
  auto number = V(variant).ToDouble();
  if (!number) return 0;
  *value = *number;
  return 1;
}

int32_t quel_variant_get_text(const QuelVariant* variant, char* buffer, size_t size) {
  if (!variant) return -1;
  int32_t length = -1;
  Guard([&] {
    if (auto text = V(variant).ToText()) length = CopyText(*text, buffer, size);
  });
  return length;
}

QuelDb* quel_db_new(void) {
  QuelDb* db = nullptr;
  Guard([&] { db = new QuelDb(); });
  return db;
}

void quel_db_free(QuelDb* db) { delete db; }

int quel_db_get_enabled(const QuelDb* db) { return db && db->db.Enabled() ? 1 : 0; }

void quel_db_set_enabled(QuelDb* db, int value) {
  if (db) db->db.SetEnabled(value != 0);
}

int16_t quel_db_get_border_style(const QuelDb* db) { return db ? db->db.BorderStyle() : 0; }

void quel_db_set_border_style(QuelDb* db, int16_t value) {
  if (db) db->db.SetBorderStyle(value);
}

void quel_db_refresh(QuelDb* db) {
  if (db) db->db.Refresh();
}

void quel_db_write_to_database(QuelDb* db, QuelVariant* ioAddress, QuelVariant* ioValue,
                               int16_t* numOfRegs, int32_t* fromStartAddress, int16_t* ioType) {
  if (!db || !ioAddress || !ioValue) return;
  OptionalArg count(numOfRegs);
  OptionalArg from(fromStartAddress);
  OptionalArg type(ioType);
  Guard([&] { db->db.WriteToDatabase(V(ioAddress), V(ioValue), count.Ref(), from.Ref(), type.Ref()); });
}

int16_t quel_db_write_que_plc(QuelDb* db, QuelVariant* qBuffAddress, QuelVariant* qBuffValue,
                              int16_t* writeSize, int16_t* ioDataType) {
  if (!db || !qBuffAddress || !qBuffValue) return QUELDB_FALSE;
  OptionalArg size(writeSize);
  OptionalArg type(ioDataType);
  int16_t result = QUELDB_FALSE;
  Guard([&] { result = db->db.WriteQuePLC(V(qBuffAddress), V(qBuffValue), size.Ref(), type.Ref()); });
  return result;
}

int16_t quel_db_read_que_data(QuelDb* db, QuelVariant* quBuffAddress, QuelVariant* quBuffValue,
                              int16_t* writeSize, int16_t* ioDataType) {
  if (!db || !quBuffAddress || !quBuffValue) return QUELDB_FALSE;
  OptionalArg size(writeSize);
  OptionalArg type(ioDataType);
  int16_t result = QUELDB_FALSE;
  Guard([&] { result = db->db.ReadQueData(V(quBuffAddress), V(quBuffValue), size.Ref(), type.Ref()); });
  return result;
}

int16_t quel_db_read_plc_value(QuelDb* db, QuelVariant* address, QuelVariant* responseValue,
                               int16_t* numOfRegs, int16_t* ioType, int32_t* ioIdx) {
  if (!db || !address || !responseValue) return QUELDB_FALSE;
  OptionalArg count(numOfRegs);
  OptionalArg type(ioType);
  OptionalArg index(ioIdx);
  int16_t result = QUELDB_FALSE;
  Guard([&] {
    result = db->db.ReadPLCValue(V(address), V(responseValue), count.Ref(), type.Ref(), index.Ref());
  });
  return result;
}

void quel_db_load_tag_database(void) {
  Guard([] { queldb::Db::LoadTagDatabase(); });
}

int16_t quel_db_protocol_code(void) { return Status().ProtocolCode; }

int32_t quel_db_database_folder(char* buffer, size_t size) { return CopyText(Status().DatabaseFolder, buffer, size); }

int32_t quel_db_tag_count(void) { return Status().TagCount; }

int32_t quel_db_last_load_error(char* buffer, size_t size) { return CopyText(Status().LoadError, buffer, size); }

}  // extern "C"
