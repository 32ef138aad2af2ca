#include "db_control_plugin.h"

#include "control_icon.h"
#include "queldb/db_control.h"

namespace queldb::designer {
namespace {

constexpr const char* kClassName = "queldb::DbControl";
constexpr const char* kGroup = "QuelDB";
constexpr const char* kToolTip = "QuelDB control: the shared database of PLC values and tags";
constexpr const char* kWhatsThis =
    "Gives the form the QuelDB calls (WriteToDatabase, ReadPLCValue, WriteQuePLC, ReadQueData, "
    "EditTagNameDatabase, ShowAboutBox). It draws nothing and keeps a fixed small size.";
constexpr const char* kIncludeFile = "queldb/db_control.h";

}  // namespace

DbControlPlugin::DbControlPlugin(QObject* parent) : QObject(parent) {}

QString DbControlPlugin::name() const { return kClassName; }
QString DbControlPlugin::group() const { return kGroup; }
QString DbControlPlugin::toolTip() const { return kToolTip; }
QString DbControlPlugin::whatsThis() const { return kWhatsThis; }
QString DbControlPlugin::includeFile() const { return kIncludeFile; }
QIcon DbControlPlugin::icon() const { return ControlIcon(); }
bool DbControlPlugin::isContainer() const { return false; }
QWidget* DbControlPlugin::createWidget(QWidget* parent) { return new DbControl(parent); }
bool DbControlPlugin::isInitialized() const { return initialized_; }
void DbControlPlugin::initialize(QDesignerFormEditorInterface*) { initialized_ = true; }

QString DbControlPlugin::domXml() const {
  return QString(R"(<ui language="c++">
 <widget class="%1" name="dbControl">
  <property name="geometry"><rect><x>0</x><y>0</y><width>%2</width><height>%3</height></rect></property>
 </widget>
</ui>
)")
      .arg(kClassName)
      .arg(DbControl::kFixedSize.width())
      .arg(DbControl::kFixedSize.height());
}

}  // namespace queldb::designer
