// The about box: the icon, the product line and two links (contact and web
// site, from the settings "/email" and "/site"). Only http, https and plain
// mailto links can be clicked; any other value is shown as plain text.
#pragma once

#include <QDialog>

class QLabel;

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  // The e-mail address (a "mailto:" link) and the web site: each a rich-text
  // link with its target as the tooltip, or plain text when its target is refused.
  QLabel* contactLink() const { return contact_; }
  QLabel* webLink() const { return web_; }

  // Opens `href` with the desktop when it is an http, https or plain mailto
  // target; anything else is refused without a word. A refusal by the desktop
  // is reported to the user.
  void openLink(const QString& href);

 private:
  QLabel* contact_;
  QLabel* web_;
};
