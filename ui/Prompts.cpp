#include "ui/Prompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace {

class QtPrompts : public Prompts {
 public:
  QString saveFileName(QWidget* parent, const QString& proposedName, const QString& filter,
                       const QString& defaultSuffix, QString* chosenFilter) override {
    QFileDialog dialog(parent, QString(), proposedName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    if (chosenFilter != nullptr) *chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().front();
  }
  QString openFileName(QWidget* parent, const QString& filter) override {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
  }
  void information(QWidget* parent, const QString& title, const QString& text) override {
    QMessageBox::information(parent, title, text);
  }
  void warning(QWidget* parent, const QString& title, const QString& text) override {
    QApplication::beep();
    QMessageBox::warning(parent, title, text);
  }
  bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

Prompts* installed = nullptr;

}  // namespace

Prompts& Prompts::current() {
  static QtPrompts qt;
  return installed != nullptr ? *installed : qt;
}

void Prompts::install(Prompts* prompts) { installed = prompts; }
