#pragma once
// Every text the programs show, spelled once: message boxes, the status bar,
// window titles, menus, captions and labels, and the debug-log lines written
// from more than one place. Each is character for character what the panels'
// users have always seen, misspellings included. UTF-8 and free of Qt, so the
// core and the protocol use them as they are; the windows convert them at the
// widget (Utf8, ui/textcodec.h) and fill in %1, %2 with QString::arg.
// Not here: a build's own captions (name, version, box captions) are the
// variant's (model/variant.h), the combo lists the list texts also use are
// the event model's (model/events.h), and the built-in help file's text is
// the Help menu's (ui/tform1_menus.cpp).

// Captions and labels on more than one window or page.
inline constexpr char kAdd[] = "Add";
inline constexpr char kCancel[] = "Cancel";
inline constexpr char kOk[] = "Ok";
inline constexpr char kOkCapitals[] = "OK";
inline constexpr char kClear[] = "Clear";
inline constexpr char kClearAll[] = "Clear All";
inline constexpr char kDelete[] = "Delete";
inline constexpr char kSave[] = "Save";
inline constexpr char kSaveAs[] = "Save as";
inline constexpr char kSet[] = "Set";
inline constexpr char kDialogTitle[] = "Dialog";
inline constexpr char kTcpIp[] = "TCP/IP";       // device group, "TCP/IP" dialog and menu
inline constexpr char kDownload[] = "Download";  // menu item and its dialog
inline constexpr char kModify[] = "Modify";      // menu and its dialog
inline constexpr char kSetMac[] = "Set MAC";     // dialog and its box
inline constexpr char kKeyColumn[] = "Key";
inline constexpr char kType[] = "Type";  // list columns, Test > Modify > "Type"
inline constexpr char kData[] = "Data";  // list columns, the RS232 editor's data group
inline constexpr char kNumColumn[] = "Num";
inline constexpr char kAscii[] = "ASCII";
inline constexpr char kHexRadio[] = "HEX";
inline constexpr char kEndCharForAscii[] = "End Char for ASCII";
inline constexpr char kIpAddressLabel[] = "IP Address:";
inline constexpr char kNetMaskLabel[] = "Net Mask:";
inline constexpr char kGatewayLabel[] = "Gateway:";
inline constexpr char kPortLabel[] = "Port:";
inline constexpr char kLibNameLabel[] = "Lib Name:";
inline constexpr char kFunctionLabel[] = "Function:";
inline constexpr char kDataBitsLabel[] = "Data Bits:";
inline constexpr char kStopBitsLabel[] = "Stop Bits:";
inline constexpr char kDelaySendLabel[] = "Delay Send:";
inline constexpr char kRepeatCountLabel[] = "Send no.of transmission strings";
inline constexpr char kRepeatIntervalLabel[] = "Delay time between string";
inline constexpr char kChangeLib[] = "Change Lib";
inline constexpr char kEditLib[] = "Edit Lib";
inline constexpr char kOpenLib[] = "Open Lib";
inline constexpr char kNewFunction[] = "New Function";
inline constexpr char kDeleteFunction[] = "Delete Function";
inline constexpr char kKeyTypeLabel[] = "Key Tpye:";
// The Modify dialog's fields; "Name:" also labels the library name dialog.
inline constexpr char kTypeLabel[] = "Type:";
inline constexpr char kNameLabel[] = "Name:";
inline constexpr char kDataLabel[] = "Data:";

