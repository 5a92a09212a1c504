#include "ui/tform6.h"

#include <QTimer>
#include <algorithm>

#include "model/gbk.h"
#include "model/hex.h"
#include "model/texts.h"
#include "ui/layout.h"
#include "ui/libraryfiles.h"
#include "ui/textcodec.h"
#include "ui/tform5.h"
#include "ui/widgets.h"

using namespace layout;

namespace {

// Control bytes and their pictures (U+2400..U+241F, DEL U+2421).
bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }
QChar PictureOf(unsigned char c) { return QChar(c == 0x7F ? 0x2421 : 0x2400 + c); }
int ControlOfPicture(QChar ch) {
  const char16_t u = ch.unicode();
  if (u >= 0x2400 && u <= 0x241F) return u - 0x2400;
  if (u == 0x2421) return 0x7F;
  return -1;
}

// What the widget shows for a byte string that should stand as it is:
// the decoded text when it decodes back to the same bytes.
std::string Kept(const QString& shown, const std::string& kept) {
  if (FromGbk(kept) == shown) return kept;
  return ToGbkOrEmpty(shown);
}

// An editable combo whose typed characters code page 936 must hold.
QComboBox* MakeCombo(QWidget* parent, const char* name, const std::vector<std::string>& items, const QRect& r) {
  auto* c = Place(new QComboBox(parent), name, r);
  c->setEditable(true);
  auto* edit = new TEdit(c);
  edit->KeyPress = GbkKeyFilter;
  c->setLineEdit(edit);
  c->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& i : items) c->addItem(Utf8(i));
  return c;
}

}  // namespace

// ---------------------------------------------------------------------------
// LineBytes

LineBytes::LineBytes(QLineEdit* edit, std::function<void()> refused)
    : QObject(edit), edit_(edit), refused_(std::move(refused)) {
  connect(edit_, &QLineEdit::textEdited, this, &LineBytes::UserEdited);
}

std::string LineBytes::Bytes() const {
  std::string b;
  for (const Piece& p : pieces_) b += p.Bytes;
  return b;
}

void LineBytes::SetBytes(std::string_view b) {
  pieces_.clear();
  for (size_t i = 0; i < b.size(); ++i) {
    const uint8_t c = ByteAt(b, i);
    if (IsControl(c)) {
      pieces_.push_back({PictureOf(c), std::string(1, b[i])});
      continue;
    }
    const size_t len = GbkCharLength(b, i);
    const QString s = FromGbk(b.substr(i, len));
    // A byte no character stands for is shown as U+FFFD and kept.
    const QChar shown = s.size() == 1 ? s.at(0) : QChar(QChar::ReplacementCharacter);
    pieces_.push_back({shown, std::string(b.substr(i, len))});
    i += len - 1;
  }
  Show();
}

void LineBytes::Show() {
  QString t;
  for (const Piece& p : pieces_) t += p.Shown;
  const int cursor = edit_->cursorPosition();
  edit_->setText(t);
  edit_->setCursorPosition(std::min(cursor, static_cast<int>(t.size())));
}

