#pragma once
// Gives a new control its object name on the spot. Windows find each other's controls and the
// language table finds its texts by these names, so every layout names what it builds.
#include <QObject>
#include <QString>

template <typename T>
T* Named(T* object, const char* name) {
  object->setObjectName(QString::fromLatin1(name));
  return object;
}
