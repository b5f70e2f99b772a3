#include "ui/CAboutDlg.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "config/IConfig.h"
#include "ui/AppIcon.h"
#include "ui/ControlIds.h"
#include "ui/Prompts.h"
#include "ui/Settings.h"
#include "ui/ThemeColours.h"

namespace {

QString settingOr(const char* key, const QString& fallback) {
  const QString value = QString::fromLocal8Bit(IConfig::instance(IConfig::SettingsStore)->get(key));
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
  for (const QChar c : url.toString()) {
    if (c == QLatin1Char('?') || c == QLatin1Char('#') || c == QLatin1Char('%') || c.isSpace() ||
        c.category() == QChar::Other_Control)
      return false;
  }
  return true;
}

// A link in the theme's link colour, moved where needed to be readable on
// the window colour; written again whenever the palette changes.
class LinkLabel : public QLabel {
 public:
  LinkLabel(const QString& text, const QUrl& url, QWidget* parent) : QLabel(parent), text_(text), url_(url) {
    setTextFormat(Qt::RichText);
    showLink();
  }

 protected:
  void changeEvent(QEvent* event) override {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) showLink();
  }

 private:
  void showLink() {
    const QColor colour = readableOn(palette().color(QPalette::Link), palette().color(QPalette::Window));
    const QString html =
        QStringLiteral("<a href=\"%1\" style=\"color:%2\">%3</a>")
            .arg(url_.toString(QUrl::FullyEncoded).toHtmlEscaped(), colour.name(), text_.toHtmlEscaped());
    if (html != text()) setText(html);
  }

  QString text_;
  QUrl url_;
};

// A label showing `text`: a link to `target` (read as a user would type it)
// when that is safe to open, else plain text. The text is never read as markup.
QLabel* linkLabel(const QString& text, const QString& target, QWidget* parent) {
  const QUrl url = QUrl::fromUserInput(target);
  if (!isSafeTarget(url)) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
  }
  auto* label = new LinkLabel(text, url, parent);
  label->setTextInteractionFlags(Qt::TextBrowserInteraction);
  label->setOpenExternalLinks(false);  // opened by CAboutDlg::openLink, which checks the target again
  label->setToolTip(target);
  return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About Numbrix"));
  const QString site = settingOr(settings::kSite, settings::defaultSite());
  const QString email = settingOr(settings::kEmail, settings::defaultEmail());

  auto* icon = new QLabel(this);
  icon->setPixmap(numbrixIcon().pixmap(48, 48));
  auto* product = new QLabel(tr("Numbrix (Version %1)").arg(QStringLiteral(NUMBRIX_VERSION)), this);
  contact_ = linkLabel(email, QStringLiteral("mailto:") + email, this);
  setControlId(contact_, ids::ContactLink);
  web_ = linkLabel(site, site, this);
  setControlId(web_, ids::WebLink);
  for (QLabel* link : {contact_, web_}) connect(link, &QLabel::linkActivated, this, &CAboutDlg::openLink);

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

void CAboutDlg::openLink(const QString& href) {
  const QUrl url(href, QUrl::StrictMode);
  if (!isSafeTarget(url)) return;
  if (Prompts::current().openUrl(url)) return;
  // The desktop gives no reason; the only links here are web pages and mail.
  QApplication::beep();
  Prompts::current().warning(
      this, tr("Numbrix"),
      tr("Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension."));
}
