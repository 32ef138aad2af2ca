// The tag editor "Tag Database Edit": browses and edits the rows of the TagData
// table of a tag database file, one row at a time.
#pragma once

#include <QString>

#include "queldb/widgets_export.h"

class QWidget;

namespace queldb {

// Shows the editor on the database file (Db::TagDatabaseFile() for the
// library's own) without waiting, and returns its window, which deletes itself
// when closed. Closing it saves the row being edited and reloads the library's
// tag table (Db::LoadTagDatabase). Database errors are shown in a message box
// carrying the database's own text; the editor stays usable.
QUELDB_WIDGETS_EXPORT QWidget* OpenTagEditor(const QString& databaseFile, QWidget* parent = nullptr);

}  // namespace queldb
