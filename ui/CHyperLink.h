// A text that is a link: it opens its URL when clicked, changes colour when
// hovered or visited, underlines itself as its mode says, and shows the URL
// as a tooltip. A link that cannot be opened is reported with the reason. A
// link made unclickable is shown as plain text. The text is always shown as
// it stands, never read as markup.
#pragma once

#include <QColor>
#include <QLabel>
#include <QUrl>

class CHyperLink : public QLabel {
  Q_OBJECT

 public:
  // Underline modes.
  static constexpr int UnderlineHover = -1;
  static constexpr int UnderlineNever = 0;
  static constexpr int UnderlineAlways = 1;

  explicit CHyperLink(const QString& text, QWidget* parent = nullptr);

  // The target; without one the text is the target, without text the target is shown.
  void setUrl(const QString& url);
  QString url() const { return url_; }
  // What a click hands to the desktop: the URL as a user would have typed it.
  QUrl target() const;
  // An unclickable link is plain text: no hand cursor, no tooltip, the
  // label's usual colour without underline or hover, and opening does nothing.
  // Links are clickable until told otherwise.
  void setClickable(bool clickable);
  bool isClickable() const { return clickable_; }
  void setColors(const QColor& unvisited, const QColor& visited, const QColor& hover);
  void setUnderlineMode(int mode);
  bool isVisited() const { return visited_; }
  bool isHovered() const { return hover_; }

  // Opens the URL as a click does (failures are reported to the user);
  // nothing at all for an unclickable link.
  void open();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void restyle();
  void refreshTarget();

  QString url_;
  QColor plain_;
  bool clickable_ = true;
  QColor unvisited_{0, 0, 255}, visited_colour_{0, 0, 255}, hover_colour_{255, 0, 0};
  int underline_ = UnderlineHover;
  bool hover_ = false;
  bool visited_ = false;
};

// The reason shown for an opening that failed with `code` (the codes of the
// desktop's "open" operation; unknown codes name themselves).
QString hyperlinkErrorText(int code);
