// The main window's side of the code libraries: "Change Lib" and "Edit Lib"
// of the RS232 and IR pages, and a library entry put into the RS232 page.
#include <fstream>
#include <sstream>

#include "model/fileio.h"
#include "model/hex.h"
#include "model/irlib.h"
#include "model/rs232lib.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"
#include "ui/tform4.h"
#include "ui/tform6.h"

namespace {

struct LibraryChoice {
  bool Refused = false;              // a warning was shown: nothing may change
  std::optional<std::string> Bytes;  // the file, when one with exactly the extension was chosen
  QString Name;
};

LibraryChoice ChooseLibraryFile(TForm1& f, const char* sub, const char* extension) {
  const std::filesystem::path dir = f.LibraryFolder(sub);
  // The same filter text as the project files', for this extension.
  const QString filter = Utf8(f.F.V.SaveAsFilter).replace(QStringLiteral(".dat"), QString::fromLatin1(extension));
  LibraryChoice c;
  c.Name = f.F.S.Files->OpenFileName(&f, QString::fromStdString(dir.string()), filter);
  if (c.Name.isEmpty()) return c;
  const std::filesystem::path path(c.Name.toStdString());
  if (path.extension() != extension) return c;
  c.Bytes = f.F.ReadUserFile(&f, Utf8(f.F.V.BoxCaption), path);
  c.Refused = !c.Bytes;
  return c;
}

void SelectText(QComboBox* c, const std::string& text) {
  const int i = c->findText(FromGbk(text));
  if (i >= 0) c->setCurrentIndex(i);
}

}  // namespace

void TForm1::QelButton9Click() {
  const LibraryChoice chosen = ChooseLibraryFile(*this, "RS232", ".rss");
  if (chosen.Refused) return;
  QelComboBox1->clear();
  if (const auto& bytes = chosen.Bytes) {
    const Rs232LibraryRead read = ReadRs232Library(F.V, *bytes);
    WarnAboutLibraryRead(F, this, Utf8(F.V.BoxCaption), chosen.Name, read.Warnings);
    QelEdit2->setText(FromGbk(read.Library.Name));
    for (size_t k = 0; k < read.Library.Functions.size(); ++k) {
      TRs232& entry = Rs232Lib[k + 1];
      entry = read.Library.Functions[k];
      entry.Number = static_cast<int32_t>(k + 1);
      QelComboBox1->addItem(FromGbk(entry.Name));
    }
  }
  if (!QelEdit2->text().isEmpty()) {
    LoadRs232LibEntry(1);
    QelComboBox1->setCurrentIndex(0);
  }
}

void TForm1::QelButton10Click() { F.S.Dialogs->Run(F.Form6); }

void TForm1::QelComboBox1Change(int index) { LoadRs232LibEntry(index + 1); }

void TForm1::LoadRs232LibEntry(int n) {
  if (n <= 0 || n > kMaxLibraryEntries) return;
  const TRs232& e = Rs232Lib[n];
  SelectText(QelComboBox1, e.Name);
  SelectText(QelComboBox4, e.Baud);
  SelectText(QelComboBox5, e.DataBits);
  SelectText(QelComboBox6, e.StopBits);
  std::string data = e.Data;
  if (e.Format == "asc") {
    QelRadioButton1->setChecked(true);
  } else if (e.Format == "hex") {
    QelRadioButton2->setChecked(true);
    data = BytesToSpacedHex(e.Data);
  }
  // The library's "LF+CR" is 0A 0D, which no end character of the page makes:
  // the 9-key build keeps those bytes in the data and sends no end character.
  int end = items::IndexOf(items::kEndChars, e.EndChar);
  if (e.EndChar == "LF+CR") {
    if (F.V.Rs232LibEndBytes) {
      if (e.Format == "asc") data += "\n\r";
      end = 0;
    } else {
      end = 3;
    }
  }
  if (e.Format == "asc" || e.Format == "hex") Memo1Bytes->SetBytes(data);
  if (end >= 0) QelComboBox7->setCurrentIndex(end);
  else if (!F.V.Rs232LibEndBytes) QelComboBox7->setCurrentIndex(0);
}

void TForm1::QelButton13Click() {
  const LibraryChoice chosen = ChooseLibraryFile(*this, "IR", ".irr");
  if (chosen.Refused) return;
  QelComboBox8->clear();
  if (const auto& bytes = chosen.Bytes) {
    const IrLibraryRead read = ReadIrLibrary(F.V, *bytes);
    WarnAboutLibraryRead(F, this, Utf8(F.V.BoxCaption), chosen.Name, read.Warnings);
    QelEdit3->setText(FromGbk(read.Library.Name));
    for (size_t k = 0; k < read.Library.Rows.size(); ++k) {
      IrLib[k + 1] = read.Library.Rows[k];
      QelComboBox8->addItem(FromGbk(IrLib[k + 1].Name));
    }
    IrCodeRaw = 0;
  }
  if (!QelEdit3->text().isEmpty()) QelComboBox8->setCurrentIndex(0);
}

void TForm1::QelButton14Click() {
  // Each press starts with an empty editor; learned codes go to the newest one.
  delete F.Form4;
  F.Form4 = new TForm4(F);
  F.S.Dialogs->Run(F.Form4);
}
