#include "new_tag_values.h"

#include "tag_fields.h"

namespace queldb::ui {
namespace {

constexpr const char* kNewNamePrefix = "Name";
constexpr const char* kNewMessagePrefix = "ID";

}  // namespace

QList<QPair<QString, QVariant>> NewTagDefaults() {
  QList<QPair<QString, QVariant>> values;
  for (const TagField& field : kTagFields) {
    if (field.newTagValue.empty()) continue;
    const QString name = QString::fromLatin1(field.name.data(), static_cast<int>(field.name.size()));
    const QString text = QString::fromLatin1(field.newTagValue.data(), static_cast<int>(field.newTagValue.size()));
    switch (field.kind) {
      case FieldKind::Integer: values.append({name, text.toLongLong()}); break;
      case FieldKind::Real: values.append({name, text.toDouble()}); break;
      default: values.append({name, text}); break;
    }
  }
  return values;
}

QList<QPair<QString, QVariant>> NewTagNamesFor(qint64 id) {
  const QString number = QString::number(id);
  return {{"NAME", kNewNamePrefix + number}, {"MESS", kNewMessagePrefix + number}};
}

}  // namespace queldb::ui
