#include "ui/tform4.h"

#include <QDir>
#include <algorithm>
#include <filesystem>

#include "link/panellink.h"
#include "link/protocol.h"
#include "model/hex.h"
#include "model/texts.h"
#include "ui/layout.h"
#include "ui/libraryfiles.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"
#include "ui/tform5.h"

using namespace layout;

namespace {

std::filesystem::path PathOf(const QString& name) { return std::filesystem::path(name.toStdU16String()); }

}  // namespace

TForm4::TForm4(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(Utf8(kIrEditTitle));
  setFixedSize(720, 442);

  MakeLabel(this, Utf8(kIrLibNameLabel), QRect(18, 18, 80, 24));
  Edit1 = Place(new QLineEdit(this), "Edit1", QRect(102, 18, 240, 24));
  Edit1->setReadOnly(true);
  Button1 = MakeButton<TQelButton>(this, "Button1", Utf8(kOpenLib), QRect(360, 16, 100, 28));
  Button2 = MakeButton<TQelButton>(this, "Button2", Utf8(kCreatLib), QRect(470, 16, 100, 28));

  GroupBox1 = Place(new QGroupBox(Utf8(kEditGroup), this), "GroupBox1", QRect(8, 56, 704, 378));
  ListView1 = Place(new TListView(GroupBox1), "ListView1", QRect(10, 24, 684, 300));
  SetupIrColumns();

  constexpr int y = 336, h = 28;
  Button3 = MakeButton<TQelButton>(GroupBox1, "Button3", Utf8(kNewFunction), QRect(10, y, 100, h));
  Button4 = MakeButton<TQelButton>(GroupBox1, "Button4", Utf8(kDeleteFunction), QRect(114, y, 110, h));
  Button5 = MakeButton<TQelButton>(GroupBox1, "Button5", Utf8(kRenameFunction), QRect(228, y, 140, h));
  Button6 = MakeButton<TQelButton>(GroupBox1, "Button6", Utf8(kLearn), QRect(372, y, 72, h));
  Button7 = MakeButton<TQelButton>(GroupBox1, "Button7", Utf8(kSaveEdit), QRect(448, y, 84, h));
  Button8 = MakeButton<TQelButton>(GroupBox1, "Button8", Utf8(kSaveAs), QRect(536, y, 80, h));
  Button9 = MakeButton<TQelButton>(GroupBox1, "Button9", Utf8(kOk), QRect(536, y, 80, h));
  Button9->hide();
  Button10 = MakeButton<TQelButton>(GroupBox1, "Button10", Utf8(kExit), QRect(620, y, 74, h));

  connect(ListView1, &QTableWidget::cellClicked, this, [this] { ListView1Click(); });
  connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm4::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TForm4::Button4Click);
  connect(Button5, &QPushButton::clicked, this, &TForm4::Button5Click);
  connect(Button6, &QPushButton::clicked, this, &TForm4::Button6Click);
  connect(Button7, &QPushButton::clicked, this, &TForm4::Button7Click);
  connect(Button8, &QPushButton::clicked, this, &TForm4::Button8Click);
  connect(Button9, &QPushButton::clicked, this, &TForm4::Button9Click);
  connect(Button10, &QPushButton::clicked, this, &TForm4::Button10Click);
}

void TForm4::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FormShow();
}

// Columns are set up once here rather than on every showing, which would add them again.
void TForm4::SetupIrColumns() {
  if (ListView1->columnCount() > 0) return;
  ListView1->AddColumn(Utf8(kNoColumn), 40);
  ListView1->AddColumn(Utf8(kNameColumn), 100);
  ListView1->AddColumn(Utf8(kData), 500);
}

void TForm4::FormShow() {
  IrNameRequest = 0;
  IrRenameRow = 0;
}

void TForm4::BuildIrRecords() {
  IrEditRecords.clear();
  for (const TIR& row : lib_.Rows)
    IrEditRecords.push_back(LibraryField(row.Number) + LibraryField(row.Name) + LibraryField(row.Data));
}

void TForm4::AddListRow(const TIR& row) {
  ListView1->AddRow(FromGbk(row.Number), {FromGbk(row.Name), FromGbk(row.Data)});
}

void TForm4::ClearLibrary() {
  lib_ = IrLibrary{};
  Edit1->clear();
  ListView1->Clear();
}

void TForm4::ListView1Click() {
  const int r = ListView1->Selected();
  if (r < 0) return;
  IrRenameRow = r + 1;
  IrEditRow = r + 1;
}

void TForm4::WarnSaveBox(const QString& text) { F.Warn(this, LibraryBoxCaption(F.V), text); }

void TForm4::Button1Click() {
  // Only the exact extension: "TV.IRR" is not a library.
  const LibraryChoice chosen = ChooseLibraryFile(F, this, kIrFiles, Utf8(F.V.BoxCaption), LibraryNameRule::ExactEnding);
  if (chosen.Refused) return;  // the library stays as it was
  ClearLibrary();
  // The rows they named are gone: a learned code must not land in a row the user never chose.
  IrEditRow = 0;
  IrRenameRow = 0;
  if (!chosen.Bytes) return;
  IrLibraryRead read = ReadIrLibrary(F.V, *chosen.Bytes);
  lib_ = std::move(read.Library);
  Edit1->setText(FromGbk(lib_.Name));
  for (const TIR& row : lib_.Rows) AddListRow(row);
  WarnAboutLibraryRead(F, this, Utf8(F.V.BoxCaption), chosen.Name, read.Warnings);
}

