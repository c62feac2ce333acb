#pragma once
// The program's open top-level windows, in the order in which they were opened. A window
// counts from the moment it is made, so one that is loaded but not yet shown (the batch
// wizard before start-up shows it) is open too. Window coordination (modModal) asks here
// instead of walking Qt's list of top-level widgets, which keeps no order.
#include <QList>

class QWidget;

class OpenWindows {
 public:
  // Open windows (popups, tooltips and splash screens excluded): first those that have been
  // shown, in the order of their first polish, then those never shown, in the order made.
  static QList<QWidget*> List();
};
