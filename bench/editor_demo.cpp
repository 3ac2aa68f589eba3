// Opens the editor widget on a sample or a file; with --bench, times painting and events.
//
//   editor_demo [file] [--rows N] [--wrap N] [--numbers] [--ruler] [--marks] [--select]
//               [--box] [--hit] [--brief] [--bench] [--peer]
// A file is read as Shift-JIS. Without one, a Japanese sample (tabs, full-width blanks,
// half-width katakana, long rows) is repeated to N rows. --bench prints the median times of a
// full repaint, a typed character, a page scroll and a drag step, each handled and painted;
// --peer times Qt's own plain-text widget on the same text in the same run.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "base/update_guard.h"
#include "codec/text_lines.h"
#include "commands/line_decorations.h"
#include "editor/editor_row_states.h"
#include "editor/ui/editor.h"
#include "editor/ui/sjis_unicode.h"

using namespace tessary;

namespace {

std::string Sjis(const char* utf8) {
  const QString s = QString::fromUtf8(utf8);
  return Utf16ToSjis(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                                         static_cast<size_t>(s.size())));
}

TextLines SampleLines(int rows) {
  const char* const kSample[] = {
      "吾輩は猫である。名前はまだ無い。",
      "\tどこで生れたかとんと見当がつかぬ。\t何でも薄暗いじめじめした所で",
      "　ニャーニャー泣いていた事だけは記憶している。ｶﾀｶﾅ ﾊﾝｶｸ ﾃﾞｽ｡",
      "int main(void) { return 0x1F + 12.5e-3; }  // ASCII 行",
      "全角英数ＡＢＣ１２３と　全角空白と\tタブ\t\tの混在",
      "吾輩はここで始めて人間というものを見た。しかもあとで聞くとそれは書生という人間中で一番獰悪な"
      "種族であったそうだ。この書生というのは時々我々を捕えて煮て食うという話である。",
      "",
  };
  TextLines lines;
  std::vector<std::string> pool;
  for (const char* s : kSample) pool.push_back(Sjis(s));
  for (int i = 0; i < rows; ++i) lines.AddLine(pool[static_cast<size_t>(i) % pool.size()]);
  lines.set_last_line_has_end(true);
  return lines;
}

TextLines FileLines(const QString& path) {
  TextLines lines;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return lines;
  const QByteArray all = f.readAll();
  qsizetype start = 0;
  for (qsizetype i = 0; i < all.size(); ++i) {
    if (all[i] == '\r' || all[i] == '\n') {
      lines.AddLine(std::string_view(all.constData() + start, static_cast<size_t>(i - start)));
      if (all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < all.size()) {
    lines.AddLine(
        std::string_view(all.constData() + start, static_cast<size_t>(all.size() - start)));
    lines.set_last_line_has_end(false);
  } else {
    lines.set_last_line_has_end(true);
  }
  return lines;
}

// What the main window's row handler will do: tab and full-width blank marks.
void HookDecorations(TEditor& editor, TColor mark_color) {
  auto marks = std::make_shared<std::vector<DecorationMark>>();
  editor.OnDrawLine = [marks, mark_color](TEditor& e, EditorCanvas& canvas,
                                          const TDrawLineArgs& a) {
    TEditorScreenStrings& doc = e.Document();
    DecorationGeometry g;
    g.char_width = e.Metrics().char_width;
    g.row_height = e.Metrics().row_height;
    g.margin_line = e.Margin().Line();
    g.column0_x = a.X;
    g.tab_count = doc.TabSpaceCount();
    g.rect_left = a.ARect.left;
    g.rect_right = a.ARect.right;
    const int32_t r = a.Index;
    const std::string_view next = r + 1 < doc.Count() ? doc.GetView(r + 1) : std::string_view();
    RowDecorations(e.View(), a.LineStr, next, RowStartState(doc, r), g, *marks);
    const TColor c = DecorationColor(a.Selected, e.Color(), mark_color);
    for (const DecorationMark& m : *marks) {
      if (m.kind == DecorationKind::Tab) {
        const TabMarkShape s = TabMarkGeometry(m.x, a.Y, g);
        canvas.SetPen(c, s.pen_width);
        canvas.Line(s.upper.x1, s.upper.y1, s.upper.x2, s.upper.y2);
        canvas.Line(s.lower.x1, s.lower.y1, s.lower.x2, s.lower.y2);
      } else {
        const BlankMarkRect b = BlankMarkGeometry(m.x, a.Y, g);
        canvas.SetPen(c, 1);
        canvas.FrameRect(b.left, b.top, b.right, b.bottom);
      }
    }
  };
}

double Percentile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<size_t>(q * static_cast<double>(v.size() - 1))];
}
double Median(const std::vector<double>& v) {
  return Percentile(v, 0.5);
}

