#include "saw/ui/about_box.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

#include "saw/ui/dialog_parts.h"

namespace orl {
namespace {

constexpr int kIconSize = 48;
constexpr int kDisclaimerWidth = 340;
constexpr double kTitleScale = 1.5;

QString Text(const char* text) { return QString::fromUtf8(text); }

QLabel* Label(const QString& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(Text(name));
  label->setWordWrap(true);
  return label;
}

QLabel* IconLabel(QWidget* parent) {
  QIcon icon = QApplication::windowIcon();
  if (icon.isNull()) icon = parent->style()->standardIcon(QStyle::SP_MessageBoxInformation);
  auto* label = new QLabel(parent);
  label->setObjectName(QStringLiteral("picIcon"));
  label->setPixmap(icon.pixmap(kIconSize, kIconSize));
  label->setAlignment(Qt::AlignTop);
  return label;
}

QLabel* TitleLabel(QWidget* parent) {
  QLabel* title = Label(Text(kProductTitle), "lblTitle", parent);
  QFont font = title->font();
  font.setPointSizeF(font.pointSizeF() * kTitleScale);
  font.setBold(true);
  title->setFont(font);
  return title;
}

QFrame* Rule(QWidget* parent) {
  auto* rule = new QFrame(parent);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  return rule;
}


std::string FindOnSearchPath(const std::string& name) {
  return QStandardPaths::findExecutable(QString::fromStdString(name)).toStdString();
}

bool StartWithoutShell(const std::string& path) { return QProcess::startDetached(QString::fromStdString(path), {}); }

}  // namespace

QString ProgramVersion() { return QStringLiteral(ORL_VERSION); }

AboutBox::AboutBox(Ui& ui, QWidget* parent)
    : QDialog(parent), ui_(ui), find_(FindOnSearchPath), start_(StartWithoutShell) {
  setWindowTitle(Text(kAboutCaptionPrefix) + Text(kApplicationTitle));

  auto* texts = new QVBoxLayout;
  texts->addWidget(TitleLabel(this));
  texts->addWidget(Label(Text(kProductDescription), "lblDescription", this));
  texts->addWidget(Label(Text(kVersionPrefix) + ProgramVersion(), "lblVersion", this));
  auto* head = new QHBoxLayout;
  head->addWidget(IconLabel(this));
  head->addLayout(texts, 1);

  QPushButton* ok = NamedButton(kOkCaption, "cmdOK", this);
  QPushButton* systemInfo = NamedButton(kSystemInfoCaption, "cmdSysInfo", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &AboutBox::accept);
  connect(systemInfo, &QPushButton::clicked, this, &AboutBox::ShowSystemInfo);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(systemInfo);
  buttons->addStretch();

  QLabel* disclaimer = Label(Text(kDisclaimer), "lblDisclaimer", this);
  disclaimer->setFixedWidth(kDisclaimerWidth);  // a wrapped label needs a width to know its height
  auto* foot = new QHBoxLayout;
  foot->addWidget(disclaimer, 1);
  foot->addLayout(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(head);
  layout->addWidget(Rule(this));
  layout->addLayout(foot);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ok->setFocus();
}

void AboutBox::SetProgramLookup(FindOnPath find, StartProgram start) {
  find_ = std::move(find);
  start_ = std::move(start);
}

void AboutBox::ShowSystemInfo() { orl::ShowSystemInfo(ui_, Text(kApplicationTitle).toStdString(), find_, start_); }

}  // namespace orl
