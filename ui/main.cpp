// numbrix: the desktop calculator.
//   numbrix                       the program
//   numbrix --screenshot FILE     shows the first window, saves a picture of it to FILE and ends
//   numbrix --screenshot FILE --my-constants
//                                 the same with "My Constants" opened from the main window
#include <QApplication>

#include "config/AppDirectory.h"
#include "ui/AppIcon.h"
#include "ui/CNumbrixApp.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Numbrix"));
  QApplication::setWindowIcon(numbrixIcon());
  CNumbrixApp numbrix(executableFolder(argv[0]));
  const QStringList arguments = QApplication::arguments();
  const qsizetype screenshot = arguments.indexOf(QStringLiteral("--screenshot"));
  if (screenshot > 0 && screenshot + 1 < arguments.size())
    numbrix.setScreenshotPath(arguments[screenshot + 1], arguments.contains(QStringLiteral("--my-constants")));
  numbrix.initInstance();
  numbrix.exitInstance();
  return 0;
}
