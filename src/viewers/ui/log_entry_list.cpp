// The entry lists of the log viewers: a list model converting only the rows drawn.
#include "viewers/ui/log_entry_list.h"

#include <QKeyEvent>
#include <QListView>

#include "codec/sjis_text.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

constexpr int kScrollExtent = 2000;

// The entry as a line: its fields apart by blanks (a TAB draws as nothing in a list).
QString EntryText(const LogEntry& e) {
  std::string line = EntryLine(e);
  for (char& c : line)
    if (c == '\t') c = ' ';
  return Q(SjisToUtf8(line));
}

}  // namespace

LogEntryList::LogEntryList(const std::vector<LogEntry>& entries, const std::vector<int32_t>* rows,
                           QObject* parent)
    : QAbstractListModel(parent), entries_(entries), rows_(rows) {}

void LogEntryList::Reset() {
  beginResetModel();
  count_ = static_cast<int>(rows_ ? rows_->size() : entries_.size());
  endResetModel();
}

int32_t LogEntryList::EntryAt(int row) const {
  if (row < 0 || row >= count_) return -1;
  if (!rows_) return row;
  // The list may have been refilled without a reset yet: never read past its end.
  return static_cast<size_t>(row) < rows_->size() ? (*rows_)[static_cast<size_t>(row)] : -1;
}

int LogEntryList::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : count_;
}

QVariant LogEntryList::data(const QModelIndex& index, int role) const {
  // Every row as wide as the scroll extent: the list scrolls sideways over long headers.
  if (role == Qt::SizeHintRole) return QSize(kScrollExtent, row_height_);
  if (role != Qt::DisplayRole) return {};
  const int32_t e = EntryAt(index.row());
  if (e < 0 || e >= static_cast<int32_t>(entries_.size())) return {};
  return EntryText(entries_[static_cast<size_t>(e)]);
}

void SetUpLogListView(QListView& view, LogEntryList& model) {
  view.setModel(&model);
  view.setUniformItemSizes(true);
  view.setSelectionMode(QAbstractItemView::SingleSelection);
  view.setEditTriggers(QAbstractItemView::NoEditTriggers);
  view.setWordWrap(false);
  view.setTextElideMode(Qt::ElideNone);
  model.SetRowHeight(view.fontMetrics().height() + 2);
  QPalette p = view.palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight,
             p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, QPalette::HighlightedText));
  view.setPalette(p);
}

void SetCurrentRow(QListView& view, int row) {
  QAbstractItemModel* m = view.model();
  if (row < 0 || row >= m->rowCount()) {
    view.selectionModel()->clear();
    return;
  }
  view.setCurrentIndex(m->index(row, 0));
  view.scrollTo(m->index(row, 0));
}

int CurrentRow(const QListView& view) {
  const QModelIndex i = view.currentIndex();
  return i.isValid() ? i.row() : -1;
}

bool IsEnterKey(const QEvent& event) {
  if (event.type() != QEvent::KeyPress && event.type() != QEvent::KeyRelease) return false;
  const auto& key = static_cast<const QKeyEvent&>(event);
  return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

}  // namespace tessary
