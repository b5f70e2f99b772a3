#include "ui/CInputEdit.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QCompleter>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

#include "ui/ControlIds.h"

CInputEdit::CInputEdit(QWidget* parent) : QPlainTextEdit(parent), menu_(new QMenu(tr("&Input"), this)) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(false);
  addCommand(menu_, tr("&Clear"), ids::InputClear, this, [this] {
    selectAll();
    insertPlainText(QString());
  });
  menu_->addSeparator();
  addCommand(menu_, tr("Cu&t"), ids::InputCut, this, &QPlainTextEdit::cut);
  addCommand(menu_, tr("Cop&y"), ids::InputCopy, this, &QPlainTextEdit::copy);
  addCommand(menu_, tr("&Paste"), ids::InputPaste, this, &QPlainTextEdit::paste);
  menu_->addSeparator();
  addCommand(menu_, tr("&My Constants"), ids::InputMyConstants, this, &CInputEdit::myConstantsRequested);
}

QMenu* CInputEdit::preparedMenu() {
  const bool hasText = !toPlainText().isEmpty();
  const bool hasSelection = textCursor().hasSelection();
  const bool clipboardHasText = !QGuiApplication::clipboard()->text().isEmpty();
  findCommand(this, ids::InputClear)->setEnabled(hasText);
  findCommand(this, ids::InputCut)->setEnabled(hasSelection);
  findCommand(this, ids::InputCopy)->setEnabled(hasSelection);
  findCommand(this, ids::InputPaste)->setEnabled(clipboardHasText);
  return menu_;
}

void CInputEdit::contextMenuEvent(QContextMenuEvent* event) { preparedMenu()->exec(event->globalPos()); }

void CInputEdit::keyPressEvent(QKeyEvent* event) {
  if (completer_ != nullptr && completer_->popup()->isVisible()) {
    switch (event->key()) {
      case Qt::Key_Enter:
      case Qt::Key_Return:
      case Qt::Key_Escape:
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
        event->ignore();  // the completer chooses or closes
        return;
      default:
        break;
    }
  }
  QPlainTextEdit::keyPressEvent(event);
}
