#pragma once
// Lets the optimiser and the batch wizard behave as modal towards every other open
// window but the main window, although they are shown non-modal, and lets windows
// find each other by name (the object name: "frmImgOpt", "frmBatch", "frmMainForm").
#include <QList>
#include <QString>

class QWidget;

namespace modModal {

inline constexpr const char* kMainWindowName = "frmMainForm";

// The program's open windows, in the order in which they were opened (see OpenWindows).
QList<QWidget*> OpenForms();
bool IsFormLoaded(const QString& name);
// Without the main window nothing happens; otherwise disables every other enabled
// open window except the main window and remembers them for EndModal.
void BeginModal(QWidget* window);
// Re-enables what the oldest record of window and every later record disabled, and
// drops those records. A window without a record changes nothing.
void EndModal(QWidget* window);
// Number of records, for tests.
int RecordCount();

}  // namespace modModal
