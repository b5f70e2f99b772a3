#include "ui/WindowMenu.h"

#include <QDialog>
#include <QFileInfo>
#include <QMenu>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include "ui/CAboutDlg.h"
#include "ui/ControlIds.h"
#include "ui/Prompts.h"

WindowMenu::WindowMenu(QDialog* window, AppState& state)
    : QObject(window), window_(window), state_(state), menu_(new QMenu(window)), button_(new QToolButton(window)) {
  QAction* settings = addCommand(menu_, tr("&Settings…"), ids::Settings, this, &WindowMenu::settingsRequested);
  if (!QKeySequence(QKeySequence::Preferences).isEmpty()) {
    settings->setShortcut(QKeySequence::Preferences);
    window->addAction(settings);  // the shortcut anywhere in the window
  }
  QAction* topMost = addCommand(menu_, tr("Always On &Top"), ids::AlwaysOnTop, this, &WindowMenu::toggleAlwaysOnTop);
  topMost->setCheckable(true);
  topMost->setChecked(state_.alwaysOnTop);
  QAction* help = addCommand(menu_, tr("&Help ..."), ids::Help, this, &WindowMenu::openHelp);
  help->setShortcut(QKeySequence::HelpContents);
  window->addAction(help);  // F1 anywhere in the window
  addCommand(menu_, tr("&About Numbrix..."), ids::About, this, &WindowMenu::showAbout);

  button_->setText(QStringLiteral("\u2261"));
  button_->setToolTip(tr("Window menu"));
  button_->setMenu(menu_);
  button_->setPopupMode(QToolButton::InstantPopup);
  button_->setFocusPolicy(Qt::NoFocus);
  applyTopMost();
}

void WindowMenu::applyTopMost() {
  Qt::WindowFlags flags = window_->windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, state_.alwaysOnTop);
  QWindow* native = window_->windowHandle();
  if (native == nullptr) {
    window_->setWindowFlags(flags);  // not made yet: the flags apply when it shows
    return;
  }
  // QWidget::setWindowFlags would hide the made window to re-make it, and
  // hiding a dialog ends its exec(), and with it the application's window
  // loop. The native window takes the hint as it is (the window manager is
  // asked to keep it above others), and the widget only records it.
  window_->overrideWindowFlags(flags);
  native->setFlags(flags);
}

void WindowMenu::toggleAlwaysOnTop() {
  state_.alwaysOnTop = !state_.alwaysOnTop;
  applyTopMost();
  findCommand(window_, ids::AlwaysOnTop)->setChecked(state_.alwaysOnTop);
}

void WindowMenu::openHelp() {
  const QString chm = QString::fromStdString((state_.directory / "Manual.chm").string());
  QString target = chm;
  if (state_.directory.empty() || !QFileInfo::exists(chm)) {
    const QString beside = QString::fromStdString((state_.programFolder / "numbrix-manual.html").string());
    const QString shared =
        QString::fromStdString((state_.programFolder / ".." / "share" / "numbrix" / "numbrix-manual.html").string());
    target = QFileInfo::exists(beside) ? beside : shared;
  }
  Prompts::current().openUrl(QUrl::fromLocalFile(target));
}

void WindowMenu::showAbout() {
  CAboutDlg about(window_);
  about.exec();
}
