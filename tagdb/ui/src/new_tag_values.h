// What "NEW" writes into the row it adds.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace queldb::ui {

// The fields set when the row is added; the others stay Null.
QList<QPair<QString, QVariant>> NewTagDefaults();
// The fields built from the ID the database gave the new row: NAME "Name"
// and MESS "ID", each followed by the ID.
QList<QPair<QString, QVariant>> NewTagNamesFor(qint64 id);

}  // namespace queldb::ui
