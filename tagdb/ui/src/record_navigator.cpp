#include "record_navigator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace queldb::ui {
namespace {

constexpr const char* kCaption = "Record Select";

QToolButton* NavigationButton(const char* name, const char* text, const char* tip) {
  auto* button = new QToolButton;
  button->setObjectName(name);
  button->setText(text);
  button->setToolTip(tip);
  button->setAutoRaise(false);
  return button;
}

}  // namespace

RecordNavigator::RecordNavigator(QWidget* parent) : QFrame(parent) {
  setObjectName("RecordSelect");
  setFrameShape(QFrame::StyledPanel);
  QToolButton* toFirst = NavigationButton("First", "|<", "First row");
  QToolButton* toPrevious = NavigationButton("Previous", "<", "Previous row");
  QToolButton* toNext = NavigationButton("Next", ">", "Next row");
  QToolButton* toLast = NavigationButton("Last", ">|", "Last row");
  auto* caption = new QLabel(kCaption);
  caption->setAlignment(Qt::AlignCenter);
  caption->setMinimumWidth(caption->sizeHint().width() + 24);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  for (QWidget* widget : {static_cast<QWidget*>(toFirst), static_cast<QWidget*>(toPrevious),
                          static_cast<QWidget*>(caption), static_cast<QWidget*>(toNext),
                          static_cast<QWidget*>(toLast)}) {
    layout->addWidget(widget);
  }
  connect(toFirst, &QToolButton::clicked, this, &RecordNavigator::first);
  connect(toPrevious, &QToolButton::clicked, this, &RecordNavigator::previous);
  connect(toNext, &QToolButton::clicked, this, &RecordNavigator::next);
  connect(toLast, &QToolButton::clicked, this, &RecordNavigator::last);
}

}  // namespace queldb::ui