void TForm4::Button2Click() {
  IrNameRequest = 1;
  // The dialog refuses a name that would not stay a file inside Library/IR.
  F.Form5->Ask(
      [this](const std::string& name) {
        lib_.Name = name;
        Edit1->setText(FromGbk(name));
        lib_.Rows.clear();
        ListView1->Clear();
        IrEditRow = 0;
      },
      NameUse::Library);
}

void TForm4::Button3Click() {
  if (lib_.Rows.size() >= static_cast<size_t>(kMaxLibraryEntries)) {
    F.Warn(this, Utf8(F.V.BoxCaption), Utf8(kIrLibraryFull).arg(kMaxLibraryEntries));
    return;
  }
  IrNameRequest = 2;
  // The row numbers move only when a row is made, so a cancelled dialog
  // leaves "Learn" aimed where the user left it.
  F.Form5->Ask([this](const std::string& name) {
    if (lib_.Rows.size() >= static_cast<size_t>(kMaxLibraryEntries)) return;
    lib_.Rows.push_back(NewIrRow(static_cast<int>(lib_.Rows.size()) + 1, name));
    AddListRow(lib_.Rows.back());
    IrEditRow = static_cast<int32_t>(lib_.Rows.size());
    IrRenameRow = 1;
  });
}

void TForm4::Button4Click() {
  const int r = ListView1->Selected();
  if (r < 0 || r >= static_cast<int>(lib_.Rows.size())) return;
  lib_.Rows.erase(lib_.Rows.begin() + r);
  ListView1->removeRow(r);
  for (int i = r; i < static_cast<int>(lib_.Rows.size()); ++i) {
    lib_.Rows[i].Number = std::to_string(i + 1);
    ListView1->SetCaption(i, FromGbk(lib_.Rows[i].Number));
  }
  // "Learn" goes to the row the user now sees selected, or nowhere.
  const int count = static_cast<int>(lib_.Rows.size());
  if (count > 0) {
    const int next = std::min(r, count - 1);
    ListView1->Select(next);
    IrEditRow = next + 1;
  } else {
    IrEditRow = 0;
  }
  if (IrRenameRow > 1) --IrRenameRow;
}

void TForm4::Button5Click() {
  if (IrRenameRow <= 0) return;
  IrNameRequest = 3;
  F.Form5->Ask([this](const std::string& name) {
    if (!RowNamed(IrRenameRow)) return;
    lib_.Rows[IrRenameRow - 1].Name = name;
    ListView1->SetSubItem(IrRenameRow - 1, 0, FromGbk(name));
  });
}

void TForm4::Button6Click() { F.Form1->CommandPanel(cmd::IrLearn, this); }

bool TForm4::WriteLibrary(const QString& path) {
  BuildIrRecords();
  const LibraryWrite w = WriteIrLibrary(F.V, lib_);
  if (!w.Ok()) {
    F.Warn(this, Utf8(F.V.BoxCaption), Utf8(kNotLegal));
    return false;
  }
  return F.WriteUserFile(this, Utf8(F.V.BoxCaption), PathOf(path), w.Bytes);
}

void TForm4::Button7Click() {
  const QString dir = FolderText(LibraryFolderPath(F.Config, kIrFiles.Sub, true));
  // A name read from a file may be anything; it only becomes a file name here.
  if (lib_.Name.empty() || !IsLibraryFileName(lib_.Name)) {
    WarnSaveBox(Utf8(kNewLibName));
    return;
  }
  if (lib_.Rows.empty()) return;
  WriteLibrary(dir + QLatin1Char('/') + FromGbk(lib_.Name) + QString::fromLatin1(kIrFiles.Extension));
}

void TForm4::Button8Click() {
  const QString libDir = FolderText(LibraryFolderPath(F.Config, kIrFiles.Sub, false));
  const QString dir = QDir(libDir).exists() ? libDir : FolderText(F.Config.ProgramDir);
  const QString name = F.S.Files->SaveFileName(this, dir, LibraryFilter(F.V, kIrFiles));
  if (name.isEmpty()) return;
  WriteLibrary(name + QString::fromLatin1(kIrFiles.Extension));
}

bool TForm4::PutLearnedCode(std::string_view code) {
  if (!RowNamed(IrEditRow)) return false;
  TIR& row = lib_.Rows[IrEditRow - 1];
  row.Data = BytesToHex(code);
  ListView1->SetSubItem(IrEditRow - 1, 1, FromGbk(row.Data));
  return true;
}

bool TForm4::ShowLearnAnswer(uint8_t status) {
  if (!RowNamed(IrEditRow)) return false;
  QString text;
  if (status == 0x00)
    text = Utf8(kIrLearnFail);
  else if (status == 0x02 && F.V.IrLongPressMessage)
    text = Utf8(kIrLongPress);
  else
    return false;
  F.Log(text);
  F.Warn(this, Utf8(F.V.BoxCaption), text);
  return true;
}
