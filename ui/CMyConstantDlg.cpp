#include "ui/CMyConstantDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <map>

#include "expr/ConstantsFile.h"
#include "expr/IExprParser.h"
#include "ui/ControlIds.h"
#include "ui/Prompts.h"
#include "ui/ReportList.h"

namespace {

std::string narrow(const QString& text) { return text.toLocal8Bit().toStdString(); }

QPushButton* button(const QString& caption, int id, QWidget* parent) {
  auto* pushButton = new QPushButton(caption, parent);
  setControlId(pushButton, id);
  pushButton->setAutoDefault(false);  // Enter in the fields adds; it never closes the dialog
  return pushButton;
}

}  // namespace

CMyConstantDlg::CMyConstantDlg(QPlainTextEdit* target, std::string constantsPath, QWidget* parent)
    : QDialog(parent), target_(target), constantsPath_(std::move(constantsPath)) {
  setWindowTitle(tr("My Constants"));
  name_ = new QLineEdit(this);
  setControlId(name_, ids::ConstantName);
  value_ = new QLineEdit(this);
  setControlId(value_, ids::ConstantValue);
  value_->setMinimumWidth(260);
  QPushButton* addButton = button(tr("&Add"), ids::ConstantAdd, this);
  list_ = new QTableWidget(0, 2, this);
  setControlId(list_, ids::ConstantList);
  setUpReportList(list_, {tr("Name"), tr("Value")}, {100, 500});
  list_->setMinimumSize(520, 220);
  QPushButton* deleteButton = button(tr("&Delete"), ids::ConstantDelete, this);
  QPushButton* insertButton = button(tr("Insert"), ids::ConstantInsert, this);
  QPushButton* ok = button(tr("OK"), ids::Ok, this);
  apply_ = button(tr("Apply"), ids::ConstantApply, this);
  QPushButton* cancel = button(tr("Cancel"), ids::Cancel, this);

  connect(addButton, &QPushButton::clicked, this, &CMyConstantDlg::add);
  connect(name_, &QLineEdit::returnPressed, this, &CMyConstantDlg::add);
  connect(value_, &QLineEdit::returnPressed, this, &CMyConstantDlg::add);
  connect(deleteButton, &QPushButton::clicked, this, &CMyConstantDlg::deleteSelected);
  connect(insertButton, &QPushButton::clicked, this, &CMyConstantDlg::insert);
  connect(apply_, &QPushButton::clicked, this, &CMyConstantDlg::apply);
  connect(ok, &QPushButton::clicked, this, [this] {
    apply();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(tr("Name"), this), 0, 0);
  fields->addWidget(new QLabel(tr("Value"), this), 0, 2);
  fields->addWidget(name_, 1, 0);
  fields->addWidget(new QLabel(QStringLiteral("="), this), 1, 1);
  fields->addWidget(value_, 1, 2);
  fields->addWidget(addButton, 1, 3);
  auto* side = new QVBoxLayout;
  side->addWidget(deleteButton);
  side->addWidget(insertButton);
  side->addStretch(1);
  auto* middle = new QHBoxLayout;
  middle->addWidget(list_, 1);
  middle->addLayout(side);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(ok);
  bottom->addWidget(apply_);
  bottom->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Define your own CONSTANTs for a certain field :"), this));
  layout->addLayout(fields);
  layout->addLayout(middle, 1);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  if (target_ == nullptr) insertButton->hide();
  apply_->setEnabled(false);
  showConstants();
  name_->setFocus();
}

void CMyConstantDlg::showConstants() {
  // The working copy: the constants in full.
  list_->setSortingEnabled(false);
  list_->setRowCount(0);
  for (const auto& [name, value] : IExprParser::instance()->constants()) {
    const int row = list_->rowCount();
    list_->insertRow(row);
    list_->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(name)));
    list_->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(constants_file::textOf(value))));
  }
  list_->setSortingEnabled(true);
  list_->sortByColumn(0, Qt::AscendingOrder);
}

void CMyConstantDlg::setModified(bool modified) {
  modified_ = modified;
  apply_->setEnabled(modified);
}

int CMyConstantDlg::selectedRow() const { return ::selectedRow(list_); }

void CMyConstantDlg::add() {
  const QString name = name_->text(), value = value_->text();
  if (name.isEmpty() || value.isEmpty()) return;
  IExprParser* parser = IExprParser::instance();
  Prompts& prompts = Prompts::current();
  if (!parser->isValidName(narrow(name))) {
    prompts.information(this, tr("Error"),
                        tr("The Name MUST begin with an UNDERLINE or a LETTER, \r\nand it can only include "
                           "UNDERLINE, LETTER and DIGIST ."));
    return;
  }
  if (!parser->isValidValue(narrow(value))) {
    prompts.information(this, tr("Error"), tr("The format of Value is not correct ."));
    return;
  }
  for (int row = 0; row < list_->rowCount(); ++row) {
    if (list_->item(row, 0)->text() == name) {
      prompts.information(this, tr("Error"), tr("The CONSTANT has already existed !"));
      return;
    }
  }
  list_->setSortingEnabled(false);
  const int row = list_->rowCount();
  list_->insertRow(row);
  list_->setItem(row, 0, new QTableWidgetItem(name));
  list_->setItem(row, 1, new QTableWidgetItem(value));
  list_->setSortingEnabled(true);
  setModified(true);
  name_->clear();
  value_->clear();
  name_->setFocus();
}

void CMyConstantDlg::deleteSelected() {
  const int row = selectedRow();
  if (row < 0) return;
  list_->removeRow(row);
  setModified(true);
}

void CMyConstantDlg::apply() {
  if (!modified_) return;
  IExprParser* parser = IExprParser::instance();
  constants_file::Texts constants;
  for (int row = 0; row < list_->rowCount(); ++row)
    constants[narrow(list_->item(row, 0)->text())] = narrow(list_->item(row, 1)->text());
  // Every row was checked as it was added.
  parser->setConstants(constants);
  setModified(false);
  Prompts& prompts = Prompts::current();
  if (constantsPath_.empty()) {
    prompts.warning(this, tr("My Constants"),
                    tr("The program has no folder for its files, so the constants cannot be saved. They are in "
                       "use until the program ends."));
    return;
  }
  const IExprParser::ConstantsSave saved = parser->saveConstants(constantsPath_);
  const QString file = QString::fromStdString(constantsPath_);
  if (!saved.written) {
    prompts.warning(this, tr("My Constants"),
                    tr("The constants could not be saved to the file:\n%1\n\nThey are in use until the program "
                       "ends; the file keeps what it held.")
                        .arg(file));
    return;
  }
  if (saved.merged) {
    showConstants();
    prompts.information(this, tr("My Constants"),
                        tr("The constants file had been changed by another program since it was read:\n%1\n\n"
                           "Its changes were kept together with yours; where both changed a constant, yours "
                           "was kept.")
                            .arg(file));
  }
  if (!saved.setAsideAs.empty())
    prompts.information(this, tr("My Constants"),
                        tr("The constants file could not be read, so it was kept aside as:\n%1\n\nThe constants "
                           "were saved to a new file:\n%2")
                            .arg(QString::fromStdString(saved.setAsideAs), file));
}

void CMyConstantDlg::insert() {
  const int row = selectedRow();
  if (target_ == nullptr || row < 0) return;
  target_->insertPlainText(list_->item(row, 0)->text());
  apply();
  accept();
}
