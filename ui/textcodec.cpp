#include "ui/textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

QString FromGbk(std::string_view bytes) {
  QStringDecoder dec("GBK");
  return dec.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

bool ToGbk(const QString& text, std::string* bytes) {
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
  return ToGbk(text, &b) ? b : std::string{};
}

int GbkLength(const QString& text) {
  std::string b;
  return ToGbk(text, &b) ? static_cast<int>(b.size()) : -1;
}
