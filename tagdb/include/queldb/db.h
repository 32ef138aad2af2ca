// QuelDB: a process-wide database of PLC values addressed by PLC address or
// tag name, with a queue of values to be written to the PLC. The library never
// talks to a PLC itself: the host's driver stores polled values with
// WriteToDatabase and drains the queue with ReadQueData; its screens read with
// ReadPLCValue and queue writes with WriteQuePLC.
//
// Every Db in a process shares one set of settings, tags, values, queue and
// hand-off slot, set up from KVD.INI and Quelontrol.mdb when the first Db is
// created. Not thread-safe: call from one thread, as a user-interface host does.
//
// Arguments are by reference, as the host's variables: the methods write back
// what they change (optional counts given as 0 become 1, an unknown address
// becomes False). An omitted optional argument is passed as 0.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "queldb/variant.h"

namespace queldb {

// Data type codes of ReadPLCValue, WriteQuePLC, ReadQueData and the tag table.
enum enIODataType : int16_t {
  ioWord = 0,
  ioDWord = 1,
  ioFloat = 2,
  ioDFloat = 3,
  ioString = 4,
  ioScaledWord = 20,
  ioScaledDWord = 21,
  ioScaledFloat = 22,
  ioScaledDFloat = 23,
  ioScaledString = 24,
};

// Further IOType codes.
inline constexpr int16_t ioBits = 18;         // ReadPLCValue: single bits from ioIdx on
inline constexpr int16_t ioTakeHandoff = 966;  // ReadPLCValue: take the hand-off slot
inline constexpr int16_t ioFillHandoff = 9666; // WriteToDatabase: fill the hand-off slot

// 16-bit Boolean results.
inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

class Db {
 public:
  Db();

  // Stored and returned only; setting one reports its name ("Enabled",
  // "BorderStyle") to the property-change handler so the host saves it.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  int16_t BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int16_t value);
  void SetPropertyChangedHandler(std::function<void(const std::string&)> handler);

  // Does nothing.
  void Refresh();

  // Stores polled values. Modbus and PLCDirect: IOValue(FromStartAddress ..
  // NumOfRegs) go to consecutive registers from IOAddress. Allen-Bradley:
  // NumOfRegs consecutive elements take IOValue(n), or IOValue itself when it
  // is no array. IOType 9666 fills the hand-off slot instead. IOAddress becomes
  // False when it is an unknown tag or does not parse; nothing is stored then.
  void WriteToDatabase(Variant& IOAddress, Variant& IOValue, int16_t& NumOfRegs,
                       int32_t& FromStartAddress, int16_t& IOType);

  // Queues a value for the PLC; dropped silently while 45 entries are held.
  void WriteQuePLC(Variant& qBuffAddress, Variant& qBuffValue, int16_t& WriteSize,
                   int16_t& ioDataType);

  // Delivers the oldest queued entry: True with the outputs set, or False with
  // them untouched. The first delivery from a full queue (45) empties it.
  int16_t ReadQueData(Variant& quBuffAddress, Variant& quBuffValue, int16_t& WriteSize,
                      int16_t& ioDataType);

  // Reads stored values (0 for a register never written) into ResponseValue,
  // or into its elements from 1 when NumOfRegs >= 2. Returns True, or False for
  // an address that does not parse, an unknown tag, a scaled read whose tag is
  // not found, or a hand-off value delivered (IOType 966).
  int16_t ReadPLCValue(Variant& address, Variant& ResponseValue, int16_t& NumOfRegs,
                       int16_t& IOType, int32_t& ioIdx);

  // Reloads the shared tag table from the database file, as the tag editor
  // does when it closes. Names and addresses already known stay known.
  static void LoadTagDatabase();
  // The tag database file: DatabaseFolder followed by "Quelontrol.mdb".
  static std::string TagDatabaseFile();

 private:
  void PropertyChanged(const std::string& name);

  bool enabled_ = false;
  int16_t borderStyle_ = 0;
  std::function<void(const std::string&)> propertyChanged_;
};

}  // namespace queldb
