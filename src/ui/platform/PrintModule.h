#pragma once
// Printing and its preview, kept in a module of their own ("vetrinora_print",
// see InstalledFiles) so that the program does not load the print system at
// start-up, only when something is first printed or previewed. The two
// functions the module exports take the print job as the platform layer
// describes it.

#include "core/reports/PrintJob.h"

#include <QString>

class QWidget;

namespace platform {

// Nothing is thrown across the module's boundary: a failure comes back as
// its text in `failure`, empty when there was none.
// Shows the print dialog and prints; false when the user cancelled or the
// printing failed.
using PrintWithDialog = bool (*)(QWidget *parent, const PrintJob &job, QString *failure);
// Shows the document in a modal print preview, from which it can be printed;
// a failure while painting closes the preview.
using PreviewWithDialog = void (*)(QWidget *parent, const PrintJob &job, QString *failure);

inline constexpr const char *kPrintWithDialog = "vetrinora_print_with_dialog";
inline constexpr const char *kPreviewWithDialog = "vetrinora_preview_with_dialog";

} // namespace platform
