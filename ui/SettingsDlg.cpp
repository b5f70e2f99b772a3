#include "ui/SettingsDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLocale>
#include <QSpinBox>

#include "config/AppDirectory.h"
#include "config/IConfig.h"
#include "expr/IExprParser.h"
#include "ui/ControlIds.h"
#include "ui/Settings.h"

namespace {

// A spin box of whole numbers from `low` to `high`, written in the classic locale whatever the user's.
QSpinBox* numberBox(int low, int high, int value, int id, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setLocale(QLocale::c());
  box->setRange(low, high);
  box->setValue(value);
  setControlId(box, id);
  return box;
}

QCheckBox* checkBox(const QString& text, bool checked, int id, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setChecked(checked);
  setControlId(box, id);
  return box;
}

}  // namespace

SettingsDlg::SettingsDlg(const AppState& state, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Settings"));
  const EvaluationSettings& evaluation = IExprParser::instance()->settings();
  const int defaultExponent = static_cast<int>(*EvaluationSettings().limitExponent);

  decimals_ = numberBox(0, static_cast<int>(EvaluationSettings::kMaxDecimals), static_cast<int>(evaluation.decimals),
                        ids::SettingsDecimals, this);
  limited_ = checkBox(tr("Limit values to"), evaluation.limitExponent.has_value(), ids::SettingsLimited, this);
  limitExponent_ =
      numberBox(1, static_cast<int>(EvaluationSettings::kMaxLimitExponent),
                static_cast<int>(evaluation.limitExponent.value_or(defaultExponent)), ids::SettingsLimitExponent, this);
  limitExponent_->setPrefix(QStringLiteral("1e"));
  limitExponent_->setEnabled(limited_->isChecked());
  connect(limited_, &QCheckBox::toggled, limitExponent_, &QWidget::setEnabled);
  keepHistory_ = checkBox(tr("Keep history between sessions"), state.keepHistory, ids::SettingsKeepHistory, this);
  enterEvaluates_ = checkBox(tr("Enter evaluates, Shift+Enter starts a new line"), state.enterEvaluates,
                             ids::SettingsEnterEvaluates, this);

  auto* limit = new QHBoxLayout;
  limit->addWidget(limited_);
  limit->addWidget(limitExponent_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout(this);
  form->addRow(tr("Answer decimals"), decimals_);
  form->addRow(tr("Value limit"), limit);
  form->addRow(keepHistory_);
  form->addRow(enterEvaluates_);
  form->addRow(buttons);
}

void SettingsDlg::apply(AppState& state) const {
  EvaluationSettings evaluation = IExprParser::instance()->settings();
  evaluation.decimals = decimals_->value();
  evaluation.limitExponent =
      limited_->isChecked() ? std::optional<std::int64_t>(limitExponent_->value()) : std::optional<std::int64_t>();
  IExprParser::instance()->setSettings(evaluation);
  state.keepHistory = keepHistory_->isChecked();
  state.enterEvaluates = enterEvaluates_->isChecked();
}

bool SettingsDlg::edit(AppState& state, QWidget* parent) {
  SettingsDlg dialog(state, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.apply(state);
  settings::saveUserSettings(state);
  if (!state.directory.empty())
    IConfig::instance(IConfig::SettingsStore)->save(settingsFilePath(state.directory).string());
  return true;
}
