#include "ui/CResultListCtrl.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <string>
#include <vector>

#include "expr/FormatValue.h"
#include "expr/IExprParser.h"
#include "ui/CResultViewDlg.h"
#include "ui/ControlIds.h"
#include "ui/EvaluationRunner.h"
#include "ui/Prompts.h"
#include "ui/ReportList.h"
#include "ui/VariablesFile.h"

CResultListCtrl::CResultListCtrl(QWidget* parent) : QTableWidget(0, 2, parent), menu_(new QMenu(tr("&Result"), this)) {
  setUpReportList(this, {tr("Name"), tr("Value")}, {60, 500});
  setSortingEnabled(true);
  sortByColumn(0, Qt::AscendingOrder);

  addCommand(menu_, tr("Copy &Value"), ids::ResultCopyValue, this, &CResultListCtrl::copyValue)
      ->setShortcut(QKeySequence::Copy);
  menu_->addSeparator();
  addCommand(menu_, tr("Clear &All"), ids::ResultClearAll, this, &CResultListCtrl::clearAll);
  addCommand(menu_, tr("&Clear Selected"), ids::ResultClearSelected, this, &CResultListCtrl::clearSelected);
  menu_->addSeparator();
  addCommand(menu_, tr("Result &View"), ids::ResultView, this, &CResultListCtrl::viewSelected);
  menu_->addSeparator();
  addCommand(menu_, tr("&Import Variables"), ids::ImportVariables, this, &CResultListCtrl::importVariables);
  addCommand(menu_, tr("&Export Variables"), ids::ExportVariables, this, &CResultListCtrl::exportVariables);
  menu_->addSeparator();
  addCommand(menu_, tr("&My Constants"), ids::ResultMyConstants, this, &CResultListCtrl::myConstantsRequested);
}

void CResultListCtrl::display(const std::string& name, bignum::bigfloat value) {
  showValue(name, QString::fromLocal8Bit(formatValue(value, 40)));
}

void CResultListCtrl::showValue(const std::string& name, const QString& text) {
  const QString wideName = QString::fromLocal8Bit(name);
  int row = rowOf(wideName);
  setSortingEnabled(false);
  if (row < 0) {
    row = rowCount();
    insertRow(row);
    setItem(row, 0, new QTableWidgetItem(wideName));
  }
  setItem(row, 1, reportItem(text));
  setSortingEnabled(true);  // the sorted list places a new row
}

void CResultListCtrl::remove(const std::string& name) {
  const int row = rowOf(QString::fromLocal8Bit(name));
  if (row >= 0) removeRow(row);
}

void CResultListCtrl::clear() { setRowCount(0); }

int CResultListCtrl::rowOf(const QString& name) const {
  for (int row = 0; row < rowCount(); ++row)
    if (item(row, 0) != nullptr && item(row, 0)->text() == name) return row;
  return -1;
}

QString CResultListCtrl::valueText(int row) const { return fullText(item(row, 1)); }

QString CResultListCtrl::selectedName() const {
  const QList<QTableWidgetItem*> chosen = selectedItems();
  if (chosen.isEmpty()) return QString();
  const QTableWidgetItem* name = item(chosen.front()->row(), 0);
  return name != nullptr ? name->text() : QString();
}

QMenu* CResultListCtrl::preparedMenu() {
  const bool empty = rowCount() == 0, selected = !selectedItems().isEmpty();
  findCommand(this, ids::ResultClearAll)->setEnabled(!empty);
  findCommand(this, ids::ResultClearSelected)->setEnabled(selected);
  findCommand(this, ids::ResultView)->setEnabled(selected);
  findCommand(this, ids::ExportVariables)->setEnabled(!empty);
  findCommand(this, ids::ResultCopyValue)->setEnabled(selected);
  // While an evaluation works the evaluator is its own: what reads or changes it waits.
  if (!EvaluatorAccess::available())
    for (int id : {ids::ResultClearAll, ids::ResultClearSelected, ids::ResultView, ids::ImportVariables,
                   ids::ExportVariables, ids::ResultMyConstants})
      findCommand(this, id)->setEnabled(false);
  return menu_;
}

void CResultListCtrl::copyValue() { copySelectedCell(this, 1); }

void CResultListCtrl::clearAll() {
  if (const EvaluatorAccess::Guard access = EvaluatorAccess::acquire()) IExprParser::instance()->clearVariables();
}

void CResultListCtrl::clearSelected() {
  const QString name = selectedName();
  const EvaluatorAccess::Guard access = EvaluatorAccess::acquire();
  if (access && !name.isEmpty()) IExprParser::instance()->removeVariable(name.toLocal8Bit().toStdString());
}

void CResultListCtrl::viewSelected() { viewVariable(selectedName()); }

void CResultListCtrl::viewVariable(const QString& name) {
  const EvaluatorAccess::Guard access = EvaluatorAccess::acquire();
  if (name.isEmpty() || !access) return;
  bignum::bigfloat value(0);
  IExprParser::instance()->getVariable(name.toLocal8Bit().toStdString(), value);
  CResultViewDlg view(name, value, this);
  view.exec();
}

namespace {

QString variablesFilter() { return CResultListCtrl::tr("Numbrix Variables Files (*.cvf)"); }

}  // namespace

void CResultListCtrl::exportVariables() {
  Prompts& prompts = Prompts::current();
  const QString path =
      prompts.saveFileName(this, QStringLiteral("Variables"), variablesFilter(), QStringLiteral("cvf"), nullptr);
  const EvaluatorAccess::Guard access = EvaluatorAccess::acquire();
  if (path.isEmpty() || !access) return;
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(rowCount()));
  for (int row = 0; row < rowCount(); ++row) names.push_back(item(row, 0)->text().toLocal8Bit().toStdString());
  if (!::exportVariables(path.toLocal8Bit().toStdString(), names))
    prompts.warning(this, tr("Export Variables"), tr("The variables could not be saved to the file:\n") + path);
}

void CResultListCtrl::importVariables() {
  Prompts& prompts = Prompts::current();
  const QString path = prompts.openFileName(this, variablesFilter());
  const EvaluatorAccess::Guard access = EvaluatorAccess::acquire();
  if (path.isEmpty() || !access) return;
  const int skipped = ::importVariables(path.toLocal8Bit().toStdString());
  if (skipped == kUnreadable)
    prompts.warning(this, tr("Import Variables"), tr("The file cannot be read as a variables file:\n") + path);
  else if (skipped > 0)
    prompts.information(
        this, tr("Import Variables"),
        tr("%n entries of the file were skipped because they are not valid variables.", nullptr, skipped));
}

void CResultListCtrl::contextMenuEvent(QContextMenuEvent* event) { preparedMenu()->exec(event->globalPos()); }

void CResultListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!selectedItems().isEmpty()) {
    viewSelected();
    return;
  }
  QTableWidget::mouseDoubleClickEvent(event);
}

void CResultListCtrl::keyPressEvent(QKeyEvent* event) {
  if (!copiesOnCopyKey(this, event, 1)) QTableWidget::keyPressEvent(event);
}
