// A Qt host with the control: its form, compiled by uic, holds a control saved
// with Enabled and BorderStyle set; a value stored through that control is
// read through another.
#include <QApplication>
#include <cstdio>
#include <queldb/db_control.h>

#include "ui_host_form.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget form;
  Ui::HostForm ui;
  ui.setupUi(&form);
  queldb::DbControl& driver = *ui.dbControl;
  std::printf("Form control: Enabled %d, BorderStyle %d, widget enabled %d\n", driver.Enabled(),
              driver.BorderStyle(), driver.isEnabled());
  if (!driver.Enabled() || driver.BorderStyle() != 1 || !driver.isEnabled()) return 1;

  queldb::DbControl screen;
  queldb::Variant address("40002"), values = queldb::Variant::ArrayOf({queldb::Variant(int16_t{77})});
  int16_t count = 1, type = 0;
  int32_t from = 1, index = 0;
  driver.WriteToDatabase(address, values, count, from, type);
  queldb::Variant response;
  const int16_t status = screen.ReadPLCValue(address, response, count, type, index);
  std::printf("DbControl ReadPLCValue 40002: status %d, value %g\n", status, response.ToDouble().value_or(-1));
  return status == queldb::kTrue && response.ToDouble() == 77.0 ? 0 : 1;
}
