// QuelDB: a process-wide database of PLC values addressed by PLC address or
// tag name, with a queue of values to be written to the PLC. The library never
// talks to a PLC itself: the host's driver stores polled values with
// WriteToDatabase and drains the queue with ReadQueData; its screens read with
// ReadPLCValue and queue writes with WriteQuePLC.
//
// SETTINGS. Every Db in a process shares one set of settings, tags, values,
// queue and hand-off slot, set up when the first Db is created. The settings
// file KVD.INI is looked for in the folder named by the environment variable
// QUELDB_SYSTEM_DIR when it is set and not empty, else in /etc:
//
//   [IOType]
//   IODevice=Modbus            (or ModbusPlus, ABDH, ABDHPlus, PLCDirectECOM,
//                               PLCDirect; letter case counts; anything else:
//                               no protocol, and only the hand-off slot works)
//   [DatabasePath]
//   pDatabasePath=/var/lib/queldb/   (a plain prefix of "Quelontrol.mdb": keep
//                               the trailing "/"; empty: the KVD.INI folder)
//
// A ";" starts a comment, on its own line or after a value; a value in double
// quotes is taken whole. Values are cut at 99 characters. The tags come from
// the TagData table of the SQLite file Quelontrol.mdb in that folder. Status()
// tells what was found: protocol, folder, tag count and the last load error.
//
// ADDRESSES. Which grammar applies is set by the protocol family. Anywhere an
// address is taken, a tag name may stand instead (a text that is not a plain
// number and holds none of the family's separators); the tag's REGAB is used.
//  - Modbus (Modbus, ModbusPlus): [route;...]register, up to five route
//    numbers of 16 bits, each followed by ";". "40001" and 40001 are unit 1
//    ("1;40001"); "3;12;40001" is register 40001 behind route 3;12. Register
//    numbers are decimal.
//  - PLCDirect (PLCDirectECOM, PLCDirect): [station;][prefix,]register, e.g.
//    "1;V,2000", "X,20", "V,1024". Reads take the register digits as octal,
//    the PLC's own numbering ("1;V,2000" reads what was stored as 1;V,1024;
//    a digit 8 or 9 fails the read);
//    writes take them as decimal, as a driver numbers its words. A plain
//    number reads the key 1;N but writes 0;,N, so the two never meet: give
//    PLCDirect addresses as text.
//  - Allen-Bradley (ABDH, ABDHPlus): letters [file] [":" element]
//    ["." sub-element] ["/" bit], e.g. "N7:10", "N7:10/3" (bit 3), "T4:1.2"
//    (sub-element 2), "I:1/3", and the short bit form "B3/37" (bit 37 of file
//    B3: element 2, bit 5). Files O, I and S take file numbers 0, 1 and 2
//    whatever is written; unknown letters are a B file. Element numbers are
//    decimal. An F (float) file sets the caller's IOType to ioFloat. An
//    address may also be a 4-element array: file type code, file number,
//    element, sub-element + 1 (0 for none).
//
// TYPES (IOType, ioDataType): see enIODataType. Reads of the Modbus and
// PLCDirect families with ioFloat or ioScaledFloat join two registers into one
// float: register r is the whole part, r + 1 the fraction in ten-thousandths
// (123 and 4567 read 123.4567). ioBits (18) reads single bits from bit ioIdx
// on, running on into the next registers (16 bits each); so does an
// Allen-Bradley address that names no bit (one that names a bit reads that
// bit, whatever ioIdx). Allen-Bradley reads never join two elements. The
// scaled codes (20..23, and any code above 24) give (raw + Offset) * Scale of the tag whose
// REGAB equals the address with its route ("1;40001", not "40001"); an AB read
// scales its first value by the tag named in the address. A scaled read whose tag is not found
// returns False with the raw values in place. All other codes return each
// register's stored value as it is. A value never stored reads as 0.
//
// HAND-OFF. One value can be handed from one party to another: WriteToDatabase
// with IOType ioFillHandoff (9666) fills the slot; ReadPLCValue with IOType
// ioTakeHandoff (966) takes it, returning False (!) with the value and the
// sender's address, or True with nothing changed when nothing is waiting.
// Empty, 0 and False are never handed over.
//
// THREADS. Every call, of Db and of the C interface, may be made from any
// thread at any time, including from a host's static destructors at exit.
// Each call is atomic: the registers one WriteToDatabase stores are never read
// half old and half new, and every entry WriteQuePLC accepts is delivered by
// ReadQueData exactly once, in order. Reads run side by side and never wait
// for a write in progress (only, once, for a write storing a register never
// stored before, and for a tag load swapping its table). The arguments are the
// caller's: do not hand the same Variant to two calls running at once.
//
// ARGUMENTS. The by-reference methods take the host's variables and write back
// what they change (optional counts given as 0 become 1, an unknown address
// becomes False); an omitted optional argument is passed as 0. The overloads
// taking values are for everyday calls: db.ReadPLCValue("40001", response) or
// db.ReadPLCValue("Speed", response, 1, queldb::ioScaledWord).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "queldb/export.h"
#include "queldb/variant.h"

