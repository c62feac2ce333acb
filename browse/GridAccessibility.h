#pragma once
// What a screen reader sees of the thumbnail grid: a list whose items are the pictures of the
// folder shown, each named by its file name and saying whether it is selected.
class QAccessibleInterface;
class QObject;
class QString;

namespace GridAccessibility {

// Registers the factory with Qt once; the grid calls it when made.
void Install();
QAccessibleInterface* Factory(const QString& className, QObject* object);

}  // namespace GridAccessibility
