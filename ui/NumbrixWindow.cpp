#include "ui/NumbrixWindow.h"

#include <QContextMenuEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>

#include "ui/AppIcon.h"
#include "ui/CGuiButton.h"
#include "ui/ControlIds.h"
#include "ui/EvaluationRunner.h"
#include "ui/SettingsDlg.h"
#include "ui/WindowMenu.h"

NumbrixWindow::NumbrixWindow(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setWindowTitle(tr("Numbrix"));
  setWindowIcon(numbrixIcon());
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  windowMenu_ = new WindowMenu(this, state_);
  connect(windowMenu_, &WindowMenu::settingsRequested, this, &NumbrixWindow::openSettings);
  runner_ = new EvaluationRunner(this);
  // The settings change the evaluator: not while it works.
  connect(runner_, &EvaluationRunner::busyChanged, this,
          [this](bool busy) { findCommand(this, ids::Settings)->setEnabled(!busy); });
  auto* quit = new QShortcut(QKeySequence::Quit, this);
  connect(quit, &QShortcut::activated, this, &QDialog::reject);
}

CGuiButton* NumbrixWindow::keypadButton(const QString& caption, int id, const QColor& colour, QWidget* parent) {
  auto* button = new CGuiButton(caption, parent);
  setControlId(button, id);
  button->setButtonStyle(3);
  button->setCaptionColor(colour);
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

QWidget* NumbrixWindow::keypadPad(const std::vector<KeyDefinition>& keys, QWidget* input, QSize size) {
  auto* pad = new QWidget(this);
  auto* grid = new QGridLayout(pad);
  grid->setSpacing(3);
  grid->setContentsMargins(0, 0, 0, 0);
  for (const KeyDefinition& key : keys) {
    CGuiButton* button = keypadButton(key.caption, key.id, key.colour, pad);
    button->setMinimumSize(size);
    const int id = key.id;
    connect(button, &QPushButton::clicked, this, [input, id] { insertKeypadTextInto(input, id); });
    grid->addWidget(button, key.row, key.column);
  }
  return pad;
}

QGridLayout* NumbrixWindow::gridOf(QWidget* pad) { return qobject_cast<QGridLayout*>(pad->layout()); }

std::optional<std::string> NumbrixWindow::textToEvaluate(const QString& input) {
  std::string narrow = input.toLocal8Bit().toStdString();
  if (narrow.find_first_not_of(" \t\r\n") == std::string::npos) return std::nullopt;
  return narrow;
}

void NumbrixWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {  // the window does not close on Esc; it stops long work
    if (runner_->busy()) runner_->cancelAll();
    return;
  }
  QDialog::keyPressEvent(event);
}

void NumbrixWindow::contextMenuEvent(QContextMenuEvent* event) { windowMenu_->menu()->exec(event->globalPos()); }

void NumbrixWindow::openSettings() {
  const EvaluatorAccess::Guard access = EvaluatorAccess::acquire();
  if (access) SettingsDlg::edit(state_, this);
}
