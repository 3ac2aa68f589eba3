// The Unicode CSV library's window and its on-demand record model.
#include "viewers/ui/form_csv_list_utf.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <filesystem>

#include "codec/char_code.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

// The first slice is indexed before the window shows, so its first page is there at once; the
// later slices are large enough to finish a 100 MB file quickly, small enough to keep the
// window answering between them.
constexpr size_t kFirstSlice = size_t{256} << 10;
constexpr size_t kSlice = size_t{4} << 20;
// A table of more columns no longer scrolls usefully, and a broken file (a stray quote) can
// make one record of every field in it.
constexpr size_t kMaxFieldColumns = 2048;

std::string_view CodeText(CsvTextCode code) {
  switch (code) {
    case CsvTextCode::Utf8:
      return "UTF-8";
    case CsvTextCode::Utf16Le:
      return "UTF-16LE";
    case CsvTextCode::Utf16Be:
      return "UTF-16BE";
    case CsvTextCode::Sjis:
      break;
  }
  return "Shift-JIS";
}

int Clamp(size_t n) {
  return static_cast<int>(std::min<size_t>(n, INT32_MAX - 1));
}

}  // namespace

CsvRecordsModel::CsvRecordsModel(QObject* parent) : QAbstractTableModel(parent) {}

void CsvRecordsModel::Reset(CsvText text, CsvSeparator sep) {
  beginResetModel();
  index_.reset();
  text_ = std::move(text);
  sep_ = sep;
  index_ = std::make_unique<CsvRecordIndex>(text_, sep_);
  rows_ = 0;
  fields_ = 0;
  for (CachedRow& r : cache_) r.row = -1;
  endResetModel();
}

CsvRecordIndex::Progress CsvRecordsModel::Grow(size_t budget) {
  if (!index_) return CsvRecordIndex::Progress::Done;
  const CsvRecordIndex::Progress p = index_->Advance(budget);
  const int fields = Clamp(std::min(index_->MaxFields(), kMaxFieldColumns));
  if (fields > fields_) {
    beginInsertColumns({}, fields_ + 1, fields);
    fields_ = fields;
    endInsertColumns();
  }
  const int rows = Clamp(index_->Count());
  if (rows > rows_) {
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
  }
  return p;
}

void CsvRecordsModel::SetLineBreakMark(LineBreakMark mark) {
  if (mark == mark_) return;
  mark_ = mark;
  for (CachedRow& r : cache_) r.row = -1;
  if (rows_ > 0) emit dataChanged(index(0, 1), index(rows_ - 1, fields_));
}

const CsvRecordsModel::CachedRow& CsvRecordsModel::Row(int row) const {
  CachedRow& slot = cache_[static_cast<size_t>(row) % cache_.size()];
  if (slot.row == row) return slot;
  const CsvRecord record = ParseCsvRecord(text_, sep_, index_->Start(static_cast<size_t>(row)));
  slot.cells.clear();
  slot.cells.reserve(record.fields.size());
  for (const std::string& f : record.fields) slot.cells.push_back(Q(MarkLineBreaks(f, mark_)));
  slot.row = row;
  return slot;
}

int CsvRecordsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int CsvRecordsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : fields_ + 1;
}

QVariant CsvRecordsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_) return {};
  if (index.column() == 0) return QString::number(index.row() + 1);
  const CachedRow& r = Row(index.row());
  const size_t field = static_cast<size_t>(index.column()) - 1;
  return field < r.cells.size() ? r.cells[field] : QString();
}

QVariant CsvRecordsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return section == 0 ? QStringLiteral("No") : QString::number(section);
}

TFormCsvListUtf::TFormCsvListUtf(QWidget* parent) : TViewerForm(parent, {480, 300}) {
  setModal(false);
  setWindowTitle(QStringLiteral("CsvList表示[UTF対応]"));
  resize(780, 480);
  table_ = new QTreeView;
  model_ = new CsvRecordsModel(this);
  table_->setModel(model_);
  table_->setRootIsDecorated(false);
  table_->setItemsExpandable(false);
  table_->setUniformRowHeights(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setAlternatingRowColors(true);
  table_->header()->setStretchLastSection(false);
  table_->header()->setDefaultSectionSize(120);
  auto* layout = new QVBoxLayout(Body());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(table_);

  QMenu* file = AddMenu("ファイル(&F)");
  connect(AddCommand(file, 1021, "終了(&X)"), &QAction::triggered, this, &QDialog::reject);
  QMenu* view = AddMenu("表示(&V)");
  auto* marks = new QActionGroup(this);
  const struct {
    int id;
    const char* caption;
    LineBreakMark mark;
  } items[] = {{1721, "改行文字 <Ret> (&R)", LineBreakMark::Ret},
               {1722, "改行文字 <Lf> (&L)", LineBreakMark::Lf},
               {1723, "改行文字 空白(&N)", LineBreakMark::Blank}};
  for (const auto& item : items) {
    QAction* a = AddCommand(view, item.id, item.caption);
    a->setCheckable(true);
    a->setChecked(item.mark == LineBreakMark::Ret);
    marks->addAction(a);
    connect(a, &QAction::triggered, this, [this, mark = item.mark] { ChooseMark(mark); });
  }

  indexer_ = new QTimer(this);
  indexer_->setInterval(0);
  connect(indexer_, &QTimer::timeout, this, &TFormCsvListUtf::IndexSlice);
}

void TFormCsvListUtf::Open(const std::string& path) {
  indexer_->stop();  // the previous file's index is abandoned
  Result<CsvText> text = ReadCsvFile(path);
  setWindowTitle(Q(std::filesystem::path(path).filename().string() + " - CsvList表示[UTF対応]"));
  if (!text) {
    model_->Reset(MakeCsvText({}, CharCode::UTF8), CsvSeparator::Comma);
    SetProgressText(text.error().message);
    return;
  }
  const CsvSeparator sep = ChooseSeparator(path, text.value());
  code_text_ = std::string(CodeText(text.value().code));
  code_text_ += sep == CsvSeparator::Tab ? "  区切り: TAB" : "  区切り: カンマ";
  model_->Reset(std::move(text).value(), sep);
  table_->setColumnWidth(0, 80);
  if (model_->Grow(kFirstSlice) == CsvRecordIndex::Progress::More) indexer_->start();
  if (model_->rowCount() > 0) table_->setCurrentIndex(model_->index(0, 0));
  ShowCounts();
}

bool TFormCsvListUtf::Indexed() const {
  return model_->Index() == nullptr || model_->Index()->Finished();
}

void TFormCsvListUtf::IndexSlice() {
  if (model_->Grow(kSlice) == CsvRecordIndex::Progress::Done) indexer_->stop();
  ShowCounts();
}

void TFormCsvListUtf::ShowCounts() {
  const CsvRecordIndex* index = model_->Index();
  if (!index) return;
  std::string text = code_text_;
  text += "  ";
  text += std::to_string(index->Count());
  text += " 件";
  if (!index->Finished()) {
    const size_t total = std::max<size_t>(model_->Text().end, 1);
    text += "  読み込み中 ";
    text += std::to_string(index->Scanned() * 100 / total);
    text += "%";
  }
  SetProgressText(text);
}

void TFormCsvListUtf::ChooseMark(LineBreakMark mark) {
  model_->SetLineBreakMark(mark);
}

}  // namespace tessary