void LineBytes::UserEdited(const QString& now) {
  const int old = static_cast<int>(pieces_.size());
  const int size = static_cast<int>(now.size());
  int prefix = 0;
  while (prefix < old && prefix < size && pieces_[prefix].Shown == now.at(prefix)) ++prefix;
  int suffix = 0;
  while (suffix < old - prefix && suffix < size - prefix &&
         pieces_[old - 1 - suffix].Shown == now.at(size - 1 - suffix))
    ++suffix;

  // Only the changed characters become new bytes; the rest keep theirs.
  std::vector<Piece> typed;
  bool refused = false, fieldMark = false;
  for (int i = prefix; i < size - suffix; ++i) {
    const QChar ch = now.at(i);
    int control = ControlOfPicture(ch);
    if (control < 0 && ch.unicode() < 0x80 && IsControl(static_cast<unsigned char>(ch.unicode())))
      control = ch.unicode();
    if (control >= 0) {
      if (control == 0x01 || control == 0x04) fieldMark = true;
      typed.push_back({PictureOf(static_cast<unsigned char>(control)), std::string(1, static_cast<char>(control))});
      continue;
    }
    std::string bytes;
    if (!ToGbk(QString(ch), &bytes)) {
      refused = true;
      break;
    }
    typed.push_back({ch, bytes});
  }
  if (refused || fieldMark) {
    const int cursor = std::clamp(edit_->cursorPosition() - (size - old), 0, old);
    Show();
    edit_->setCursorPosition(cursor);
    // The box comes after the widget has settled.
    if (fieldMark && refused_) QTimer::singleShot(0, this, [this] { refused_(); });
    return;
  }
  pieces_.erase(pieces_.begin() + prefix, pieces_.begin() + (old - suffix));
  pieces_.insert(pieces_.begin() + prefix, typed.begin(), typed.end());
  QString shown;
  for (const Piece& p : pieces_) shown += p.Shown;
  if (shown != now) Show();  // a pasted control byte is shown as its picture
}

// ---------------------------------------------------------------------------
// TForm6

TForm6::TForm6(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form6"));
  setWindowTitle(Utf8(kDialogTitle));
  setFixedSize(478, 344);

  MakeLabel(this, Utf8(kRs232LibNameLabel), QRect(16, 16, 108, 22));
  Edit1 = Place(new QLineEdit(this), "Edit1", QRect(128, 15, 196, 24));
  Edit1->setReadOnly(true);
  MakeLabel(this, Utf8(kFunctionLabel), QRect(16, 50, 108, 22));
  ComboBox1 = MakeCombo(this, "ComboBox1", {}, QRect(128, 49, 196, 24));

  auto* set = new QGroupBox(Utf8(kSet), this);
  set->setGeometry(12, 84, 316, 118);
  MakeLabel(set, Utf8(kBaudRateLabel), QRect(12, 24, 86, 22));
  ComboBox4 = MakeCombo(set, "ComboBox4", rs232lib::kBauds, QRect(104, 23, 130, 24));
  ComboBox4->setCurrentIndex(rs232lib::kBaudDefault);
  MakeLabel(set, Utf8(kDataBitsLabel), QRect(12, 54, 86, 22));
  ComboBox5 = MakeCombo(set, "ComboBox5", rs232lib::kDataBits, QRect(104, 53, 130, 24));
  ComboBox5->lineEdit()->setMaxLength(1);
  ComboBox5->setCurrentIndex(0);
  MakeLabel(set, Utf8(kStopBitsLabel), QRect(12, 84, 86, 22));
  ComboBox6 = MakeCombo(set, "ComboBox6", rs232lib::kStopBits, QRect(104, 83, 130, 24));
  ComboBox6->setCurrentIndex(0);

  auto* data = new QGroupBox(Utf8(kData), this);
  data->setGeometry(12, 210, 316, 122);
  RadioButton2 = Place(new QRadioButton(Utf8(kAscii), data), "RadioButton2", QRect(12, 30, 70, 22));
  RadioButton2->setChecked(true);
  RadioButton1 = Place(new QRadioButton(Utf8(kHexRadio), data), "RadioButton1", QRect(78, 30, 58, 22));
  auto* end = new QGroupBox(Utf8(kEndCharForAsciiFormat), data);
  end->setGeometry(136, 14, 170, 54);
  ComboBox7 = MakeCombo(end, "ComboBox7", rs232lib::kEndChars, QRect(10, 22, 150, 24));
  ComboBox7->setCurrentIndex(0);
  Edit3 = Place(new QLineEdit(data), "Edit3", QRect(12, 82, 216, 24));
  Edit3Bytes = new LineBytes(Edit3, [this] { F.Warn(this, LibraryBoxCaption(F.V), Utf8(kNotLegal)); });
  Button5 = MakeButton<TQelButton>(data, "Button5", Utf8(kClear), QRect(236, 81, 70, 26));

  Button1 = MakeButton<TQelButton>(this, "Button1", Utf8(kOpenLib), QRect(344, 14, 120, 28));
  Button2 = MakeButton<TQelButton>(this, "Button2", Utf8(kNewLib), QRect(344, 48, 120, 28));
  Button3 = MakeButton<TQelButton>(this, "Button3", Utf8(kNewFunction), QRect(344, 96, 120, 28));
  Button4 = MakeButton<TQelButton>(this, "Button4", Utf8(kDeleteFunction), QRect(344, 130, 120, 28));
  Button6 = MakeButton<TQelButton>(this, "Button6", Utf8(kSave), QRect(344, 178, 120, 28));
  Button7 = MakeButton<TQelButton>(this, "Button7", Utf8(kSaveAs), QRect(344, 212, 120, 28));
  Button8 = MakeButton<TQelButton>(this, "Button8", Utf8(kOkCapitals), QRect(344, 270, 120, 28));
  Button9 = MakeButton<TQelButton>(this, "Button9", Utf8(kCancel), QRect(344, 304, 120, 28));

  connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm6::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TForm6::Button4Click);
  connect(Button5, &QPushButton::clicked, this, &TForm6::Button5Click);
  connect(Button6, &QPushButton::clicked, this, &TForm6::Button6Click);
  connect(Button7, &QPushButton::clicked, this, &TForm6::Button7Click);
  connect(Button8, &QPushButton::clicked, this, &TForm6::Button8Click);
  connect(Button9, &QPushButton::clicked, this, &TForm6::Button9Click);
  // User choices only: the program sets these combos when it shows a function.
  connect(ComboBox1, &QComboBox::activated, this, &TForm6::ComboBox1Change);
  connect(ComboBox4, &QComboBox::activated, this, &TForm6::ComboBox4Change);
  connect(ComboBox4->lineEdit(), &QLineEdit::textEdited, this, &TForm6::ComboBox4Change);
  connect(ComboBox7, &QComboBox::activated, this, &TForm6::ComboBox7Change);
  connect(ComboBox7->lineEdit(), &QLineEdit::textEdited, this, &TForm6::ComboBox7Change);
  connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) { shownName_ = t; });
  Rs232EditCurrent = 0;
}

