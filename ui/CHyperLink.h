// A text that is a link: it opens its URL when clicked, changes colour when
// hovered or visited, underlines itself as its mode says, and shows the URL
// as a tooltip. A link that cannot be opened is reported with the reason.
#pragma once

#include <QColor>
#include <QLabel>

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
  void setColors(const QColor& unvisited, const QColor& visited, const QColor& hover);
  void setUnderlineMode(int mode);
  bool isVisited() const { return visited_; }
  bool isHovered() const { return hover_; }

  // Opens the URL as a click does (failures are reported to the user).
  void open();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void restyle();

  QString url_;
  QColor unvisited_{0, 0, 255}, visited_colour_{0, 0, 255}, hover_colour_{255, 0, 0};
  int underline_ = UnderlineHover;
  bool hover_ = false;
  bool visited_ = false;
};

// The reason shown for an opening that failed with `code` (the codes of the
// desktop's "open" operation; unknown codes name themselves).
QString hyperlinkErrorText(int code);
