// Two panes with a 4-pixel bar between them that the user drags. With
// orientation 1 the bar is horizontal and pane 1 lies above pane 2; with 0
// the bar is vertical and pane 1 lies to the left. The bar starts in the middle.
#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

class CGuiSplitter : public QWidget {
  Q_OBJECT

 public:
  explicit CGuiSplitter(QWidget* parent = nullptr);

  // The panes become children of the splitter; the second call lays them out.
  void setPane1(QWidget* pane);
  void setPane2(QWidget* pane);
  void setOrientation(int orientation);
  // The bar's face, its light edge and its dark edge.
  void setColors(const QColor& face, const QColor& light, const QColor& dark);

  int orientation() const { return orientation_; }
  QRect bar() const { return bar_; }
  bool isDragging() const { return dragging_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  static constexpr int kBarThickness = 4;

  void layoutPanes();
  // Moves the bar to `position` (its leading edge), kept inside the client area.
  void placeBar(int position);

  QWidget* pane1_ = nullptr;
  QWidget* pane2_ = nullptr;
  int orientation_ = 1;
  QRect bar_;
  bool dragging_ = false;
  QColor face_, light_, dark_;
};
