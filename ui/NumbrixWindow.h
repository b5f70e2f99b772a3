// What the main window and the mini window share: the title and icon, a
// window that cannot be resized, the window menu (also as the context menu),
// Ctrl+Q to quit, Esc swallowed, keypad buttons, and the text handed to the
// evaluator.
#pragma once

#include <QColor>
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "ui/AppState.h"
#include "ui/Keypad.h"

class CGuiButton;
class EvaluationRunner;
class QGridLayout;
class WindowMenu;

class NumbrixWindow : public QDialog {
  Q_OBJECT

 public:
  WindowMenu* windowMenu() const { return windowMenu_; }
  // The worker that evaluates this window's inputs.
  EvaluationRunner* runner() const { return runner_; }

 protected:
  NumbrixWindow(AppState& state, QWidget* parent);

  // A keypad button of style 3 with its id and caption colour, which does not
  // take the focus from the input.
  CGuiButton* keypadButton(const QString& caption, int id, const QColor& colour, QWidget* parent);
  // A pad with a button for each of `keys` (at least `size`), each inserting
  // its text into `input`; the caller adds its other buttons to the pad's grid.
  QWidget* keypadPad(const std::vector<KeyDefinition>& keys, QWidget* input, QSize size);
  static QGridLayout* gridOf(QWidget* pad);

  // The input's text in the narrow encoding, or nothing when it holds only
  // blanks, tabs and line breaks.
  static std::optional<std::string> textToEvaluate(const QString& input);

  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // "Settings…" of the window menu: the settings dialog over this window.
  virtual void openSettings();

  AppState& state_;
  EvaluationRunner* runner_;

 private:
  WindowMenu* windowMenu_;
};
