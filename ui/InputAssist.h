// Help while typing in an expression input: a popup that completes the
// names of functions, constants and variables from two letters on, and
// Ctrl+Up / Ctrl+Down that recall earlier inputs as a terminal does.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <map>
#include <string>
#include <vector>

class CInputEdit;
class QCompleter;
class QStringListModel;

class InputAssist : public QObject {
  Q_OBJECT

 public:
  // Attaches to `input` (which owns the assist). `names` gives the names of
  // the variables and user constants to offer besides the built-in ones; it
  // is asked each time the popup is filled.
  InputAssist(CInputEdit* input, std::function<std::vector<std::string>()> names);

  // Adds `text` as the newest input to recall (not twice in a row) and
  // starts recalling from the newest again. At most 1000 are kept.
  void remember(const QString& text);
  const QStringList& recalled() const { return inputs_; }

  QCompleter* completer() const { return completer_; }
  // Whether the popup is open (keys such as Enter then choose from it).
  bool popupVisible() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void textEdited();
  void insertCompletion(const QString& shown);
  // Ctrl+Up (-1) or Ctrl+Down (+1).
  void recall(int step);

  CInputEdit* input_;
  std::function<std::vector<std::string>()> names_;
  QCompleter* completer_;
  QStringListModel* model_;
  std::map<QString, QString> insertions_;  // shown text to inserted text
  QStringList inputs_;                     // oldest first
  qsizetype recallAt_ = 0;                 // inputs_.size(): the draft
  QString draft_;                          // what was typed before recalling began
  bool recalling_ = false;                 // the text is being set by recall()
};
