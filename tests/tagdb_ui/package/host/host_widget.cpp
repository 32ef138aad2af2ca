// A Qt host with the control widget: stores a value through one control and
// reads it through another.
#include <QApplication>
#include <cstdio>
#include <queldb/db_control.h>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  queldb::DbControl driver, screen;
  queldb::Variant address("40002"), values = queldb::Variant::ArrayOf({queldb::Variant(int16_t{77})});
  int16_t count = 1, type = 0;
  int32_t from = 1, index = 0;
  driver.WriteToDatabase(address, values, count, from, type);
  queldb::Variant response;
  const int16_t status = screen.ReadPLCValue(address, response, count, type, index);
  std::printf("DbControl ReadPLCValue 40002: status %d, value %g\n", status, response.ToDouble().value_or(-1));
  return status == queldb::kTrue && response.ToDouble() == 77.0 ? 0 : 1;
}
