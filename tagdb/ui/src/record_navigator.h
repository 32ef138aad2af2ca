// The "Record Select" navigator: first, previous, next and last row.
#pragma once

#include <QFrame>

namespace queldb::ui {

class RecordNavigator : public QFrame {
  Q_OBJECT

 public:
  explicit RecordNavigator(QWidget* parent = nullptr);

 signals:
  void first();
  void previous();
  void next();
  void last();
};

}  // namespace queldb::ui
