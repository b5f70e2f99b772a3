#include "ui/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/IConfig.h"
#include "ui/AppIcon.h"
#include "ui/CHyperLink.h"
#include "ui/ControlIds.h"
#include "ui/Settings.h"

namespace {

QString settingOr(const char* key, const QString& fallback) {
  const QString value = QString::fromLocal8Bit(IConfig::instance(0)->get(key));
  return value.isEmpty() ? fallback : value;
}

// The settings file may have been written by anyone, so its links open only
// web pages and mail, never local files, shares or scripts. A mail link is an
// address and nothing more: a query could ask the mail program to attach a
// file ("?attach=..."), so anything that is or decodes to a query, a fragment,
// an escape, a blank or a control character makes it plain text.
bool isSafeTarget(const QUrl& url) {
  if (!url.isValid()) return false;
  const auto is = [&url](const char* scheme) {
    return url.scheme().compare(QLatin1String(scheme), Qt::CaseInsensitive) == 0;
  };
  if (is("http") || is("https")) return true;
  if (!is("mailto")) return false;
  for (const QChar c : url.toString(QUrl::FullyDecoded)) {
    if (c == QLatin1Char('?') || c == QLatin1Char('#') || c == QLatin1Char('%') || c.isSpace() ||
        c.category() == QChar::Other_Control)
      return false;
  }
  return true;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About Numbrix"));
  const QString site = settingOr(settings::kSite, settings::defaultSite());
  const QString email = settingOr(settings::kEmail, settings::defaultEmail());

  auto* icon = new QLabel(this);
  icon->setPixmap(numbrixIcon().pixmap(48, 48));
  auto* product = new QLabel(tr("Numbrix (Version %1)").arg(QStringLiteral(NUMBRIX_VERSION)), this);
  contact_ = new CHyperLink(email, this);
  contact_->setUrl(QStringLiteral("mailto:") + email);
  setControlId(contact_, ids::ContactLink);
  web_ = new CHyperLink(site, this);
  web_->setUrl(site);
  setControlId(web_, ids::WebLink);
  for (CHyperLink* link : {contact_, web_}) {
    link->setColors(QColor(0, 0, 255), QColor(0, 0, 255), QColor(255, 0, 0));
    link->setClickable(isSafeTarget(link->target()));
  }

  auto* close = new QPushButton(tr("&Close"), this);
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* text = new QVBoxLayout;
  text->addWidget(product);
  text->addWidget(contact_);
  text->addWidget(web_);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addLayout(text);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(close, 0, Qt::AlignRight);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}
