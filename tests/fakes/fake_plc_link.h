#pragma once
// PLC links for tests. MemoryPlcLink is a PLC memory with scripted reads
// that records every write; FaultyPlcLink wraps any link with fault
// switches (drop, delay, garble, time out, throw, unplug), the way a flaky
// serial line or an unplugged PLC behaves.
#include <atomic>
#include <deque>
#include <map>
#include <stdexcept>
#include <vector>

#include "saw/plc/plc_link.h"

namespace orl::testing {

struct RecordedWrite {
  int address;
  std::vector<std::int32_t> words;
};

class MemoryPlcLink : public PlcLink {
 public:
  std::map<int, std::int32_t> memory;  // PLC address -> word
  // Per address, first words the next reads return (one per read) before
  // falling back to memory.
  std::map<int, std::deque<std::int32_t>> scriptedReads;
  std::vector<RecordedWrite> writes;
  int readCalls = 0;
  bool open = true;
  bool busy = false;
  bool refuseOpen = false;

  bool Open() override { return open = !refuseOpen; }
  void Close() override { open = false; }
  bool LinkOpen() const override { return open; }
  bool LinkBusy() const override { return busy; }

  int ReadWords(int address, PlcWords2& buffer, int count) override {
    ++readCalls;
    for (int i = 0; i < count; ++i) buffer[i] = Word(address + i);
    auto script = scriptedReads.find(address);
    if (script != scriptedReads.end() && !script->second.empty()) {
      buffer[0] = script->second.front();
      script->second.pop_front();
    }
    return 1;
  }
  int WriteWords(int address, std::int32_t value) override {
    memory[address] = value;
    writes.push_back({address, {value}});
    return 1;
  }
  int WriteWords(int address, const PlcWords4& words, int count) override {
    RecordedWrite write{address, {}};
    for (int i = 0; i < count; ++i) {
      memory[address + i] = words[i];
      write.words.push_back(words[i]);
    }
    writes.push_back(write);
    return 1;
  }

  std::int32_t Word(int address) const {
    auto it = memory.find(address);
    return it == memory.end() ? 0 : it->second;
  }
};

class FaultyPlcLink : public PlcLink {
 public:
  explicit FaultyPlcLink(PlcLink& inner) : inner_(inner) {}

  bool drop = false;        // every transfer answers 0 without reaching the PLC
  int delayTransfers = 0;   // the link reports busy for this many transfers
  bool garble = false;      // reads answer a different first word every time
  bool timeOut = false;     // a transfer answers 0 and leaves the link busy until the transfer ends
  bool throwOnTransfer = false;
  // The cable pulled (from any thread): as the Modbus link does while its
  // connection is down, busy, answering 0, its health reporting the loss and
  // an attempt to reconnect on every transfer.
  std::atomic<bool> unplugged = false;
  int transfersSeen = 0;
  std::uint64_t reconnects = 0;  // connections made afresh on top of the inner link's

  LinkHealth Health() const override { return unplugged ? LinkHealth{true, true} : inner_.Health(); }
  std::string LastError() const override { return unplugged ? "Connection refused" : inner_.LastError(); }
  std::uint64_t Connection() const override { return inner_.Connection() + reconnects; }

  bool Open() override { return inner_.Open(); }
  void Close() override { inner_.Close(); }
  bool LinkOpen() const override { return inner_.LinkOpen(); }
  bool LinkBusy() const override { return unplugged || delaying_ || timedOut_ || inner_.LinkBusy(); }
  void BeginTransfer() override {
    ++transfersSeen;
    delaying_ = delayTransfers > 0;
    if (delaying_) --delayTransfers;
    inner_.BeginTransfer();
  }
  void EndTransfer() override {
    timedOut_ = false;
    inner_.EndTransfer();
  }

  int ReadWords(int address, PlcWords2& buffer, int count) override {
    if (!Pass()) return 0;
    const int ok = inner_.ReadWords(address, buffer, count);
    if (garble) buffer[0] = garbleWord_++;
    return ok;
  }
  int WriteWords(int address, std::int32_t value) override { return Pass() ? inner_.WriteWords(address, value) : 0; }
  int WriteWords(int address, const PlcWords4& words, int count) override {
    return Pass() ? inner_.WriteWords(address, words, count) : 0;
  }

 private:
  bool Pass() {
    if (throwOnTransfer) throw std::runtime_error("link error");
    if (timeOut) timedOut_ = true;
    return !drop && !timeOut && !unplugged;
  }

  PlcLink& inner_;
  bool delaying_ = false;
  bool timedOut_ = false;
  std::int32_t garbleWord_ = 0x1111;
};

}  // namespace orl::testing
