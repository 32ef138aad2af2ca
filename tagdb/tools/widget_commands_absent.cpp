// The tool built without the widgets: their commands only say so.
#include "tool_error.h"
#include "widget_commands.h"

namespace queldb::tool {

int RunWidgetCommand(const WidgetCommands&, int, char**) {
  throw ToolError("this queldb was built without the widgets (QUELDB_BUILD_WIDGETS=OFF)", kBadArgument);
}

}  // namespace queldb::tool
