#include "tag_editor_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <span>

#include "group_rules.h"
#include "record_navigator.h"

namespace queldb::ui {
namespace {

// Captions of the fields, frames and buttons.
constexpr const char* kWordOrBit = "Word (or Bit )?";
constexpr const char* kBitInvert = "Bit Invert ?";
constexpr const char* kBitInvertNote = "Alarm on Invert of  BIT";
constexpr const char* kDependencyNote = "Use secondary word for alarm test before testing primary word";
constexpr const char* kDependencyFrameNote = "Only test primary alarm word if this word tests true ";

struct Caption {
  const char* field;
  const char* caption;
};

constexpr Caption kTagTexts[] = {
    {"ID", "ID"},       {"NAME", "NAME"},   {"REGAB", "PLC ADDRESS"}, {"VAL", "DATA"},
    {"DataType", "DATA TYPE"}, {"Scale", "SCALE"}, {"Offset", "OFFSET"}, {"Units", "UNITS"},
    {"Desc", "DESC"},
};
constexpr Caption kLogTexts[] = {{"LogIntv", "Log Interval in Millisec"}, {"LogDeadband", "Log Deadband"}};
constexpr Caption kLimitTexts[] = {
    {"HHiLim", "Hi Hi Limit"}, {"HiLim", "Hi Limit"}, {"LoLim", "Lo Limit"}, {"LLoLim", "Lo Lo Limit"}};
constexpr Caption kAlarmTexts[] = {
    {"MESS", "Alarm Message"}, {"MESSLIST", "Message list"}, {"ALMPRIORITY", "Priority"},
    {"ALMSCREEN", "Screen"},   {"ALMGROUP", "Group"},
};

class FormBuilder {
 public:
  explicit FormBuilder(TagEditorForm& form) : form_(form) {}

  QLineEdit* Text(const char* field) {
    auto* edit = new QLineEdit;
    return Named(edit, field);
  }

  QCheckBox* Check(const char* field, const char* caption) { return Named(new QCheckBox(caption), field); }

  QFormLayout* TextRows(std::span<const Caption> captions) {
    auto* rows = new QFormLayout;
    for (const Caption& caption : captions) {
      QWidget* editor = (qstrcmp(caption.field, "DataType") == 0) ? static_cast<QWidget*>(DataTypeList())
                                                                  : Text(caption.field);
      rows->addRow(caption.caption, editor);
    }
    return rows;
  }

  // A bit number with the label that says whether the alarm is on a word or a bit.
  QHBoxLayout* BitRow(const char* field, QLabel*& label) {
    label = new QLabel(kBitLabel);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(kWordLabel) + 8);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(Text(field));
    row->addStretch();
    return row;
  }

  // A check box with a note beside it.
  QHBoxLayout* CheckWithNote(QCheckBox* box, const char* note) {
    auto* row = new QHBoxLayout;
    row->addWidget(box);
    row->addWidget(new QLabel(note), 1);
    return row;
  }

 private:
  template <typename Widget>
  Widget* Named(Widget* widget, const char* field) {
    widget->setObjectName(field);
    form_.fields.insert(field, widget);
    return widget;
  }

  QComboBox* DataTypeList() {
    form_.dataType = Named(new QComboBox, "DataType");
    return form_.dataType;
  }

