// The control's icon in Designer's widget box: a database drum.
#pragma once

#include <QIcon>

namespace queldb::designer {

QIcon ControlIcon();

}  // namespace queldb::designer
