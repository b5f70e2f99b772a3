#include "ui/CHyperLink.h"

#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>

#include "ui/Prompts.h"

CHyperLink::CHyperLink(const QString& text, QWidget* parent)
    : QLabel(text, parent), plain_(palette().color(QPalette::WindowText)) {
  setTextFormat(Qt::PlainText);  // a text from a file is shown as it stands, never as markup
  setAttribute(Qt::WA_Hover);
  refreshTarget();
  restyle();
}

void CHyperLink::setUrl(const QString& url) {
  url_ = url.isEmpty() ? text() : url;
  if (text().isEmpty()) setText(url_);
  refreshTarget();
}

QUrl CHyperLink::target() const { return QUrl::fromUserInput(url_); }

void CHyperLink::setClickable(bool clickable) {
  clickable_ = clickable;
  hover_ = hover_ && clickable;
  refreshTarget();
  restyle();
}

void CHyperLink::refreshTarget() {
  if (clickable_)
    setCursor(Qt::PointingHandCursor);
  else
    unsetCursor();
  setToolTip(clickable_ ? url_ : QString());
}

void CHyperLink::setColors(const QColor& unvisited, const QColor& visited, const QColor& hover) {
  unvisited_ = unvisited;
  visited_colour_ = visited;
  hover_colour_ = hover;
  restyle();
}

void CHyperLink::setUnderlineMode(int mode) {
  underline_ = mode;
  restyle();
}

void CHyperLink::restyle() {
  QPalette colours = palette();
  const QColor linkColour = hover_ ? hover_colour_ : visited_ ? visited_colour_ : unvisited_;
  colours.setColor(QPalette::WindowText, clickable_ ? linkColour : plain_);
  setPalette(colours);
  QFont shown = font();
  shown.setUnderline(clickable_ && (underline_ == UnderlineAlways || (underline_ == UnderlineHover && hover_)));
  setFont(shown);
}

void CHyperLink::enterEvent(QEnterEvent* event) {
  hover_ = clickable_;
  restyle();
  QLabel::enterEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event) {
  hover_ = false;
  restyle();
  QLabel::leaveEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) open();
}

void CHyperLink::open() {
  if (!clickable_) return;
  hover_ = false;
  const QUrl link = target();
  visited_ = Prompts::current().openUrl(link);
  restyle();
  if (visited_) return;
  // The desktop reports no reason: a local file that is not there is code 2,
  // anything else has no program to open it (code 31).
  const bool missingFile = link.isLocalFile() && !QFileInfo::exists(link.toLocalFile());
  QApplication::beep();
  Prompts::current().warning(this, tr("Numbrix"),
                             tr("Unable to open hyperlink:\n\n") + hyperlinkErrorText(missingFile ? 2 : 31));
}

QString hyperlinkErrorText(int code) {
  switch (code) {
    case 0:
      return QObject::tr("The operating system is out\nof memory or resources.");
    case 2:
      return QObject::tr("The specified file was not found.");
    case 3:
      return QObject::tr("The specified path was not found.");
    case 5:
      return QObject::tr("The operating system denied\naccess to the specified file.");
    case 8:
      return QObject::tr("There was not enough memory to complete the operation.");
    case 11:
      return QObject::tr("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    case 26:
      return QObject::tr("A sharing violation occurred. ");
    case 27:
      return QObject::tr("The filename association is\nincomplete or invalid.");
    case 28:
      return QObject::tr("The DDE transaction could not\nbe completed because the request timed out.");
    case 29:
      return QObject::tr("The DDE transaction failed.");
    case 30:
      return QObject::tr(
          "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.");
    case 31:
      return QObject::tr("There is no application associated\nwith the given filename extension.");
    case 32:
      return QObject::tr("The specified dynamic-link library was not found.");
    default:
      return QObject::tr("Unknown Error (%1) occurred.").arg(code);
  }
}