// Message boxes.
inline constexpr char kNotLegal[] = "Data is not legal";
inline constexpr char kNoAction[] = "Please add a Action in Action List";
inline constexpr char kActionListFull[] = "Action List is full";
inline constexpr char kEventListFull[] = "Event List is full";
inline constexpr char kNewLibName[] = "Please create a new lib name";
inline constexpr char kNewFunctionName[] = "Please create a new Function name";
inline constexpr char kIrLibraryFull[] = "A library holds at most %1 functions";
inline constexpr char kRs232LibraryFull[] = "The library holds %1 functions: no more can be added";
inline constexpr char kLibraryTooMany[] = "The library holds more than %1 entries: the first %1 were read";
inline constexpr char kLibraryEndsEarly[] = "The file %1 ends early: what it holds up to there was read";
inline constexpr char kProjectEndsEarly[] = "The file %1 ends early: what it holds up to there was opened";
// %1 the file, %2 the reason.
inline constexpr char kCannotOpenFile[] = "Cannot open the file %1: %2";
inline constexpr char kCannotWriteFile[] = "Cannot write the file %1: %2";
inline constexpr char kNoProjectOfThisProgram[] = "it holds no project of this program (%1)";
inline constexpr char kAskSaveChanges[] = "The project has changes that were not saved. Save them?";
inline constexpr char kAskReplaceFile[] = "%1 already exists. Replace it?";
inline constexpr char kTextTooLong[] = "A text is longer than 255 bytes: nothing was saved";
inline constexpr char kTcpPortNotOpened[] = "TCP port %1 cannot be opened (%2); panels cannot connect.";
inline constexpr char kKeepAliveNotSet[] = "setsockopt KeepAlive Error!";
inline constexpr char kKeepAliveNotTuned[] = "WSAIoctl KeepAlive Error!";
inline constexpr char kUploadNoPanel[] = "No panel is linked: the configuration was left as it is";
inline constexpr char kUploadConnectionClosed[] =
    "The panel's connection closed: the upload is incomplete; what arrived is kept";
inline constexpr char kUploadDroppedPart[] = " (%1 actions and %2 events were past what the lists hold)";
inline constexpr char kUploadDropped[] =
    "The panel sent more than the lists hold: %1 actions and %2 events were not taken";
inline constexpr char kDownloadFail[] = "Download Fail!";
inline constexpr char kDownloadNoPanel[] = "No panel is linked: nothing was sent";
// A command while the panel fields show another panel than the one linked,
// or none.
inline constexpr char kShownPanelNotLinked[] =
    "The panel shown is not linked: nothing was sent. To link it, click its row in the device list, then choose "
    "Connection > TCP/IP > Reconnect.";
inline constexpr char kDownloadNoEvents[] = "There is no event to download: nothing was sent";
inline constexpr char kDownloadPastEeprom[] =
    "The configuration does not fit into the panel's memory: nothing was sent";
inline constexpr char kDownloadConnectionClosed[] = "The panel's connection closed: the download did not finish";
inline constexpr char kIrLearnFail[] = "IR Learn Fail!";
inline constexpr char kIrLongPress[] = "Please don't long press button";
inline constexpr char kMacFieldsMissing[] = "Please add all Messages!";
inline constexpr char kEepromOutOfRange[] =
    "\xE8\xAF\xB7\xE8\xBE\x93\xE5\x85\xA5\xE8\x8C\x83\xE5\x9B\xB4\xE5\x86\x85\xE7\x9A\x84\xE6\x95\xB0"
    "\xE6\x8D\xAE!";  // 请输入范围内的数据!
// "Software Update": %1 the page, %2 the reason, one of the two below.
inline constexpr char kCannotOpenPage[] = "Cannot open the page %1: %2";
inline constexpr char kOnlyLoopback[] = "no network besides loopback";
inline constexpr char kNoBrowser[] = "no browser took it";
// A paste or drop into an Event Set data memo; %1 the most one event carries.
inline constexpr char kPasteTooLong[] = "The data is too long for one event: an event carries at most %1 bytes";

// The main window's status bar.
inline constexpr char kTcpConnected[] = "TCP Status: Connected";
inline constexpr char kTcpDisconnected[] = "TCP Status: Disconnected";
inline constexpr char kUdpActivated[] = "UDP Status: Activated";
inline constexpr char kLocalIp[] = "Local IP\xEF\xBC\x9A";  // a full-width colon
inline constexpr char kAccessCodePrompt[] = "Key:";         // and the code typed so far

