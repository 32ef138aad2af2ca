#include "new_tag_values.h"

namespace queldb::ui {
namespace {

constexpr const char* kNewNamePrefix = "Name";
constexpr const char* kNewMessagePrefix = "ID";

}  // namespace

QList<QPair<QString, QVariant>> NewTagDefaults() {
  return {
      {"REGAB", 40001},  {"REG", 40001},        {"Scale", 1},       {"Offset", 0},
      {"LOG", 0},        {"LogIntv", 0},        {"LogDeadband", 0}, {"ALARMS", 0},
      {"BIT", -1},       {"HHiLim", 100},       {"HiLim", 99},      {"LoLim", 0},
      {"LLoLim", 0},     {"MESSLIST", 1},       {"ALMPRIORITY", 1}, {"ALMSCREEN", 1},
      {"ALMGROUP", 1},   {"ALMACTIVE", 1},      {"ALMHIST", 0},
  };
}

QList<QPair<QString, QVariant>> NewTagNamesFor(qint64 id) {
  const QString number = QString::number(id);
  return {{"NAME", kNewNamePrefix + number}, {"MESS", kNewMessagePrefix + number}};
}

}  // namespace queldb::ui
