// The desktop program's language: the translation of its own texts and of
// Qt's stock dialogs and buttons that matches the system locale.
#pragma once

class QCoreApplication;

// Installs into `application` (which owns them) the program's translation for
// QLocale::system() (on Linux from LANGUAGE, LC_ALL, LC_MESSAGES and LANG, in
// that order), embedded under ":/i18n", and with it Qt's own "qtbase"
// translation from Qt's translations folder when there is one. Call it before
// any window is made. Returns whether the program's translation was found;
// for English, the C locale or a language without a translation nothing is
// installed and the program stays English.
bool installTranslations(QCoreApplication& application);
