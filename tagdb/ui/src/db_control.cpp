#include "queldb/db_control.h"

#include <QDialog>
#include <QPointer>
#include <QSettings>
#include <algorithm>
#include <limits>

#include "queldb/about_box.h"
#include "queldb/tag_editor.h"

namespace queldb {
namespace {

constexpr const char* kEnabledName = "Enabled";
constexpr const char* kBorderStyleName = "BorderStyle";
constexpr bool kEnabledDefault = false;
constexpr int kBorderStyleDefault = 0;

int16_t ToInt16(int value) {
  return static_cast<int16_t>(std::clamp<int>(value, std::numeric_limits<int16_t>::min(),
                                              std::numeric_limits<int16_t>::max()));
}

// What a saved form holds: the values other than the defaults.
QVariantMap NonDefaults(bool enabled, int borderStyle) {
  QVariantMap values;
  if (enabled != kEnabledDefault) values.insert(kEnabledName, enabled);
  if (borderStyle != kBorderStyleDefault) values.insert(kBorderStyleName, borderStyle);
  return values;
}

// A Boolean, the text "true" (QSettings gives texts back) or a number other than 0.
bool ReadEnabled(const QVariant& value) {
  if (value.typeId() == QMetaType::Bool) return value.toBool();
  if (value.toString().compare("true", Qt::CaseInsensitive) == 0) return true;
  bool isNumber = false;
  const int number = value.toInt(&isNumber);
  return isNumber ? number != 0 : kEnabledDefault;
}

int ReadBorderStyle(const QVariant& value) {
  bool isNumber = false;
  const int number = value.toInt(&isNumber);
  return isNumber ? number : kBorderStyleDefault;
}

}  // namespace

DbControl::DbControl(QWidget* parent) : QWidget(parent) {
  setFixedSize(kFixedSize);
  db_.SetPropertyChangedHandler([this](const std::string& name) {
    if (!loading_) emit propertyChanged(QString::fromStdString(name));
  });
}

DbControl::~DbControl() { db_.SetPropertyChangedHandler(nullptr); }

bool DbControl::Enabled() const { return db_.Enabled(); }
void DbControl::SetEnabled(bool value) { db_.SetEnabled(value); }
int DbControl::BorderStyle() const { return db_.BorderStyle(); }
void DbControl::SetBorderStyle(int value) { db_.SetBorderStyle(ToInt16(value)); }

void DbControl::SaveProperties(QVariantMap& bag) const {
  bag.remove(kEnabledName);
  bag.remove(kBorderStyleName);
  bag.insert(NonDefaults(Enabled(), BorderStyle()));
}

void DbControl::SaveProperties(QSettings& settings) const {
  settings.remove(kEnabledName);
  settings.remove(kBorderStyleName);
  const QVariantMap values = NonDefaults(Enabled(), BorderStyle());
  for (auto it = values.begin(); it != values.end(); ++it) settings.setValue(it.key(), it.value());
}

void DbControl::LoadProperties(const QVariantMap& bag) {
  LoadValues(bag.value(kEnabledName), bag.value(kBorderStyleName));
}

void DbControl::LoadProperties(const QSettings& settings) {
  LoadValues(settings.value(kEnabledName), settings.value(kBorderStyleName));
}

void DbControl::LoadValues(const QVariant& enabled, const QVariant& borderStyle) {
  loading_ = true;
  SetEnabled(ReadEnabled(enabled));
  SetBorderStyle(ReadBorderStyle(borderStyle));
  loading_ = false;
}

void DbControl::Refresh() {}

void DbControl::WriteToDatabase(Variant& IOAddress, Variant& IOValue, int16_t& NumOfRegs,
                                int32_t& FromStartAddress, int16_t& IOType) {
  db_.WriteToDatabase(IOAddress, IOValue, NumOfRegs, FromStartAddress, IOType);
}

int16_t DbControl::WriteQuePLC(Variant& qBuffAddress, Variant& qBuffValue, int16_t& WriteSize,
                               int16_t& ioDataType) {
  return db_.WriteQuePLC(qBuffAddress, qBuffValue, WriteSize, ioDataType);
}

int16_t DbControl::ReadQueData(Variant& quBuffAddress, Variant& quBuffValue, int16_t& WriteSize,
                               int16_t& ioDataType) {
  return db_.ReadQueData(quBuffAddress, quBuffValue, WriteSize, ioDataType);
}

int16_t DbControl::ReadPLCValue(Variant& address, Variant& ResponseValue, int16_t& NumOfRegs,
                                int16_t& IOType, int32_t& ioIdx) {
  return db_.ReadPLCValue(address, ResponseValue, NumOfRegs, IOType, ioIdx);
}

void DbControl::ShowAboutBox() {
  // The dialog may outlive this control if the host deletes it meanwhile.
  QPointer<QDialog> dialog = CreateAboutBox(window());
  dialog->exec();
  delete dialog.data();
}

void DbControl::EditTagNameDatabase() {
  OpenTagEditor(QString::fromStdString(Db::TagDatabaseFile()), window());
}

void DbControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  KeepFixedSize();
}

void DbControl::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  KeepFixedSize();
}

// A host or a layout may have set other size limits; they do not stick.
void DbControl::KeepFixedSize() {
  if (size() != kFixedSize || minimumSize() != kFixedSize || maximumSize() != kFixedSize) {
    setFixedSize(kFixedSize);
  }
}

}  // namespace queldb
