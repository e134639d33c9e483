#pragma once
// Printing and its preview, kept in a module of their own ("vetrinora_print",
// see InstalledFiles) so that the program does not load the print system at
// start-up, only when something is first printed or previewed. The two
// functions the module exports take the print job as the platform layer
// describes it.

#include "core/reports/PrintJob.h"

class QWidget;

namespace platform {

// Shows the print dialog and prints; false when the user cancelled.
using PrintWithDialog = bool (*)(QWidget *parent, const PrintJob &job);
// Shows the document in a modal print preview, from which it can be printed.
using PreviewWithDialog = void (*)(QWidget *parent, const PrintJob &job);

inline constexpr const char *kPrintWithDialog = "vetrinora_print_with_dialog";
inline constexpr const char *kPreviewWithDialog = "vetrinora_preview_with_dialog";

} // namespace platform
