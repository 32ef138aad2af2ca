#pragma once
// Small pieces the dialogs share: the "OK" caption and buttons that carry
// the control names tests and screenshots find them by.
#include <QPushButton>
#include <QString>

namespace orl {

inline constexpr const char* kOkCaption = "OK";

// A push button with its caption ('&' marks the access key) and object name.
inline QPushButton* NamedButton(const char* caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromUtf8(name));
  return button;
}

}  // namespace orl