namespace queldb {

// Data type codes of ReadPLCValue, WriteQuePLC, ReadQueData and the tag table.
enum enIODataType : int16_t {
  ioWord = 0,
  ioDWord = 1,
  ioFloat = 2,  // Modbus and PLCDirect reads: two registers, whole + ten-thousandths
  ioDFloat = 3,
  ioString = 4,
  ioScaledWord = 20,  // scaled: (raw + Offset) * Scale of the address's tag
  ioScaledDWord = 21,
  ioScaledFloat = 22,  // a float pair, scaled
  ioScaledDFloat = 23,
  ioScaledString = 24,  // not scaled
};

// Further IOType codes.
inline constexpr int16_t ioBits = 18;          // ReadPLCValue: single bits from ioIdx on
inline constexpr int16_t ioTakeHandoff = 966;  // ReadPLCValue: take the hand-off slot
inline constexpr int16_t ioFillHandoff = 9666; // WriteToDatabase: fill the hand-off slot

// 16-bit Boolean results.
inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

// The library's settings and its last tag load, as a host may check them.
struct LibraryStatus {
  int16_t ProtocolCode = 0;    // 0 none, 1 Modbus, 2 ModbusPlus, 3 ABDH, 4 ABDHPlus,
                               // 5 PLCDirectECOM, 6 PLCDirect
  std::string DatabaseFolder;  // the prefix of "Quelontrol.mdb"
  int32_t TagCount = 0;        // tags in the table in use
  std::string LoadError;       // why the last load read no table (missing, locked,
                               // damaged file...); empty when it read the file whole
};

// One entry taken from the write queue.
struct QueuedWrite {
  Variant address;
  Variant value;
  int16_t WriteSize = 1;
  int16_t ioDataType = 0;
};

// The library's version, "major.minor.revision".
QUELDB_API const char* Version();

class QUELDB_API Db {
 public:
  Db();
  Db(const Db& other);
  Db& operator=(const Db& other);

  // Stored and returned only; setting one reports its name ("Enabled",
  // "BorderStyle") to the property-change handler, on the setting thread, so
  // the host saves it. Set the handler before sharing the Db between threads.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  int16_t BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int16_t value);
  void SetPropertyChangedHandler(std::function<void(const std::string&)> handler);

  // Does nothing.
  void Refresh();

  // Stores polled values. Modbus and PLCDirect: IOValue(FromStartAddress ..
  // NumOfRegs) go to consecutive registers from IOAddress (NumOfRegs is the
  // last index of IOValue, not a count). Allen-Bradley: NumOfRegs consecutive
  // elements take IOValue(n), or IOValue itself when it is no array. IOType
  // 9666 fills the hand-off slot instead. IOAddress becomes False when it is
  // an unknown tag, does not parse, or would put a value past register or
  // element 2147483647 (or below -2147483648); nothing is stored then.
  void WriteToDatabase(Variant& IOAddress, Variant& IOValue, int16_t& NumOfRegs,
                       int32_t& FromStartAddress, int16_t& IOType);
  // The same with values; kFalse where IOAddress would have become False.
  int16_t WriteToDatabase(const Variant& IOAddress, const Variant& IOValue, int16_t NumOfRegs = 1,
                          int32_t FromStartAddress = 1, int16_t IOType = ioWord);

  // Queues a value for the PLC: kTrue when accepted, kFalse when refused
  // because 45 entries are waiting (retry after the driver has drained some).
  int16_t WriteQuePLC(Variant& qBuffAddress, Variant& qBuffValue, int16_t& WriteSize,
                      int16_t& ioDataType);
  int16_t WriteQuePLC(const Variant& qBuffAddress, const Variant& qBuffValue, int16_t WriteSize = 1,
                      int16_t ioDataType = ioWord);

  // Takes the oldest queued entry: kTrue with the outputs set, or kFalse with
  // them untouched when none is waiting.
  int16_t ReadQueData(Variant& quBuffAddress, Variant& quBuffValue, int16_t& WriteSize,
                      int16_t& ioDataType);
  std::optional<QueuedWrite> ReadQueData();

  // Reads stored values (0 for a register never written) into ResponseValue,
  // or into its elements from 1 when NumOfRegs >= 2. Returns kTrue, or kFalse
  // for an address that does not parse, an unknown tag, a scaled read whose
  // tag is not found, or a hand-off value delivered (IOType 966).
  int16_t ReadPLCValue(Variant& address, Variant& ResponseValue, int16_t& NumOfRegs,
                       int16_t& IOType, int32_t& ioIdx);
  // The same with values; a hand-off delivered this way gives no sender address.
  int16_t ReadPLCValue(const Variant& address, Variant& ResponseValue, int16_t NumOfRegs = 1,
                       int16_t IOType = ioWord, int32_t ioIdx = 0);

  // Reloads the shared tag table from the database file, as the tag editor
  // does when it closes. A tag deleted or renamed since stays readable by its
  // old name, at the address it had; a load that fails keeps the tags in use.
  static void LoadTagDatabase();
  // The tag database file: DatabaseFolder followed by "Quelontrol.mdb".
  static std::string TagDatabaseFile();
  static LibraryStatus Status();

 private:
  void PropertyChanged(const std::string& name);

  std::atomic<bool> enabled_ = false;
  std::atomic<int16_t> borderStyle_ = 0;
  std::function<void(const std::string&)> propertyChanged_;
};

}  // namespace queldb
