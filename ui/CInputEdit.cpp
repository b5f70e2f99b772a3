#include "ui/CInputEdit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>

#include "ui/ControlIds.h"

CInputEdit::CInputEdit(QWidget* parent) : QPlainTextEdit(parent), menu_(new QMenu(tr("&Input"), this)) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(false);
  QAction* clear = commandAction(tr("&Clear"), ids::InputClear, menu_);
  connect(clear, &QAction::triggered, this, [this] {
    selectAll();
    insertPlainText(QString());
  });
  menu_->addAction(clear);
  menu_->addSeparator();
  QAction* cut = commandAction(tr("Cu&t"), ids::InputCut, menu_);
  connect(cut, &QAction::triggered, this, &QPlainTextEdit::cut);
  QAction* copy = commandAction(tr("Cop&y"), ids::InputCopy, menu_);
  connect(copy, &QAction::triggered, this, &QPlainTextEdit::copy);
  QAction* paste = commandAction(tr("&Paste"), ids::InputPaste, menu_);
  connect(paste, &QAction::triggered, this, &QPlainTextEdit::paste);
  menu_->addActions({cut, copy, paste});
  menu_->addSeparator();
  QAction* constants = commandAction(tr("&My Constants"), ids::InputMyConstants, menu_);
  connect(constants, &QAction::triggered, this, &CInputEdit::myConstantsRequested);
  menu_->addAction(constants);
}

void CInputEdit::setConstantsAvailable(bool available) { constantsAvailable_ = available; }

QMenu* CInputEdit::preparedMenu() {
  const bool hasText = !toPlainText().isEmpty();
  const bool hasSelection = textCursor().hasSelection();
  const bool clipboardHasText = !QGuiApplication::clipboard()->text().isEmpty();
  findCommand(this, ids::InputClear)->setEnabled(hasText);
  findCommand(this, ids::InputCut)->setEnabled(hasSelection);
  findCommand(this, ids::InputCopy)->setEnabled(hasSelection);
  findCommand(this, ids::InputPaste)->setEnabled(clipboardHasText);
  findCommand(this, ids::InputMyConstants)->setEnabled(constantsAvailable_);
  return menu_;
}

void CInputEdit::contextMenuEvent(QContextMenuEvent* event) { preparedMenu()->exec(event->globalPos()); }
