// The system clipboard through Qt: Unicode text, its exact Shift-JIS bytes, the box-copy mark.
#include "platform/ui/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

#include "base/line_split.h"

namespace tessary {
namespace {

// Windows registers the private format under exactly this name; other programs that know the
// name recognise a box copy.
constexpr const char* kBoxMimeWindows = "application/x-qt-windows-mime;value=\"TEditor Box Type\"";
constexpr const char* kBoxMime = "application/x-teditor-box-type";
// The text's own Shift-JIS bytes beside its Unicode form: code page 932 gives some characters
// two codes (the NEC and IBM selections), and a trip through Unicode would always bring back
// the same one of the two.
constexpr const char* kSjisMime = "application/x-tessary-sjis";

QString ToQString(const std::u16string& u) {
  return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

}  // namespace

QtClipboard::QtClipboard(ClipboardTextCodec codec) : codec_(std::move(codec)) {}

const char* QtClipboard::BoxMimeWindows() {
  return kBoxMimeWindows;
}
const char* QtClipboard::BoxMime() {
  return kBoxMime;
}
const char* QtClipboard::SjisMime() {
  return kSjisMime;
}

QClipboard* QtClipboard::board() const {
  return QGuiApplication::clipboard();
}

void QtClipboard::SetText(std::string_view text, ClipboardShape shape) {
  auto data = std::make_unique<QMimeData>();
  data->setText(ToQString(codec_.to_unicode(text)));
  const QByteArray raw(text.data(), static_cast<qsizetype>(text.size()));
  data->setData(kSjisMime, raw);
  if (shape == ClipboardShape::Box) {
    // Same text as the plain format; only the presence of the format matters when pasting.
    data->setData(kBoxMimeWindows, raw);
    data->setData(kBoxMime, raw);
  }
  board()->setMimeData(data.release());  // the clipboard takes ownership
}

bool QtClipboard::HasText() const {
  const QMimeData* d = board()->mimeData();
  return d && d->hasText();
}

std::optional<std::string> QtClipboard::Text() const {
  const QMimeData* d = board()->mimeData();
  if (!d || !d->hasText()) return std::nullopt;
  const QString s = d->text();
  // The private bytes count only while they still say what the text says: another program
  // that replaced the text but kept the other formats must not paste stale bytes.
  if (d->hasFormat(kSjisMime)) {
    const QByteArray raw = d->data(kSjisMime);
    const std::string_view bytes(raw.constData(), static_cast<size_t>(raw.size()));
    if (ToQString(codec_.to_unicode(bytes)) == s) return WithCrLfLineEnds(bytes);
  }
  return codec_.from_unicode(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                                                 static_cast<size_t>(s.size())));
}

bool QtClipboard::HasBoxFormat() const {
  const QMimeData* d = board()->mimeData();
  return d && d->hasText() && (d->hasFormat(kBoxMimeWindows) || d->hasFormat(kBoxMime));
}

}  // namespace tessary
