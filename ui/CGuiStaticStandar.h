// A titled frame ("Output") that hosts one widget and keeps it filling its
// whole inside.
#pragma once

#include <QGroupBox>

class CGuiStaticStandar : public QGroupBox {
  Q_OBJECT

 public:
  explicit CGuiStaticStandar(const QString& title, QWidget* parent = nullptr);
  // Hosts `window` (which becomes a child of the frame) and sizes it at once.
  void attach(QWidget* window);
  QWidget* hosted() const { return hosted_; }

 private:
  QWidget* hosted_ = nullptr;
};
