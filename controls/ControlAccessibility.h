#pragma once
// What screen readers see of the program's own controls: the image button as a push button
// named by its caption (its text, accessible name or tool tip), the progress bar as a
// progress bar with its value, the sizer bars as splitters, and windows made of plain widgets
// as windows.
class QAccessibleInterface;
class QObject;
class QString;

namespace ControlAccessibility {

// Registers the factory with Qt once; every control calls it when made.
void Install();
QAccessibleInterface* Factory(const QString& className, QObject* object);

}  // namespace ControlAccessibility
