// "My Constants": edits a working copy of the evaluator's user constants.
// Apply (also the first step of OK and Insert) puts the copy into the
// evaluator and saves it to the constants file; Cancel drops what was not
// applied. Opened from the input, "Insert" also writes a constant's name
// into it.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class CMyConstantDlg : public QDialog {
  Q_OBJECT

 public:
  // `target`: where "Insert" writes (null: no "Insert" button). `constantsPath`:
  // the file the constants are saved to (empty: there is none, and Apply says so).
  CMyConstantDlg(QPlainTextEdit* target, std::string constantsPath, QWidget* parent = nullptr);

  // The buttons' commands.
  // Adds the typed name and value as a row: nothing when either is empty; an
  // invalid name, an invalid value or a name already listed (exactly) is
  // refused with a message and changes nothing.
  void add();
  // Deletes the selected row.
  void deleteSelected();
  // Replaces the evaluator's constants by the rows (values read as the constants file's are)
  // and saves them; nothing when nothing changed. The user is told when the
  // save did not reach the file (which then keeps what it held), when changes
  // another program made to the file were merged (the rows then show the
  // result), and where an unreadable file was kept aside.
  void apply();
  // Writes the selected row's name over the target's selection, applies and closes.
  void insert();

  bool isModified() const { return modified_; }
  QTableWidget* list() const { return list_; }

 private:
  void setModified(bool modified);
  int selectedRow() const;
  // Fills the rows with the evaluator's constants.
  void showConstants();

  QPlainTextEdit* target_;
  std::string constantsPath_;
  bool modified_ = false;
  QLineEdit* name_;
  QLineEdit* value_;
  QTableWidget* list_;
  QPushButton* apply_;
};
