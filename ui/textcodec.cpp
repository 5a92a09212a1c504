#include "ui/textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// Code page 936 keeps 0x00..0x7F as ASCII, so such text needs no converter
// (building one costs more than the conversion).
bool Ascii(std::string_view bytes) {
  for (const char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool Ascii(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() >= 0x80) return false;
  return true;
}

}  // namespace

QString FromGbk(std::string_view bytes) {
  if (Ascii(bytes)) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QStringDecoder dec("GBK");
  return dec.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

bool ToGbk(const QString& text, std::string* bytes) {
  if (Ascii(text)) {
    if (bytes) {
      bytes->resize(static_cast<size_t>(text.size()));
      for (qsizetype i = 0; i < text.size(); ++i)
        (*bytes)[static_cast<size_t>(i)] = static_cast<char>(text[i].unicode());
    }
    return true;
  }
  QStringEncoder enc("GBK", QStringConverter::Flag::Stateless);
  const QByteArray out = enc.encode(text);
  if (enc.hasError()) return false;
  // Round trip: some encoders substitute instead of flagging.
  if (FromGbk(std::string_view(out.constData(), static_cast<size_t>(out.size()))) != text) return false;
  if (bytes) bytes->assign(out.constData(), static_cast<size_t>(out.size()));
  return true;
}

std::string ToGbkOrEmpty(const QString& text) {
  std::string b;
  if (!ToGbk(text, &b)) b.clear();
  return b;
}

int GbkLength(const QString& text) {
  std::string b;
  return ToGbk(text, &b) ? static_cast<int>(b.size()) : -1;
}
