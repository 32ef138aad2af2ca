#pragma once
// The keys of the settings file "ORL.INI" and the rules that turn their
// stored texts into the values the program runs with.
#include <filesystem>
#include <string>
#include <string_view>

#include "saw/shell/profile_file.h"

namespace orl {

inline constexpr const char* kSettingsFileName = "ORL.INI";
// A program folder whose path holds "VB" is a development build; it reads
// its settings from the development folder instead.
inline constexpr const char* kDevelopmentFolder = "/vbprojects/saw/";

namespace section {
inline constexpr const char* kConfiguration = "Configuration";
inline constexpr const char* kSystem = "System";
inline constexpr const char* kPlcData = "PLCData";
}  // namespace section

namespace key {
inline constexpr const char* kCommPort = "CommPort";
inline constexpr const char* kBaudRate = "BaudRate";
inline constexpr const char* kMode = "Mode";
inline constexpr const char* kGrooving = "Grooving";
inline constexpr const char* kStroke = "Stroke";
inline constexpr const char* kRemainder = "Remainder";
inline constexpr const char* kManual = "Manual";
inline constexpr const char* kFirstColOnly = "FirstColOnly";
inline constexpr const char* kGrooveColumns = "GrooveColumns";
inline constexpr const char* kStrokeColumns = "StrokeColumns";
inline constexpr const char* kRemainderColumns = "RemainderColumns";
inline constexpr const char* kDecimalPlacesMetric = "DecimalPlacesMetric";
inline constexpr const char* kDecimalPlacesInch = "DecimalPlacesInch";
inline constexpr const char* kSawKerf = "SawKerf";
inline constexpr const char* kClampLength = "ClampLength";
inline constexpr const char* kHeadCut = "HeadCut";
inline constexpr const char* kCreepDist = "CreepDist";
inline constexpr const char* kTemplateLength = "TemplateLength";
inline constexpr const char* kMaxLogLen = "MaxLogLen";
inline constexpr const char* kScanIntervalMs = "ScanIntervalMs";
inline constexpr const char* kHandOverInOneTick = "HandOverInOneTick";
inline constexpr const char* kJobPath = "JobPath";
inline constexpr const char* kProgramPath = "ProgramPath";
inline constexpr const char* kPrintPath = "PrintPath";
inline constexpr const char* kArdisPath = "ArdisPath";
// The PLC link on this platform ([Configuration]) and removable media ([System]).
inline constexpr const char* kCommDevice = "CommDevice";
inline constexpr const char* kPlcHost = "PlcHost";
inline constexpr const char* kPlcStation = "PlcStation";
inline constexpr const char* kPlcTimeoutMs = "PlcTimeoutMs";
inline constexpr const char* kSimulate = "Simulate";
inline constexpr const char* kRemovablePath = "RemovablePath";
// The production history ([System]) and the plant's broker ([System]).
inline constexpr const char* kHistoryPath = "HistoryPath";
inline constexpr const char* kHistoryDays = "HistoryDays";
inline constexpr const char* kMqttBroker = "MqttBroker";
inline constexpr const char* kSawName = "SawName";
}  // namespace key

// Serial port 1..4; anything else (0, 5, "COM2", empty) selects 1.
int CommPortSetting(std::string_view stored);
// Baud rate text 300..38400; anything else selects "9600".
std::string BaudRateSetting(std::string_view stored);
// Line settings of the PLC link: the baud rate, odd parity, 8 data bits, 1 stop bit.
std::string LineSettings(std::string_view baudRate);
// "ABSOLUTE" in any letter case selects absolute pusher targets.
bool AbsoluteModeSetting(std::string_view stored);
// A non-zero number switches an optional control on.
bool FlagSetting(std::string_view stored);
// Initial state of a column-mode check box: 0, 1 or 2; anything else is 0.
int ColumnModeSetting(std::string_view stored);
// Decimal places of cut lengths, clamped to 1..3 (missing or 0 gives 1).
int DecimalPlacesSetting(std::string_view stored);
// Lines kept in the communication log; 0 or less means no log.
int MaxLogLenSetting(std::string_view stored);
// Milliseconds between scan ticks, 1..10000; missing, 0 or text gives `fallback`.
int ScanIntervalSetting(std::string_view stored, int fallback);

// The folder the settings file lives in: an explicit override when given,
// otherwise the program's folder, or the development folder when the
// program folder's path holds "VB".
std::string SettingsFolder(std::string_view programFolder, std::string_view overrideFolder);

// Names the settings folder when the command line does not.
inline constexpr const char* kSettingsFolderVariable = "ORL_SETTINGS_DIR";

// The settings folder both programs use: the folder the command line names,
// else the one ORL_SETTINGS_DIR names (blank counts as unset), else for an
// installed program (bundled examples in ../share/orl/examples) the user's
// settings folder, filled from the examples on first start (see
// user_settings.h), else the program's folder as SettingsFolder has it.
std::string ChosenSettingsFolder(std::string_view programFolder, std::string_view commandLineFolder);

// The settings file of a settings folder.
std::filesystem::path SettingsPath(std::string_view settingsFolder);

}  // namespace orl
