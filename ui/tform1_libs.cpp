// The main window's side of the code libraries: "Change Lib" and "Edit Lib"
// of the RS232 and IR pages, and a library entry put into the RS232 page.
#include "model/irlib.h"
#include "model/rs232lib.h"
#include "ui/libraryfiles.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"
#include "ui/tform4.h"
#include "ui/tform6.h"

namespace {

void SelectText(QComboBox* c, const std::string& text) {
  const int i = c->findText(FromGbk(text));
  if (i >= 0) c->setCurrentIndex(i);
}

}  // namespace

void TForm1::QelButton9Click() {
  const LibraryChoice chosen = ChooseLibraryFile(F, this, kRs232Files, Utf8(F.V.BoxCaption));
  if (chosen.Refused) return;
  QelComboBox1->clear();
  if (const auto& bytes = chosen.Bytes) {
    const Rs232LibraryRead read = ReadRs232Library(F.V, *bytes);
    WarnAboutLibraryRead(F, this, Utf8(F.V.BoxCaption), chosen.Name, read.Warnings);
    QelEdit2->setText(FromGbk(read.Library.Name));
    for (size_t k = 0; k < read.Library.Functions.size(); ++k) {
      TRs232& entry = Libs.Rs232Lib[k + 1];
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
  const TRs232& e = Libs.Rs232Lib[n];
  // The first item of the name, which ApplyRs232's Function (the last) is not.
  SelectText(QelComboBox1, e.Name);
  ApplyRs232(Rs232PageChange(F.V, e));
}

void TForm1::QelButton13Click() {
  const LibraryChoice chosen = ChooseLibraryFile(F, this, kIrFiles, Utf8(F.V.BoxCaption));
  if (chosen.Refused) return;
  QelComboBox8->clear();
  if (const auto& bytes = chosen.Bytes) {
    const IrLibraryRead read = ReadIrLibrary(F.V, *bytes);
    WarnAboutLibraryRead(F, this, Utf8(F.V.BoxCaption), chosen.Name, read.Warnings);
    QelEdit3->setText(FromGbk(read.Library.Name));
    for (size_t k = 0; k < read.Library.Rows.size(); ++k) {
      Libs.IrLib[k + 1] = read.Library.Rows[k];
      QelComboBox8->addItem(FromGbk(Libs.IrLib[k + 1].Name));
    }
    Libs.IrCodeRaw = 0;
  }
  if (!QelEdit3->text().isEmpty()) QelComboBox8->setCurrentIndex(0);
}

void TForm1::QelButton14Click() {
  // Each press starts with an empty editor; learned codes go to the newest one.
  delete F.Form4;
  F.Form4 = new TForm4(F);
  F.S.Dialogs->Run(F.Form4);
}