// The main window.
inline constexpr char kPanelSet[] = "Panel Set";
inline constexpr char kGroupControl[] = "CONTROL";
inline constexpr char kGroupDisplay[] = "DISPLAY";
inline constexpr char kGroupAudio[] = "AUDIO";
inline constexpr char kKeyOn[] = "ON";
inline constexpr char kKeyOff[] = "OFF";
inline constexpr char kKeyMute[] = "MUTE";
inline constexpr char kKeyXn[] = "XN";
inline constexpr char kLinkTip[] = "Link";
inline constexpr char kActionList[] = "Action List";
inline constexpr char kDeleteEmpty[] = "Delete Empty";
inline constexpr char kEventList[] = "Event List";
inline constexpr char kUp[] = "Up";
inline constexpr char kDown[] = "Down";
inline constexpr char kHelpFile[] = "help.txt";  // the file and the window that shows it

// The main window's menus.
inline constexpr char kMenuFile[] = "File";
inline constexpr char kMenuOpen[] = "Open";
inline constexpr char kMenuSystem[] = "System";
inline constexpr char kMenuMessage[] = "Message";
inline constexpr char kMenuSoftwareUpdate[] = "Software Update";
inline constexpr char kMenuFactoryDefault[] = "Factory Default";
inline constexpr char kMenuConnection[] = "Connection";
inline constexpr char kMenuReconnect[] = "Reconnect";
inline constexpr char kMenuSetting[] = "Setting";
inline constexpr char kMenuUpload[] = "Upload";
inline constexpr char kMenuHelp[] = "Help";
inline constexpr char kMenuAbout[] = "about ";
inline constexpr char kMenuTest[] = "Test";
inline constexpr char kMenuDebug[] = "Debug";
inline constexpr char kMenuDebugDataClear[] = "Debug Data Clear";
inline constexpr char kMenuStm32Debug[] = "STM32  Debug";
inline constexpr char kMenuOn[] = "On";
inline constexpr char kMenuOff[] = "Off";
inline constexpr char kMenuTcpReconnect[] = "TCP/TP Reconnet";
inline constexpr char kMenuEepromClear[] = "EERom Clear";
inline constexpr char kMenuEepromRead[] = "EERom Read";
inline constexpr char kMenuEepromTable[] = "EE Tab";
inline constexpr char kMenuName[] = "Name";
inline constexpr char kMenuKeyLock[] = "Key Lock";
inline constexpr char kMenuLock[] = "Lock";
inline constexpr char kMenuUnlock[] = "UnLock";
inline constexpr char kMenuPownFunction[] = "POWN Function";
inline constexpr char kMenuLocalData[] = "Local Data";
inline constexpr char kMenuSetMac[] = "Set Mac";

// The Event Set pages; their tabs are the event kinds (model/events.h).
inline constexpr char kEventSet[] = "Event Set";
inline constexpr char kBaudLabel[] = "Baud:";
inline constexpr char kParityLabel[] = "Parity:";
inline constexpr char kCarrierLabel[] = "Carrier:";
inline constexpr char kIpLabel[] = "IP:";
inline constexpr char kHourLabel[] = "Hour:";
inline constexpr char kMinuteLabel[] = "Minute:";
inline constexpr char kSecondLabel[] = "Second:";
inline constexpr char kReset[] = "Reset";
inline constexpr char kSourceLabel[] = "Source:";
inline constexpr char kKeyLabel[] = "Key:";
inline constexpr char kLightLabel[] = "Light:";
inline constexpr char kToggleStartLabel[] = "Toggle Start No.:";

// The key dialogs. The kinds are also what a record keeps (TActionList::ActionKind).
inline constexpr char kKeyGroupLabel[] = "Key Group";
inline constexpr char kNoGroup[] = "--";
inline constexpr char kGroupItem[] = "Group %1";
inline constexpr char kKeyNameLabel[] = "Key Name";
inline constexpr char kPress[] = "Press";
inline constexpr char kRelease[] = "Release";
inline constexpr char kToggle[] = "Toggle";
inline constexpr char kLeftHanded[] = "Left-handed";
inline constexpr char kRightHanded[] = "Right-handed";
inline constexpr char kKey10Title[] = "Form12";

// "TCP/IP" (TForm3).
inline constexpr char kPortIdLabel[] = "Port ID:";

