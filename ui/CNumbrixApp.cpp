#include "ui/CNumbrixApp.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <clocale>
#include <locale>
#include <memory>
#include <stdexcept>

#include "config/AppDirectory.h"
#include "config/IConfig.h"
#include "config/StaleFiles.h"
#include "expr/IExprParser.h"
#include "ui/CInputEdit.h"
#include "ui/CNumbrixDlg.h"
#include "ui/CNumbrixMiniDlg.h"
#include "ui/CResultListCtrl.h"
#include "ui/CResultViewDlg.h"
#include "ui/ControlIds.h"
#include "ui/Prompts.h"
#include "ui/Settings.h"

CNumbrixApp::CNumbrixApp(std::filesystem::path programFolder) { state_.programFolder = std::move(programFolder); }

bool CNumbrixApp::initInstance() {
  loadSettings();
  runWindowLoop();
  return false;
}

void CNumbrixApp::loadSettings() {
  // The user's locale for the program's own formatting; numbers are read and
  // written in the classic locale whatever it is.
  std::setlocale(LC_ALL, "");
  try {
    std::locale::global(std::locale(""));
  } catch (const std::runtime_error&) {
    // An unknown locale name in the environment: keep the classic one.
  }
  state_.directory = applicationDirectory(state_.programFolder);
  IConfig* settingsStore = IConfig::instance(IConfig::SettingsStore);
  if (state_.directory.empty()) {
    // Without a folder nothing is read or written; the settings are the defaults.
    writeDefaultSettings();
    if (screenshot_.path.isEmpty())
      Prompts::current().warning(nullptr, tr("Numbrix"),
                                 tr("Neither HOME nor XDG_CONFIG_HOME names a folder for the program's files. The "
                                    "settings and your constants are neither read nor saved in this session."));
    miniNext_ = false;
    return;
  }
  removeStaleTemporaries(state_.directory);  // left by a copy killed while saving
  if (!std::filesystem::exists(settingsPath())) writeDefaultSettings();
  settingsStore->load(settingsPath().string());
  settings::loadUserSettings(state_);
  const IExprParser::ConstantsFile constants = IExprParser::instance()->loadConstants(constantsPath().string());
  miniNext_ = settingsStore->get(settings::kDialogType) != "normal";
  state_.alwaysOnTop = settingsStore->get(settings::kTopMost) == "true";
  warnOfConstantsFile(constants == IExprParser::ConstantsFile::Unreadable);
}

void CNumbrixApp::warnOfConstantsFile(bool unreadable) {
  const int skipped = static_cast<int>(IExprParser::instance()->skippedConstants().size());
  // A picture taken unattended must not wait for a message box.
  if ((skipped == 0 && !unreadable) || !screenshot_.path.isEmpty()) return;
  const QString file = QString::fromStdString(constantsPath().string());
  const QString text =
      unreadable ? tr("The constants file cannot be read:\n%1\n\nNo constants were loaded from it. It is left as it "
                      "is; if you apply changes in My Constants, it is first kept aside as \"Constant.bad\".")
                       .arg(file)
      : skipped == 1 ? tr("1 entry of the constants file was skipped because its name or value is not valid. The "
                          "file keeps it as it is:\n%1")
                           .arg(file)
                     : tr("%n entries of the constants file were skipped because their names or values are not "
                          "valid. The file keeps them as they are:\n%1",
                          nullptr, skipped)
                           .arg(file);
  Prompts::current().warning(nullptr, tr("My Constants"), text);
}

void CNumbrixApp::writeDefaultSettings() {
  // What an installer would leave: without the keys the settings would never be saved.
  IConfig* store = IConfig::instance(IConfig::SettingsStore);
  store->create("Config");
  store->add("/", "dialogType", "normal");
  store->add("/", "topMost", "false");
  store->add("/", "site", settings::defaultSite().toStdString());
  store->add("/", "email", settings::defaultEmail().toStdString());
  if (!state_.directory.empty()) store->save(settingsPath().string());
}

void CNumbrixApp::runWindowLoop() {
  for (;;) {
    std::unique_ptr<NumbrixWindow> window;
    if (miniNext_)
      window = std::make_unique<CNumbrixMiniDlg>(state_);
    else
      window = std::make_unique<CNumbrixDlg>(state_);
    if (!screenshot_.path.isEmpty()) scheduleScreenshot(window.get());
    const int end = window->exec();
    miniNext_ = !miniNext_;
    window.reset();
    if (end != QDialog::Accepted) break;
  }
}

void CNumbrixApp::scheduleScreenshot(NumbrixWindow* window) {
  const Screenshot shot = screenshot_;
  screenshot_ = Screenshot{};
  auto* main = qobject_cast<CNumbrixDlg*>(window);
  QTimer::singleShot(0, window, [window, main, shot] {
    if (main != nullptr && shot.maximized) {
      window->setWindowState(Qt::WindowMaximized);
      // Without a window manager nothing maximises: the window takes the screen itself.
      if (window->screen() != nullptr) window->setGeometry(window->screen()->availableGeometry());
    }
    if (main != nullptr && shot.constants) main->openMyConstants(main->input());
    if (shot.settings) findCommand(window, ids::Settings)->trigger();
    if (main != nullptr && !shot.resultView.isEmpty()) main->results()->viewVariable(shot.resultView);
  });
  QTimer::singleShot(500, window, [this, window, path = shot.path] {
    QWidget* shown = QApplication::activeModalWidget();
    if (shown == nullptr) shown = window;
    if (auto* view = qobject_cast<CResultViewDlg*>(shown)) view->chooseRadix(1);
    if (!shown->grab().save(path)) screenshotFailed_ = true;
    if (shown != window) qobject_cast<QDialog*>(shown)->reject();
    QTimer::singleShot(0, window, &QDialog::reject);
  });
}

void CNumbrixApp::exitInstance() {
  IConfig* store = IConfig::instance(IConfig::SettingsStore);
  store->set(settings::kDialogType, miniNext_ ? "normal" : "mini");
  store->set(settings::kTopMost, state_.alwaysOnTop ? "true" : "false");
  settings::saveUserSettings(state_);
  if (!state_.directory.empty()) store->save(settingsPath().string());
}
