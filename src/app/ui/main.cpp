// tessary: the program. One main window showing the document named on the command line.
#include <QApplication>
#include <string>
#include <vector>

#include "app/ui/form_main.h"
#include "platform/ui/qt_messages.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(QString::fromLocal8Bit(argv[i]).toStdString());
  // The message boxes are parented to the window once it exists; until then they stand alone.
  tessary::QtMessages messages(nullptr);
  tessary::TFormMain window(messages, std::move(args));
  window.ShowFirst();
  return app.exec();
}
