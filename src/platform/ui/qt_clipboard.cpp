// The system clipboard through Qt: Unicode text plus the private box-copy format.
#include "platform/ui/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <memory>

namespace tessary {
namespace {

// Windows registers the private format under exactly this name; other programs that know the
// name recognise a box copy.
constexpr const char* kBoxMimeWindows = "application/x-qt-windows-mime;value=\"TEditor Box Type\"";
constexpr const char* kBoxMime = "application/x-teditor-box-type";

}  // namespace

QtClipboard::QtClipboard(ClipboardTextCodec codec) : codec_(std::move(codec)) {}

const char* QtClipboard::BoxMimeWindows() { return kBoxMimeWindows; }
const char* QtClipboard::BoxMime() { return kBoxMime; }

QClipboard* QtClipboard::board() const { return QGuiApplication::clipboard(); }

void QtClipboard::SetText(std::string_view text, ClipboardShape shape) {
  const std::u16string u = codec_.to_unicode(text);
  auto data = std::make_unique<QMimeData>();
  data->setText(QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size())));
  if (shape == ClipboardShape::Box) {
    // Same text as the plain format; only the presence of the format matters when pasting.
    const QByteArray raw(text.data(), static_cast<qsizetype>(text.size()));
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
  return codec_.from_unicode(
      std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size())));
}

bool QtClipboard::HasBoxFormat() const {
  const QMimeData* d = board()->mimeData();
  return d && d->hasText() && (d->hasFormat(kBoxMimeWindows) || d->hasFormat(kBoxMime));
}

}  // namespace tessary
