// Answers for the windows' questions in tests: file names given in advance,
// message boxes and opened links recorded.
#pragma once

#include <QStringList>
#include <QUrl>

#include "ui/Prompts.h"

class FakePrompts : public Prompts {
 public:
  FakePrompts() { Prompts::install(this); }
  ~FakePrompts() override { Prompts::install(nullptr); }
  FakePrompts(const FakePrompts&) = delete;
  FakePrompts& operator=(const FakePrompts&) = delete;

  QString saveFileName(QWidget*, const QString& proposedName, const QString& filter,
                       const QString& defaultSuffix) override {
    asked << QStringLiteral("save %1 [%2] .%3").arg(proposedName, filter, defaultSuffix);
    return nextFile;
  }
  QString openFileName(QWidget*, const QString& filter) override {
    asked << QStringLiteral("open [%1]").arg(filter);
    return nextFile;
  }
  void information(QWidget*, const QString& title, const QString& text) override {
    messages << QStringLiteral("information %1: %2").arg(title, text);
  }
  void warning(QWidget*, const QString& title, const QString& text) override {
    messages << QStringLiteral("warning %1: %2").arg(title, text);
  }
  bool openUrl(const QUrl& url) override {
    opened << url;
    return openSucceeds;
  }

  QString nextFile;  // what the next file dialog answers ("" = cancelled)
  bool openSucceeds = true;
  QStringList asked, messages;
  QList<QUrl> opened;
};
