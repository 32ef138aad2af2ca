// queldb::DbControl: the QuelDB control a form-based host drops on a form (in
// Qt Designer: widget box group "QuelDB"). It draws nothing and keeps itself
// at a small fixed size; its methods are those of queldb::Db, and every
// control in a process shares one database with every Db.
//
//   queldb::DbControl* control = new queldb::DbControl(form);
//   queldb::Variant address("40001"), response;
//   int16_t count = 1, type = queldb::ioWord;
//   int32_t index = 0;
//   control->ReadPLCValue(address, response, count, type, index);
//
// Link with QuelDB::widgets (CMake) or libqueldb_widgets.
#pragma once

#include <QSize>
#include <QString>
#include <QVariantMap>
#include <QWidget>
#include <cstdint>

#include "queldb/db.h"
#include "queldb/widgets_export.h"

class QSettings;

namespace queldb {

class QUELDB_WIDGETS_EXPORT DbControl : public QWidget {
  Q_OBJECT
  // Stored and returned only: "Enabled" does not enable or disable the widget
  // and "BorderStyle" does not change its border. Default false and 0.
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(int BorderStyle READ BorderStyle WRITE SetBorderStyle)

 public:
  // 475 x 500 twips at 15 twips a logical pixel.
  static constexpr QSize kFixedSize{32, 33};

  explicit DbControl(QWidget* parent = nullptr);
  ~DbControl() override;

  // Setting a property reports its name ("Enabled", "BorderStyle") through
  // propertyChanged, so that the host saves it with its form.
  bool Enabled() const;
  void SetEnabled(bool value);
  // A 16-bit integer: values beyond -32768..32767 are kept at the nearer bound.
  int BorderStyle() const;
  void SetBorderStyle(int value);
  // The setters uic generates for a form that sets the two properties, with
  // the same meaning. setEnabled hides QWidget::setEnabled: called on a
  // DbControl it sets the property and leaves the widget enabled.
  void setEnabled(bool value) { SetEnabled(value); }
  void setBorderStyle(int value) { SetBorderStyle(value); }

  // The property bag of a saved form: only values other than the defaults are
  // written (a default value removes its key); a missing key, or a value that
  // is no number, reads as the default. Loading reports no property change.
  void SaveProperties(QVariantMap& bag) const;
  void LoadProperties(const QVariantMap& bag);
  // The same in the current group of a QSettings.
  void SaveProperties(QSettings& settings) const;
  void LoadProperties(const QSettings& settings);

  // Does nothing.
  void Refresh();

  // The calls of queldb::Db, with the same arguments and results.
  void WriteToDatabase(Variant& IOAddress, Variant& IOValue, int16_t& NumOfRegs,
                       int32_t& FromStartAddress, int16_t& IOType);
  // kTrue when the entry is queued, kFalse when refused because 45 are waiting.
  int16_t WriteQuePLC(Variant& qBuffAddress, Variant& qBuffValue, int16_t& WriteSize,
                      int16_t& ioDataType);
  int16_t ReadQueData(Variant& quBuffAddress, Variant& quBuffValue, int16_t& WriteSize,
                      int16_t& ioDataType);
  int16_t ReadPLCValue(Variant& address, Variant& ResponseValue, int16_t& NumOfRegs,
                       int16_t& IOType, int32_t& ioIdx);
  // The control's Db, for every other call queldb::Db offers.
  Db& Database() { return db_; }

  // The about box, modal: "About QuelDB" and the library's version.
  void ShowAboutBox();
  // Opens the tag editor "Tag Database Edit" on the library's tag database and
  // returns at once; the library reloads its tag table when the editor closes.
  void EditTagNameDatabase();

 signals:
  void propertyChanged(const QString& name);

  // The control's event interface, for hosts that connect to it. The control
  // never emits any of them.
  void clicked();
  void doubleClicked();
  void keyDown(qint16 keyCode, qint16 shift);
  void keyPress(qint16 keyAscii);
  void keyUp(qint16 keyCode, qint16 shift);
  void mouseDown(qint16 button, qint16 shift, float x, float y);
  void mouseMove(qint16 button, qint16 shift, float x, float y);
  void mouseUp(qint16 button, qint16 shift, float x, float y);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void KeepFixedSize();
  void LoadValues(const QVariant& enabled, const QVariant& borderStyle);

  Db db_;
  bool loading_ = false;
};

}  // namespace queldb
