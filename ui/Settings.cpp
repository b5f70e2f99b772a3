#include "ui/Settings.h"

namespace settings {

QString defaultSite() { return QStringLiteral("https://www.example.org/numbrix"); }
QString defaultEmail() { return QStringLiteral("numbrix@example.org"); }

}  // namespace settings
