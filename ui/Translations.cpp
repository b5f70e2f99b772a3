#include "ui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installTranslations(QCoreApplication& application) {
  // The user's languages in the order of preference; the source texts are
  // English, so English (or C) before any translated language means English.
  auto* own = new QTranslator(&application);
  QLocale chosen = QLocale::c();
  for (QString name : QLocale::system().uiLanguages()) {
    const QLocale language(name.replace(QLatin1Char('-'), QLatin1Char('_')));
    if (language.language() == QLocale::English || language.language() == QLocale::C) break;
    if (own->load(language, QStringLiteral("numbrix"), QStringLiteral("_"), QStringLiteral(":/i18n"))) {
      chosen = language;
      break;
    }
  }
  if (chosen == QLocale::c()) {
    // Stock buttons in one language and everything else in English would be worse than all English.
    delete own;
    return false;
  }
  auto* qt = new QTranslator(&application);
  if (qt->load(chosen, QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qt);
  else
    delete qt;
  // Installed last, so looked up first.
  QCoreApplication::installTranslator(own);
  return true;
}
