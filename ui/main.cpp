// numbrix: the desktop calculator.
//   numbrix                       the program
//   numbrix --screenshot FILE     shows the first window, saves a picture of it to FILE and ends
//   numbrix --screenshot FILE [--maximized] [--my-constants | --settings | --result-view NAME]
//                                 the same maximised, or of a dialog the first window opens
//   numbrix --help | --version    prints the usage or the version and ends, without a display
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "bignum/init.h"
#include "bignum/scratch.h"
#include "config/AppDirectory.h"
#include "ui/AppIcon.h"
#include "ui/CNumbrixApp.h"
#include "ui/Translations.h"

namespace {

QString usageText() {
  return QCoreApplication::translate("main",
                                     "Usage: numbrix [--screenshot FILE [--maximized]\n"
                                     "                [--my-constants | --settings | --result-view NAME]]\n"
                                     "       numbrix --help | --version\n"
                                     "\n"
                                     "The desktop calculator: type statements in the input, one a line, and\n"
                                     "press Ctrl+Enter or OK to evaluate them; F1 opens the manual.\n"
                                     "\n"
                                     "  --screenshot FILE  show the first window, save a picture of it to FILE\n"
                                     "                     (the format follows the suffix, such as .png) and end\n"
                                     "  --maximized        with --screenshot: maximise the main window first\n"
                                     "  --my-constants     with --screenshot: open \"My Constants\" from the main\n"
                                     "                     window and picture that dialog\n"
                                     "  --settings         with --screenshot: picture the Settings dialog\n"
                                     "  --result-view NAME with --screenshot: picture the result view of the\n"
                                     "                     variable NAME (kept from the last session), in binary\n"
                                     "  --help             this text\n"
                                     "  --version          the program's version\n"
                                     "\n"
                                     "The program folder holds the settings (\"Config\") and the user constants\n"
                                     "(\"Constant\"): $NUMBRIX_HOME when it is set; else the program's own folder\n"
                                     "when it is writable and already holds one of those files (a portable copy);\n"
                                     "else $XDG_CONFIG_HOME/numbrix, or ~/.config/numbrix.\n");
}

// Whether `option` is one of the arguments.
bool hasOption(int argc, char** argv, const char* option) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], option) == 0) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before the application starts, so that they need no display.
  if (hasOption(argc, argv, "--help")) {
    QCoreApplication core(argc, argv);  // for the translation alone
    installTranslations(core);
    std::fputs(usageText().toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (hasOption(argc, argv, "--version")) {
    std::fputs("numbrix " NUMBRIX_VERSION "\n", stdout);
    return 0;
  }
  QApplication application(argc, argv);
  installTranslations(application);  // before any window or message
  QApplication::setApplicationName(QStringLiteral("Numbrix"));
  QApplication::setApplicationVersion(QStringLiteral(NUMBRIX_VERSION));
  // Wayland desktops match the window to its menu entry (icon, name) by this.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.numbrix.Numbrix"));
  QApplication::setWindowIcon(numbrixIcon());
  // The number library's settings ("bignum.ini") come from the program folder, before any evaluation.
  bignum::setSettingsFolder(applicationDirectory(executableFolder(argv[0])).string());
  bignum::removeOrphanedScratchFolders();  // of copies that were killed
  CNumbrixApp numbrix(executableFolder(argv[0]));
  const QStringList arguments = QApplication::arguments();
  const qsizetype screenshot = arguments.indexOf(QStringLiteral("--screenshot"));
  if (screenshot > 0 && screenshot + 1 < arguments.size()) {
    CNumbrixApp::Screenshot shot;
    shot.path = arguments[screenshot + 1];
    shot.constants = arguments.contains(QStringLiteral("--my-constants"));
    shot.settings = arguments.contains(QStringLiteral("--settings"));
    shot.maximized = arguments.contains(QStringLiteral("--maximized"));
    const qsizetype view = arguments.indexOf(QStringLiteral("--result-view"));
    if (view > 0 && view + 1 < arguments.size()) shot.resultView = arguments[view + 1];
    numbrix.setScreenshot(shot);
  }
  numbrix.initInstance();
  numbrix.exitInstance();
  if (numbrix.screenshotFailed()) {
    const QString message = QCoreApplication::translate("main", "numbrix: the picture could not be saved to %1\n");
    std::fputs(qUtf8Printable(message.arg(arguments[screenshot + 1])), stderr);
    return 1;
  }
  return 0;
}
