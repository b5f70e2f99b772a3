#include "ui/ControlIds.h"

namespace {

const char* const kIdProperty = "controlId";

bool hasId(const QObject* object, int id) {
  const QVariant value = object->property(kIdProperty);
  return value.isValid() && value.toInt() == id;
}

}  // namespace

void setControlId(QWidget* widget, int id) { widget->setProperty(kIdProperty, id); }

void setControlId(QAction* action, int id) {
  action->setProperty(kIdProperty, id);
  action->setData(id);
}

QWidget* findControl(const QWidget* root, int id) {
  if (hasId(root, id)) return const_cast<QWidget*>(root);
  for (QWidget* child : root->findChildren<QWidget*>())
    if (hasId(child, id)) return child;
  return nullptr;
}

QAction* findCommand(const QWidget* root, int id) {
  for (QAction* action : root->findChildren<QAction*>())
    if (hasId(action, id)) return action;
  return nullptr;
}

QAction* commandAction(const QString& caption, int id, QObject* parent) {
  auto* action = new QAction(caption, parent);
  setControlId(action, id);
  return action;
}
