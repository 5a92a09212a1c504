#pragma once
// Everything that tells the 9-key build from the 6-key build. One constant
// object per program; code asks the descriptor instead of testing the build.
#include <string>

struct Variant {
  std::string Name;             // window caption and program name
  std::string Version;          // "V1.0.1"
  std::string BoxCaption;       // caption of the warning boxes that name no caption of their own
  std::string HexBoxCaption;    // caption of the hex helpers' message
  std::string DelayBoxCaption;  // caption of the Delay page's "no action" box
  int KeyCount;                 // keys that have buttons (10 or 6)
  int GroupCount;               // "Group 1" .. "Group N"
  bool PackedHeader;            // header as one packed byte instead of three
  int HeaderLength;             // bytes of an action's header
  int SerialPortCount;          // "Port1" .. "PortN"
  int SerialDataBitsWeight;     // data-bits index weight in the serial settings byte
  std::string Rs232PageCaption;
  bool HasKey10Dialog;   // TForm12 ("XN")
  bool HasModifyDialog;  // TForm13 and the "Modify" menu
  bool HasKeyLockMenu;
  bool HasSendCommandData;
  bool IrLongPressMessage;  // "Please don't long press button"
  bool EeromClearAsCommand21;
  bool SpacedHexStopsAtFirstBadGroup;
  std::string SaveAsFilter;
  bool Rs232LibEndBytes;           // "asc" library functions written with their end bytes
  std::string VersionMenuCaption;  // System > "Version " item
  std::string VersionDate;         // second line of the version box
  bool ReconnectRestartsServer;    // Test > "TCP/TP Reconnet" restarts the server instead of sending 63
  int HelpKeyCount;                // customizable keys the help text names
  std::string HelpPanelName;       // the panel's name in the help text
  bool LogsNextAddress;            // the download logs "next addr:" after each event frame
};

extern const Variant kVantor;
extern const Variant kQuillet;
