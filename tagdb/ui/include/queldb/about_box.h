// The about box of QuelDB: "About QuelDB", "Version " and the library's
// major.minor.revision, and one button that closes it.
#pragma once

#include "queldb/widgets_export.h"

class QDialog;
class QWidget;

namespace queldb {

// A new about box, not yet shown; the caller owns it.
QUELDB_WIDGETS_EXPORT QDialog* CreateAboutBox(QWidget* parent = nullptr);

}  // namespace queldb
