// Marks what libqueldb_widgets exports; everything else in it stays hidden.
#pragma once

#define QUELDB_WIDGETS_EXPORT __attribute__((visibility("default")))
