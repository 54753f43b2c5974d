#pragma once

#include "state/Context.h"

#include <QString>

namespace kesmaro {

// The names of the program's help documents, in the document folder.
extern const QString kQuickReferenceDocument;
extern const QString kHowToUseDocument;
extern const QString kReadMeDocument;

// Opens an existing file with its associated program: busy pointer, log lines around the
// request and a wait of `waitMs`; a missing file is reported in a message box and the log.
void OpenDocument(Context& ctx, const QString& path, int waitMs);
// The same for a web address; only an empty address counts as missing.
void OpenUrl(Context& ctx, const QString& address, int waitMs);

} // namespace kesmaro