// Wall time, and this thread's processor time: on a busy machine the second is the steadier
// figure (with the offscreen platform all painting happens in this thread).
struct Timing {
  std::vector<double> ms, cpu_ms;
  double Max() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

template <class F>
Timing Time(int n, F&& f) {
  Timing t;
  for (int i = 0; i < n; ++i) {
    QElapsedTimer clock;
    const double cpu = ThreadCpuMs();
    clock.start();
    f(i);
    t.ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    t.cpu_ms.push_back(ThreadCpuMs() - cpu);
  }
  return t;
}

void Key(QWidget* w, int key, const QString& text = {}, Qt::KeyboardModifiers m = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, m, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, m, text);
  QApplication::sendEvent(w, &release);
}

void Report(const char* what, const Timing& t, double budget) {
  const auto worst = std::max_element(t.ms.begin(), t.ms.end()) - t.ms.begin();
  if (std::getenv("TESSARY_DEMO_WORST")) std::printf("worst at event %td\n", worst);
  std::printf("%-32s median %6.3f  p95 %6.3f  max %6.3f  cpu median %6.3f ms  (budget %.0f ms)\n",
              what, Median(t.ms), Percentile(t.ms, 0.95), t.Max(), Median(t.cpu_ms), budget);
}

void Bench(TEditor& editor, int rows) {
  QWidget* vp = editor.viewport();
  QApplication::processEvents();
  Report("full repaint 1280x1024", Time(60, [&](int) { vp->repaint(); }), 5);
  // The same paint into an image: the painting is done whether or not the window is exposed.
  QImage image(vp->size(), QImage::Format_RGB32);
  Report("full paint into an image", Time(60, [&](int) { vp->render(&image); }), 5);

  editor.Control().SetCaret(rows / 2, 4);
  editor.Control().ScrollCaretIntoView();
  vp->repaint();
  Report("type a character (+ paint)",
         Time(200,
              [&](int) {
                Key(&editor, Qt::Key_A, "a");
                vp->repaint();
              }),
         16);
  Report("page down (+ paint)",
         Time(200,
              [&](int) {
                Key(&editor, Qt::Key_PageDown);
                vp->repaint();
              }),
         16);
  editor.Control().SetTopRow(rows / 3);
  vp->repaint();
  const int x = editor.Metrics().text_left + 40;
  const int top = editor.Metrics().text_top + 3;
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, top), vp->mapToGlobal(QPointF(x, top)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(vp, &press);
  const int rows_per_page = editor.RowsPerPage();
  Report("drag selection step (+ paint)",
         Time(200,
              [&](int i) {
                const QPointF p(x + (i % 37) * 3,
                                top + (i % rows_per_page) * editor.Metrics().row_height);
                QMouseEvent move(QEvent::MouseMove, p, vp->mapToGlobal(p), Qt::NoButton,
                                 Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(vp, &move);
                vp->repaint();
              }),
         16);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(x, top), vp->mapToGlobal(QPointF(x, top)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(vp, &release);
}

void BenchPeer(const TextLines& lines) {
  QString text;
  for (size_t i = 0; i < lines.Count(); ++i) {
    const std::u16string u = SjisToUtf16(lines.Line(i));
    text += QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
    text += QLatin1Char('\n');
  }
  QPlainTextEdit peer;
  peer.setFont(TEditor::DefaultFont());
  peer.setLineWrapMode(QPlainTextEdit::NoWrap);
  QElapsedTimer load;
  load.start();
  peer.setPlainText(text);
  std::printf("peer QPlainTextEdit: load %.0f ms\n", static_cast<double>(load.elapsed()));
  peer.resize(1280, 1024);
  peer.show();
  QApplication::processEvents();
  QWidget* vp = peer.viewport();
  Report("peer full repaint 1280x1024", Time(60, [&](int) { vp->repaint(); }), 5);
  QImage image(vp->size(), QImage::Format_RGB32);
  Report("peer full paint into an image", Time(60, [&](int) { vp->render(&image); }), 5);
  QTextCursor c = peer.textCursor();
  c.movePosition(QTextCursor::Start);
  c.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, static_cast<int>(lines.Count() / 2));
  peer.setTextCursor(c);
  vp->repaint();
  Report("peer type a character (+ paint)",
         Time(200,
              [&](int) {
                Key(&peer, Qt::Key_A, "a");
                vp->repaint();
              }),
         16);
  Report("peer page down (+ paint)",
         Time(200,
              [&](int) {
                Key(&peer, Qt::Key_PageDown);
                vp->repaint();
              }),
         16);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QString file;
  int rows = 2000, wrap = 0;
  bool numbers = false, ruler = false, marks = false, select = false, box = false, bench = false,
       peer = false, hit = false, brief = false;
  const QStringList args = app.arguments();
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == "--rows" && i + 1 < args.size())
      rows = args[++i].toInt();
    else if (a == "--wrap" && i + 1 < args.size())
      wrap = args[++i].toInt();
    else if (a == "--numbers")
      numbers = true;
    else if (a == "--ruler")
      ruler = true;
    else if (a == "--marks")
      marks = true;
    else if (a == "--select")
      select = true;
    else if (a == "--box")
      box = true;
    else if (a == "--hit")
      hit = true;
    else if (a == "--brief")
      brief = true;
    else if (a == "--bench")
      bench = true;
    else if (a == "--peer")
      peer = true;
    else
      file = a;
  }

  TEditor editor;
  editor.setWindowTitle("Tessary editor demo");
  // The main window's settings where they differ from a new control's.
  editor.Margin().SetLeft(10);
  editor.Margin().SetTop(0);
  editor.Leftbar().SetColumn(5);
  editor.Leftbar().SetLeftMargin(4);
  editor.Leftbar().SetShowNumberMode(TEditorShowNumberMode::nmLine);
  editor.Leftbar().SetVisible(numbers || bench);
  editor.Ruler().SetVisible(ruler || bench);
  for (TEditorMark* m : {&editor.Marks().EofMark, &editor.Marks().RetMark, &editor.Marks().WrapMark,
                         &editor.Marks().HideMark, &editor.Marks().Underline})
    m->SetVisible(marks || bench);
  editor.Caret().TabSpaceCount = 8;
  editor.Control().CaretOptionsChanged();
  if (brief) editor.Caret().Style = TEditorCaretStyle::csBrief;
  {
    // One re-colouring for the whole scheme rather than one per setting.
    const UpdateGuard batch(editor.View());
    TEditorColors& colors = editor.View().Colors();
    colors.DBCS().SetColor(clMaroon);
    colors.Int().SetColor(clBlue);
    colors.Symbol().SetColor(clTeal);
    colors.Comment().SetColor(clGreen);
    editor.View().SetCommenter("//");
    editor.View().SetReserveWordList({"int", "return", "void"});
    editor.View().Reserve().SetColor(clNavy);
    editor.View().Reserve().SetStyle({TFontStyle::fsBold});
  }
  HookDecorations(editor, clGray);

  const TextLines lines = file.isEmpty() ? SampleLines(bench ? 1000000 : rows) : FileLines(file);
  QElapsedTimer load;
  load.start();
  editor.Document().SetTextLines(lines);
  if (wrap > 0) {
    editor.Document().WrapOption().SetWrapByte(wrap);
    editor.Control().SetWordWrap(true);
  }
  if (bench)
    std::printf("load %zu lines into the editor: %lld ms\n", lines.Count(), load.elapsed());
  editor.Control().PutMark(1, 3);
  editor.Control().PutMark(4, 0);

  editor.resize(1280, 1024);
  editor.show();
  editor.setFocus();
  if (select) {
    editor.Control().SetSelStart(20);
    editor.Control().SetSelLength(120);
  }
  if (box) {
    editor.Control().SetSelectionMode(SelectionMode::Box);
    editor.Control().SetCaret(1, 4);
    editor.Control().KeyDown(EditorKey::Down, kShift);
    editor.Control().KeyDown(EditorKey::Down, kShift);
    editor.Control().KeyDown(EditorKey::Down, kShift);
    for (int i = 0; i < 12; ++i) editor.Control().KeyDown(EditorKey::Right, kShift);
  }
  if (hit) {
    editor.Control().SetHitStyle(TEditorHitStyle::hsCaret);
    editor.Control().SetCaret(2, 2);
    editor.Control().ShowHit(6);
  }
  if (bench) {
    Bench(editor, static_cast<int>(lines.Count()));
    if (peer) BenchPeer(lines);
    return 0;
  }
  return app.exec();
}
