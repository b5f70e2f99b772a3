#include "ui/CGuiStaticStandar.h"

#include <QVBoxLayout>

CGuiStaticStandar::CGuiStaticStandar(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
}

void CGuiStaticStandar::attach(QWidget* window) {
  hosted_ = window;
  layout()->addWidget(window);
  layout()->activate();
}
