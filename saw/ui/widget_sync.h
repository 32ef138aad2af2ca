#pragma once
// Small helpers that bring a widget up to the engine's state without
// raising the widget's own change signals and without touching what is
// already shown (so a quiet tick repaints nothing).
#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <string>
#include <vector>

#include "saw/cutlist/cut_list.h"

namespace orl {

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

inline void SyncText(QLabel* label, const std::string& text) {
  if (label->text() != Q(text)) label->setText(Q(text));
}

inline void SyncVisibleEnabled(QWidget* widget, bool visible, bool enabled) {
  if (widget->isHidden() == visible) widget->setVisible(visible);
  if (widget->isEnabled() != enabled) widget->setEnabled(enabled);
}

inline void SyncControl(QWidget* widget, const Control& control) {
  SyncVisibleEnabled(widget, control.visible, control.enabled);
}

inline void SyncChecked(QAbstractButton* button, bool checked) {
  if (button->isChecked() == checked) return;
  const QSignalBlocker blocker(button);
  button->setChecked(checked);
}

// The list shows `items` and selects `current` (-1: none). Returns whether
// the entries were put in afresh (which drops the list's current entry).
inline bool SyncList(QListWidget* list, const std::vector<std::string>& items, int current = -2) {
  const QSignalBlocker blocker(list);
  bool same = list->count() == static_cast<int>(items.size());
  for (int i = 0; same && i < list->count(); ++i) same = list->item(i)->text() == Q(items[i]);
  if (!same) {
    list->clear();
    for (const auto& item : items) list->addItem(Q(item));
  }
  if (current != -2 && list->currentRow() != current) list->setCurrentRow(current);
  return !same;
}

// Highlights entry `current` (-1: none) when the engine's choice changed
// since `seen`, or at once with evenIfSeen (after a click the engine
// refused): between those the operator's own moves in the list stand.
inline void SyncListCurrent(QListWidget* list, int current, int& seen, bool evenIfSeen = false) {
  if (current == seen && !evenIfSeen) return;
  seen = current;
  if (list->currentRow() == current) return;
  const QSignalBlocker blocker(list);
  list->setCurrentRow(current);
}

}  // namespace orl
