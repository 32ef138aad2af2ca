// Which optional groups of the tag editor show, from the row's check boxes.
#pragma once

namespace queldb::ui {

struct GroupChecks {
  bool alarms = false;          // "ALARMS ON this point ?"
  bool discrete = false;        // "Discrete ( or analog)?"
  bool log = false;             // "LOG Enable this point  ?"
  bool dependency = false;      // "Dependency ?"
  bool alarmOnWord = false;     // "Word (or Bit )?" of the alarm
  bool dependencyOnWord = false;  // "Word (or Bit )?" of the dependency
};

struct GroupVisibility {
  bool alarmInformation;
  bool analogLimits;
  bool logFunctions;
  bool dependencyAddress;
  const char* alarmBitLabel;       // "Word" or "Bit"
  const char* dependencyBitLabel;  // "Word" or "Bit"
};

inline constexpr const char* kWordLabel = "Word";
inline constexpr const char* kBitLabel = "Bit";

constexpr GroupVisibility VisibilityFor(const GroupChecks& checks) {
  return {checks.alarms,
          !checks.discrete,
          checks.log,
          checks.dependency,
          checks.alarmOnWord ? kWordLabel : kBitLabel,
          checks.dependencyOnWord ? kWordLabel : kBitLabel};
}

}  // namespace queldb::ui