// "IR Edit" (TForm4).
inline constexpr char kIrEditTitle[] = "IR Edit";
inline constexpr char kIrLibNameLabel[] = "IR Lib Name:";
inline constexpr char kCreatLib[] = "Creat Lib";
inline constexpr char kEditGroup[] = "Edit";
inline constexpr char kRenameFunction[] = "Rename For Function";
inline constexpr char kLearn[] = "Learn";
inline constexpr char kSaveEdit[] = "Save Edit";
inline constexpr char kExit[] = "Exit";
inline constexpr char kNoColumn[] = "No.";
inline constexpr char kNameColumn[] = "name";

// The RS232 library editor (TForm6).
inline constexpr char kRs232LibNameLabel[] = "RS232 Lib Name:";
inline constexpr char kBaudRateLabel[] = "Baud Rate:";
inline constexpr char kEndCharForAsciiFormat[] = "End Char for ASCII Farmat ";
inline constexpr char kNewLib[] = "New Lib";

// "Download" (TForm7): its button shows what the download stands at.
inline constexpr char kStart[] = "Start";
inline constexpr char kDownloading[] = "Downloading";
inline constexpr char kSuccess[] = "Success";
inline constexpr char kDone[] = "Done:";  // and the percentage

// "Set IP" (TForm8).
inline constexpr char kSetIpTitle[] = "Set IP";
inline constexpr char kNetMaskCapitalsLabel[] = "NET Mask:";
inline constexpr char kCannel[] = "Cannel";

// "Set MAC" (TForm9).
inline constexpr char kMacAddress[] = "Mac address";
inline constexpr char kMacSeparator[] = "-";

// "System Message" (TForm10): captions, and the values until a panel answers.
inline constexpr char kSystemMessage[] = "System Message";
inline constexpr char kLinkStatus[] = "Link Status";
inline constexpr char kMachineType[] = "Machine Type";
inline constexpr char kSoftwareVersion[] = "Software Version";
inline constexpr char kIpInfo[] = "IP Info";
inline constexpr char kMac[] = "MAC";
inline constexpr char kLinkNormal[] = "Normal";  // what a link-status answer shows
inline constexpr char kLinkAbnormal[] = "Disnormal";
inline constexpr char kNotReported[] = "None";
inline constexpr char kNoMac[] = "00-00-00-00-00-00";

// "EEPROM Table" (TForm11).
inline constexpr char kEepromTable[] = "EEPROM Table";
inline constexpr char kFillZeros[] = "\xE7\xBD\xAE\x30";              // 置0
inline constexpr char kFillOnes[] = "\xE7\xBD\xAE\x31";               // 置1
inline constexpr char kExport[] = "\xE5\xAF\xBC\xE5\x87\xBA";         // 导出
inline constexpr char kProgram[] = "\xE7\xBC\x96\xE7\xA8\x8B";        // 编程
inline constexpr char kQuit[] = "\xE9\x80\x80\xE5\x87\xBA";           // 退出
inline constexpr char kSettingsGroup[] = "\xE8\xAE\xBE\xE7\xBD\xAE";  // 设置
// 起始地址： and 字节总数：
inline constexpr char kStartAddressLabel[] = "\xE8\xB5\xB7\xE5\xA7\x8B\xE5\x9C\xB0\xE5\x9D\x80\xEF\xBC\x9A";
inline constexpr char kByteCountLabel[] = "\xE5\xAD\x97\xE8\x8A\x82\xE6\x80\xBB\xE6\x95\xB0\xEF\xBC\x9A";
inline constexpr char kRead[] = "\xE8\xAF\xBB\xE5\x8F\x96";  // 读取

// Debug-log lines (or their beginnings) written from more than one place.
inline constexpr char kLogCrcError[] = "crc err";
inline constexpr char kLogAck01[] = "Ack 01";
inline constexpr char kLogDownloadFlag[] = "DownloadFlag:";
inline constexpr char kLogFromPanel[] = "ss";  // before a record's bytes or a settings line
inline constexpr char kLogRecordType[] = "itype";
inline constexpr char kLogRecordLength[] = "len:";
inline constexpr char kLogTcpIp[] = "TCP_IP\xEF\xBC\x9A ";  // a full-width colon
inline constexpr char kLogTcpPort[] = "TCP_Port:";
