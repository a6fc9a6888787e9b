#pragma once
// The handout painter as a module of its own (korvana-handout.so), which
// korvana-cli loads only for `handout`: a run that makes no handout does not
// load Qt Gui and what it brings. The desktop program links the painter
// instead. Neither side includes Qt here.
#include <cstddef>
#include <string>

#include "reports/Handout.h"

// The module's one entry, found by name: writes the boards as a PDF file,
// whole or not at all, drawing offscreen unless QT_QPA_PLATFORM names a
// platform. True when written; otherwise `failure` has the reason.
using THandoutPdfWriter = bool (*)(const std::string& fileName, const TBoard* boards,
                                   std::size_t count, const THandoutOptions& options,
                                   std::string& failure);
inline constexpr const char* kHandoutPdfWriterName = "KorvanaWriteHandoutPdf";
inline constexpr const char* kHandoutModuleFile = "korvana-handout.so";