void TForm6::SetLibName(const std::string& name) {
  Rs232LibName = name;
  Edit1->setText(FromGbk(name));
}

std::string TForm6::BuildRs232FunctionRecord() { return BuildCurrent().value_or(std::string()); }

std::optional<std::string> TForm6::BuildCurrent(bool* legal) {
  if (Rs232EditCurrent <= 0 || Rs232EditCurrent > Rs232EditCount()) return std::nullopt;
  Rs232Function& old = Rs232EditFunctions[Rs232EditCurrent - 1];
  const Rs232FunctionTexts t{.Name = Kept(ComboBox1->currentText(), old.Name),
                             .Baud = Kept(ComboBox4->currentText(), old.Baud),
                             .DataBits = Kept(ComboBox5->currentText(), old.DataBits),
                             .StopBits = Kept(ComboBox6->currentText(), old.StopBits),
                             .Hex = RadioButton1->isChecked(),
                             .EndChar = Kept(ComboBox7->currentText(), old.EndChar),
                             .Data = Edit3Bytes->Bytes()};
  Rs232FunctionBuilt built = BuildRs232Function(F.V, t);
  if (built.BadGroups > 0) {
    F.Warn(this, Utf8(F.V.HexBoxCaption), Utf8(kNotLegal));
    if (legal) *legal = false;
  }
  built.Function.Number = Rs232EditCurrent;
  // A function opened from a file keeps writing the end bytes it had there.
  built.Function.EndBytesInFile = old.EndBytesInFile;
  LibraryWrite record = Rs232FunctionRecord(F.V, built.Function);
  if (!record.Ok()) {
    // 01 or 04 would shift every later field: the stored function stays as it was.
    F.Warn(this, LibraryBoxCaption(F.V), Utf8(kNotLegal));
    if (legal) *legal = false;
    return std::nullopt;
  }
  old = std::move(built.Function);
  return std::move(record.Bytes);
}

