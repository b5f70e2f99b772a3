// The "Settings" dialog of the window menu: the answer decimals, the value
// limit, whether the history is kept between sessions and whether Enter
// evaluates. OK puts the values in force and saves the settings file at once;
// Cancel changes nothing.
#pragma once

#include <QDialog>

#include "ui/AppState.h"

class QCheckBox;
class QSpinBox;

class SettingsDlg : public QDialog {
  Q_OBJECT

 public:
  // Shows the evaluator's answer decimals and value limit and the settings of `state`.
  explicit SettingsDlg(const AppState& state, QWidget* parent = nullptr);

  // Shows the dialog modally over `parent`. On OK the values go into `state`
  // and the evaluator, and the settings store is written to the settings file
  // of state.directory (not when there is no folder, or the store holds no
  // settings); returns true. On Cancel nothing changes; returns false.
  static bool edit(AppState& state, QWidget* parent);

  // Puts the values shown into `state` and the evaluator.
  void apply(AppState& state) const;

 private:
  QSpinBox* decimals_;
  QCheckBox* limited_;
  QSpinBox* limitExponent_;
  QCheckBox* keepHistory_;
  QCheckBox* enterEvaluates_;
};
