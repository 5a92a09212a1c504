#pragma once
// A project holding every kind of event, made through the pages as a user makes it.
#include "ui/tform1.h"
#include "ui/tform12.h"
#include "ui/tform2.h"

inline void AddKeyActionThroughDialog(Forms& w, int key, int kindIndex, int group = 0) {
  w.Model->CurrentKey = key;
  if (key == 10) {
    w.Form12->QelComboBox1->setCurrentIndex(kindIndex);
    w.Form12->QelButton1Click();
    return;
  }
  w.Form2->ComboBox1->setCurrentIndex(kindIndex);
  w.Form2->ComboBox3->setCurrentIndex(group);
  w.Form2->Button1Click();
}

// One event of each kind on the current action, `round` varying the settings.
inline void AddEveryKind(TForm1& f, int round) {
  f.QelComboBox3->setCurrentIndex(round % f.QelComboBox3->count());
  f.QelComboBox2->setCurrentIndex(round % 2);
  f.QelEdit4->setText(QString::number(round % 100 + 1));
  f.QelRadioButton1->setChecked(true);
  f.QelComboBox7->setCurrentIndex(round % 4);
  f.Memo1Bytes->SetBytes("AT+" + std::to_string(round));
  f.QelButton12Click();

  f.LibraryEntries().IrLib[1] = TIR{"1", "Power", "0003A1B2C3"};
  f.LibraryEntries().IrCodeRaw = 0;
  f.QelEdit3->setText("TV");
  if (f.QelComboBox8->count() == 0) f.QelComboBox8->addItem("Power");
  f.QelComboBox8->setCurrentIndex(0);
  f.QelComboBox9->setCurrentIndex(round % 2);
  f.QelButton15Click();

  f.QelEdit8->setText("192.168.1." + QString::number(round % 256));
  f.QelEdit9->setText("4001");
  f.QelRadioButton4->setChecked(true);
  f.Memo2Bytes->SetBytes("01 F4 F6 F3 F5");
  f.QelButton17Click();

  f.QelEdit10->setText(QString::number(round % 24));
  f.QelEdit11->setText("59");
  f.QelEdit12->setText("1");
  f.QelButton19Click();

  f.QelComboBox13->setCurrentIndex(round % 4);
  f.QelRadioButton5->setChecked(true);
  f.Memo3Bytes->SetBytes(round % 3 ? "OK" : "");
  f.QelButton21Click();

  f.QelComboBox15->setCurrentIndex(round % f.QelComboBox15->count());
  f.QelButton22Click();
  f.QelComboBox17->setCurrentIndex(round % f.QelComboBox17->count());
  f.QelButton23Click();
}
