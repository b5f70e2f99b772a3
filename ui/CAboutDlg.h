// The about box: the icon, the product line and two links (contact and web
// site, from the settings "/email" and "/site"). Only http, https and plain
// mailto links can be clicked; any other value is shown as plain text.
#pragma once

#include <QDialog>

class CHyperLink;

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  CHyperLink* contactLink() const { return contact_; }
  CHyperLink* webLink() const { return web_; }

 private:
  CHyperLink* contact_;
  CHyperLink* web_;
};
