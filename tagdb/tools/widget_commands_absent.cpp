// The tool built without the widgets: their commands only say so.
#include "tag_file.h"
#include "widget_commands.h"

namespace queldb::tool {

int RunWidgetCommand(const WidgetCommands&, int, char**) {
  throw ToolError("this queldb was built without the widgets (QUELDB_BUILD_WIDGETS=OFF)");
}

}  // namespace queldb::tool
