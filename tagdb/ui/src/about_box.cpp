#include "queldb/about_box.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "queldb/db.h"

namespace queldb {
namespace {

constexpr const char* kCaptionPrefix = "About ";
constexpr const char* kLibraryTitle = "QuelDB";
constexpr const char* kDescription = "Quel Database Table Control";
constexpr const char* kVersionPrefix = "Version ";
constexpr const char* kCloseButton = "OK";

QLabel* TitleLabel() {
  auto* label = new QLabel(kLibraryTitle);
  label->setObjectName("lblTitle");
  QFont font = label->font();
  font.setPointSizeF(font.pointSizeF() * 1.6);
  font.setBold(true);
  label->setFont(font);
  return label;
}

QLabel* NamedLabel(const char* name, const QString& text) {
  auto* label = new QLabel(text);
  label->setObjectName(name);
  return label;
}

}  // namespace

QDialog* CreateAboutBox(QWidget* parent) {
  auto* dialog = new QDialog(parent);
  dialog->setWindowTitle(QString(kCaptionPrefix) + kLibraryTitle);
  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(kCloseButton, QDialogButtonBox::AcceptRole);
  ok->setObjectName("cmdOK");
  ok->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);

  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(24, 18, 24, 14);
  layout->addWidget(TitleLabel());
  layout->addWidget(NamedLabel("lblDescription", kDescription));
  // The library's version, so the box never shows a number of its own.
  layout->addWidget(NamedLabel("lblVersion", QString(kVersionPrefix) + Version()));
  layout->addSpacing(12);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  return dialog;
}

}  // namespace queldb
