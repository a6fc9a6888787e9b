#pragma once
// Drawing the handout's pages (reports/Handout) with Qt's painter: on a PDF
// file for the command line, on a printer or its preview for the window. The
// text is in DejaVu Sans, which has the suit symbols and Cyrillic; the PDF
// embeds it, so the text can be searched and copied.
#include <QString>
#include <span>

#include "reports/Handout.h"

class QPagedPaintDevice;
class QPainter;

// Sets the device's paper to the handout's, with no margins of its own.
void SetHandoutPaper(QPagedPaintDevice& device, const THandoutOptions& options);

// Draws every page on the device, whose paper SetHandoutPaper has set; starts
// and ends its own painter. False when the painter could not start.
bool PaintHandout(QPagedPaintDevice& device, std::span<const TBoard> boards,
                  const THandoutOptions& options);

// Writes the handout as a PDF file, whole or not at all. Returns an empty
// text, or the reason the file could not be written.
QString WriteHandoutPdf(const QString& fileName, std::span<const TBoard> boards,
                        const THandoutOptions& options);