  TagEditorForm& form_;
};

QGroupBox* Frame(const char* name, const char* title, QLayout* content) {
  auto* frame = new QGroupBox(title);
  frame->setObjectName(name);
  frame->setLayout(content);
  return frame;
}

QWidget* TagColumn(TagEditorForm& form, FormBuilder& build) {
  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(build.TextRows(kTagTexts));
  form.log = build.Check("LOG", "LOG Enable this point  ?");
  layout->addWidget(form.log);
  form.logFunctions = Frame("LogFunctions", "Log Functions", build.TextRows(kLogTexts));
  layout->addWidget(form.logFunctions);
  form.alarms = build.Check("ALARMS", "ALARMS ON this point ?");
  layout->addWidget(form.alarms);
  layout->addStretch();
  return column;
}

QGroupBox* WordBitFrame(TagEditorForm& form, FormBuilder& build) {
  auto* content = new QVBoxLayout;
  form.alarmOnWord = build.Check("Binary", kWordOrBit);
  content->addWidget(form.alarmOnWord);
  content->addLayout(build.BitRow("BIT", form.alarmBitLabel));
  content->addLayout(build.CheckWithNote(build.Check("bit_invert", kBitInvert), kBitInvertNote));
  return Frame("AlarmOnWordBit", "Alarm on Word/Bit", content);
}

QGroupBox* DependencyFrame(TagEditorForm& form, FormBuilder& build) {
  auto* content = new QVBoxLayout;
  content->addWidget(new QLabel(kDependencyFrameNote));
  content->addWidget(build.Text("DependencyAddress"));
  form.dependencyOnWord = build.Check("DependencyBinary", kWordOrBit);
  content->addWidget(form.dependencyOnWord);
  content->addLayout(build.BitRow("DependencyBit", form.dependencyBitLabel));
  content->addWidget(build.Check("DependencyBitInvert", kBitInvert));
  return Frame("DependencyAddress", "Dependency Address", content);
}

QGroupBox* AlarmFrame(TagEditorForm& form, FormBuilder& build) {
  auto* content = new QVBoxLayout;
  form.discrete = build.Check("Descrete", "Discrete ( or analog)?");
  content->addWidget(form.discrete);
  form.analogLimits = Frame("AnalogLimits", "Analog limits", build.TextRows(kLimitTexts));
  content->addWidget(form.analogLimits);
  content->addWidget(WordBitFrame(form, build));
  content->addLayout(build.TextRows(kAlarmTexts));
  auto* flags = new QHBoxLayout;
  flags->addWidget(build.Check("ALMACTIVE", "Active Alarm"));
  flags->addWidget(build.Check("ALMHIST", "Historical alarm"));
  content->addLayout(flags);
  form.dependency = build.Check("Dependency", "Dependency ?");
  content->addWidget(form.dependency);
  content->addWidget(new QLabel(kDependencyNote));
  form.dependencyAddress = DependencyFrame(form, build);
  content->addWidget(form.dependencyAddress);
  content->addStretch();
  return Frame("AlarmInformation", "Alarm Information", content);
}

QPushButton* Button(const char* caption) {
  auto* button = new QPushButton(caption);
  button->setObjectName(caption);
  button->setAutoDefault(false);
  return button;
}

QHBoxLayout* ButtonRow(TagEditorForm& form) {
  form.navigator = new RecordNavigator;
  form.newButton = Button("NEW");
  form.deleteButton = Button("DELETE");
  form.saveButton = Button("SAVE");
  form.exitButton = Button("EXIT");
  auto* row = new QHBoxLayout;
  row->addWidget(form.navigator);
  row->addStretch();
  for (QPushButton* button : {form.newButton, form.deleteButton, form.saveButton, form.exitButton}) {
    row->addWidget(button);
  }
  return row;
}

}  // namespace

TagEditorForm BuildTagEditorForm(QWidget* window) {
  TagEditorForm form;
  FormBuilder build(form);
  form.fieldArea = new QWidget;
  auto* columns = new QHBoxLayout(form.fieldArea);
  columns->setContentsMargins(0, 0, 0, 0);
  columns->addWidget(TagColumn(form, build), 1);
  form.alarmInformation = AlarmFrame(form, build);
  columns->addWidget(form.alarmInformation, 1);

  auto* layout = new QVBoxLayout(window);
  layout->addWidget(form.fieldArea, 1);
  layout->addLayout(ButtonRow(form));
  return form;
}

}  // namespace queldb::ui
