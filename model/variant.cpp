#include "model/variant.h"

const Variant kVantor{
    .Name = "Vantor",
    .Version = "V1.0.1",
    .BoxCaption = "Vantor V1.0.1",
    .HexBoxCaption = "Vantor-V1.0.0",
    .DelayBoxCaption = "Quillet V1.0.0",
    .KeyCount = 10,
    .GroupCount = 9,
    .PackedHeader = false,
    .HeaderLength = 3,
    .SerialPortCount = 5,
    .SerialDataBitsWeight = 8,  // shares bit 4 with the stop bits, as the panel expects
    .Rs232PageCaption = "RS232/485",
    .HasKey10Dialog = true,
    .HasModifyDialog = true,
    .HasKeyLockMenu = true,
    .HasSendCommandData = true,
    .IrLongPressMessage = false,
    .EeromClearAsCommand21 = false,
    .SpacedHexStopsAtFirstBadGroup = false,
    .SaveAsFilter = "\xE6\x96\x87\xE6\x9C\xAC\xE6\x96\x87\xE4\xBB\xB6(*.dat)",  // UTF-8 "文本文件(*.dat)"
    .Rs232LibEndBytes = true,
};

const Variant kQuillet{
    .Name = "Quillet",
    .Version = "V1.0.5",
    .BoxCaption = "Quillet V1.0.5",
    .HexBoxCaption = "Quillet-V1.0.5",
    .DelayBoxCaption = "Quillet V1.0.5",
    .KeyCount = 6,
    .GroupCount = 6,
    .PackedHeader = true,
    .HeaderLength = 1,
    .SerialPortCount = 3,
    .SerialDataBitsWeight = 4,
    .Rs232PageCaption = "RS232",
    .HasKey10Dialog = false,
    .HasModifyDialog = false,
    .HasKeyLockMenu = false,
    .HasSendCommandData = false,
    .IrLongPressMessage = true,
    .EeromClearAsCommand21 = true,
    .SpacedHexStopsAtFirstBadGroup = true,
    .SaveAsFilter = "text file(*.dat)",
    .Rs232LibEndBytes = false,
};
