#pragma once
// The optimiser and the batch wizard as a preview sees them: found among the open windows by
// name and spoken to through plain Qt, so the previews need neither window's code.
#include <QString>

class QWidget;

namespace WorkWindows {

inline constexpr const char* kOptimizerName = "frmImgOpt";
inline constexpr const char* kBatchName = "frmBatch";
// Boolean property the optimiser sets while it closes itself and its previews.
inline constexpr const char* kUnloadingProperty = "Unloading";

// The visible open window with that object name, or null.
QWidget* FindOpenForm(const QString& name);
// Raises the optimiser and the batch wizard when they are open, then keepOnTop's window, so
// the window the user works in is not buried under them.
void BringToFront(QWidget* keepOnTop);
// The optimiser when it is open and not already closing itself.
QWidget* OptimizerToAsk();

}  // namespace WorkWindows
