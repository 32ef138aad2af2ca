// Test base: a private system folder with KVD.INI and, when asked, a tag
// database, and a freshly started library for every test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "queldb/db.h"

namespace queldb {
// Readable values in test failure messages.
void PrintTo(const Variant& value, std::ostream* out);
}  // namespace queldb

namespace queldb::testing {

struct TagRow {
  std::string name;
  std::string regAB;
  std::optional<double> scale = 1.0;
  std::optional<double> offset = 0.0;
};

// An array of the items, from index 1.
inline Variant Values(std::vector<Variant> items) { return Variant::ArrayOf(std::move(items)); }
// What a read gives for a value never written.
inline const Variant kZero(int16_t{0});

// Creates a TagData table holding the rows, in order.
void WriteTagDatabase(const std::filesystem::path& file, const std::vector<TagRow>& rows);

class LibraryTest : public ::testing::Test {
 protected:
  LibraryTest();
  ~LibraryTest() override;

  // Writes KVD.INI naming the device (and database folder when not empty),
  // then restarts the library as a new process would.
  void Start(const std::string& device, const std::string& databaseFolder = "");
  void StartWithTags(const std::string& device, const std::vector<TagRow>& rows);

  int16_t Read(Variant address, Variant& response, int16_t numOfRegs = 1, int16_t ioType = 0,
               int32_t ioIdx = 0);
  // The single value read from the address.
  Variant ReadOne(Variant address, int16_t ioType = 0, int32_t ioIdx = 0);
  // Writes and returns the address argument as the call left it.
  Variant Write(Variant address, Variant values, int16_t numOfRegs = 1, int32_t fromStart = 1,
                int16_t ioType = 0);

  std::filesystem::path dir_;
};

}  // namespace queldb::testing
