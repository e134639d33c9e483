#pragma once
// The formats module's one export (core/transfer/FileFormats.h). A program
// that links the module's code in (vetrinora_linked_modules) gives it to
// platform::Module::linkIn() instead of opening the module.

#include "core/transfer/FileFormats.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT Transfer::FileFormats *vetrinora_file_formats();