void TForm6::ShowRs232Function(int n) {
  if (n <= 0 || n > Rs232EditCount()) return;
  const Rs232Function& f = Rs232EditFunctions[n - 1];
  ComboBox1->setEditText(FromGbk(f.Name));
  ComboBox4->setEditText(FromGbk(f.Baud));
  ComboBox5->setEditText(FromGbk(f.DataBits));
  ComboBox6->setEditText(FromGbk(f.StopBits));
  if (const std::optional<std::string> text = Rs232DataText(f)) {
    (f.Format == rs232lib::kHex ? RadioButton1 : RadioButton2)->setChecked(true);
    Edit3Bytes->SetBytes(*text);
  }
  ComboBox7->setEditText(FromGbk(f.EndChar));
  shownName_ = ComboBox1->currentText();
}

bool TForm6::KeepCurrent(const QString& name) {
  if (Rs232EditCurrent <= 0) return true;
  const QString shown = ComboBox1->currentText();
  ComboBox1->setEditText(name);
  bool legal = true;
  BuildCurrent(&legal);
  ComboBox1->setEditText(shown);
  return legal;
}

void TForm6::Button1Click() {
  const LibraryChoice chosen = ChooseLibraryFile(F, this, kRs232Files, LibraryBoxCaption(F.V));
  if (chosen.Refused) return;  // the library stays as it was
  Rs232EditFunctions.clear();
  ComboBox1->clear();
  SetLibName({});
  Rs232EditCurrent = 0;
  if (!chosen.Bytes) return;
  Rs232LibraryRead read = ReadRs232Library(F.V, *chosen.Bytes);
  WarnAboutLibraryRead(F, this, LibraryBoxCaption(F.V), chosen.Name, read.Warnings);
  SetLibName(read.Library.Name);
  Rs232EditFunctions = std::move(read.Library.Functions);
  for (const Rs232Function& f : Rs232EditFunctions) ComboBox1->addItem(FromGbk(f.Name));
  if (!Rs232LibName.empty() && Rs232EditCount() > 0) {
    ComboBox1->setCurrentIndex(0);
    Rs232EditCurrent = 1;
    ShowRs232Function(1);
  }
}

void TForm6::Button2Click() {
  Rs232NameRequest = 2;
  F.Form5->Ask([this](const std::string& name) { NameChosen(name); }, NameUse::Library);
}

void TForm6::Button3Click() {
  // What was typed for the current function is kept before the data edit empties.
  if (!KeepCurrent(ComboBox1->currentText())) return;
  if (Rs232EditCount() >= kMaxLibraryEntries) {
    F.Warn(this, LibraryBoxCaption(F.V), Utf8(kRs232LibraryFull).arg(kMaxLibraryEntries));
    return;
  }
  Rs232NameRequest = 1;
  // Only "Ok" empties the data edit, for the new function; "Cancel" leaves it.
  F.Form5->Ask([this](const std::string& name) { NameChosen(name); }, NameUse::Function);
}

void TForm6::NameChosen(const std::string& name) {
  if (Rs232NameRequest == 1) {
    if (Rs232EditCount() >= kMaxLibraryEntries) return;
    ComboBox1->addItem(FromGbk(name));
    Rs232EditFunctions.push_back(Rs232Function{});
    Rs232EditCurrent = Rs232EditCount();
    Rs232EditFunctions.back().Number = Rs232EditCurrent;
    ComboBox1->setCurrentIndex(Rs232EditCurrent - 1);
    // A new function starts with no data, not the one shown before it.
    Edit3Bytes->SetBytes({});
    shownName_ = ComboBox1->currentText();
    BuildRs232FunctionRecord();
  } else if (Rs232NameRequest == 2) {
    SetLibName(name);
    ComboBox1->clear();
    ComboBox1->clearEditText();
    Edit3Bytes->SetBytes({});
    Rs232EditFunctions.clear();
    Rs232EditCurrent = 0;
  }
}

