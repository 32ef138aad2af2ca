// The Designer plugin: what Designer's widget box shows, and a form saved by
// Designer that holds the control, loaded again through QUiLoader.
#include <QBuffer>
#include <QFileInfo>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QUiLoader>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <memory>

#include "queldb/db_control.h"
#include "ui_fixture.h"

namespace queldb::testing {
namespace {

using DesignerPluginTest = UiTest;

// A form as Designer saves it after the two properties were edited.
constexpr const char* kSavedForm = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>HostForm</class>
 <widget class="QWidget" name="HostForm">
  <property name="geometry"><rect><x>0</x><y>0</y><width>300</width><height>200</height></rect></property>
  <widget class="queldb::DbControl" name="dbControl">
   <property name="geometry"><rect><x>10</x><y>10</y><width>32</width><height>33</height></rect></property>
   <property name="Enabled"><bool>true</bool></property>
   <property name="BorderStyle"><number>1</number></property>
  </widget>
 </widget>
 <customwidgets>
  <customwidget>
   <class>queldb::DbControl</class>
   <extends>QWidget</extends>
   <header>queldb/db_control.h</header>
  </customwidget>
 </customwidgets>
</ui>
)";

TEST_F(DesignerPluginTest, ControlIsInTheWidgetBoxUnderQuelDBWithEditableProperties) {
  QPluginLoader loader(QUELDB_DESIGNER_PLUGIN);
  auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
  ASSERT_NE(plugin, nullptr) << loader.errorString().toStdString();
  EXPECT_EQ(plugin->group(), "QuelDB");
  EXPECT_EQ(plugin->name(), "queldb::DbControl");
  EXPECT_EQ(plugin->includeFile(), "queldb/db_control.h");
  EXPECT_FALSE(plugin->icon().isNull());
  EXPECT_TRUE(plugin->domXml().contains("class=\"queldb::DbControl\""));

  std::unique_ptr<QWidget> widget(plugin->createWidget(nullptr));
  ASSERT_NE(qobject_cast<DbControl*>(widget.get()), nullptr);
  for (const char* name : {"Enabled", "BorderStyle"}) {
    const QMetaObject* meta = widget->metaObject();
    const QMetaProperty property = meta->property(meta->indexOfProperty(name));
    EXPECT_TRUE(property.isWritable() && property.isDesignable()) << name;
  }
}

TEST_F(DesignerPluginTest, SavedFormLoadsThroughQUiLoaderWithItsProperties) {
  QUiLoader loader;
  loader.addPluginPath(QFileInfo(QUELDB_DESIGNER_PLUGIN).absolutePath());
  ASSERT_TRUE(loader.availableWidgets().contains("queldb::DbControl"));
  QByteArray text(kSavedForm);
  QBuffer form(&text);
  std::unique_ptr<QWidget> loaded(loader.load(&form));
  ASSERT_NE(loaded, nullptr) << loader.errorString().toStdString();

  auto* control = loaded->findChild<DbControl*>("dbControl");
  ASSERT_NE(control, nullptr);
  EXPECT_TRUE(control->Enabled());
  EXPECT_EQ(control->BorderStyle(), 1);
  EXPECT_EQ(control->size(), QSize(32, 33));
}

}  // namespace
}  // namespace queldb::testing