void TForm6::ComboBox1Change(int index) {
  if (!KeepCurrent(shownName_)) {
    // The typed data stays, and with it the function it was typed for.
    ComboBox1->setCurrentIndex(Rs232EditCurrent - 1);
    ComboBox1->setEditText(shownName_);
    return;
  }
  Rs232EditCurrent = index + 1;
  ShowRs232Function(Rs232EditCurrent);
}

void TForm6::Button4Click() {
  const int i = ComboBox1->currentIndex() + 1;
  if (i < 1 || i > Rs232EditCount()) return;
  Rs232EditFunctions.erase(Rs232EditFunctions.begin() + (i - 1));
  for (int n = i; n <= Rs232EditCount(); ++n) Rs232EditFunctions[n - 1].Number = n;
  ComboBox1->removeItem(i - 1);
  if (Rs232EditFunctions.empty()) {
    ComboBox1->clear();
    ComboBox1->clearEditText();
    Edit3Bytes->SetBytes({});
    Rs232EditCurrent = 0;
    return;
  }
  ComboBox1->setCurrentIndex(0);
  Rs232EditCurrent = 1;
  ShowRs232Function(1);
}

void TForm6::Button5Click() { Edit3Bytes->SetBytes({}); }

std::optional<std::string> TForm6::LibraryBytes() {
  if (Rs232EditCurrent > 0 && !BuildCurrent()) return std::nullopt;
  // Every function from its stored fields: one opened and never rebuilt
  // is written as it was read.
  const LibraryWrite w = WriteRs232Library(F.V, Rs232Library{Rs232LibName, Rs232EditFunctions});
  if (!w.Ok()) {
    F.Warn(this, LibraryBoxCaption(F.V), Utf8(kNotLegal));
    return std::nullopt;
  }
  return w.Bytes;
}

bool TForm6::WriteLibrary(const std::filesystem::path& path) {
  const std::optional<std::string> bytes = LibraryBytes();
  return bytes && F.WriteUserFile(this, LibraryBoxCaption(F.V), path, *bytes);
}

void TForm6::Button6Click() {
  if (Rs232LibName.empty()) {
    F.Warn(this, LibraryBoxCaption(F.V), Utf8(kNewLibName));
    return;
  }
  if (ComboBox1->currentText().isEmpty()) {
    F.Warn(this, LibraryBoxCaption(F.V), Utf8(kNewFunctionName));
    return;
  }
  // The name becomes a file name: it must stay inside the library folder,
  // also once decoded for the file system.
  const QString shown = FromGbk(Rs232LibName);
  if (!IsLibraryFileName(Rs232LibName) || shown.contains(QLatin1Char('/')) || shown.contains(QLatin1Char('\\'))) {
    F.Warn(this, LibraryBoxCaption(F.V), Utf8(kNewLibName));
    return;
  }
  const std::filesystem::path dir = LibraryFolderPath(F.Config, kRs232Files.Sub, true);
  if (!WriteLibrary(dir / (shown + QString::fromLatin1(kRs232Files.Extension)).toStdString())) return;
  // The 6-key build, the one that writes no end bytes, also logs the save.
  if (!F.V.Rs232LibEndBytes) F.Log(QStringLiteral("update data"));
}

void TForm6::Button7Click() {
  const QString name = F.S.Files->SaveFileName(this, FolderText(LibraryFolderPath(F.Config, kRs232Files.Sub, true)),
                                               LibraryFilter(F.V, kRs232Files));
  if (name.isEmpty()) return;
  // ".rss" is always added, as "Save as" of the project files adds ".dat".
  WriteLibrary(std::filesystem::path((name + QString::fromLatin1(kRs232Files.Extension)).toStdString()));
}
