#pragma once
// Draws documents: one page with a painter (the preview scales it), or the whole
// document onto a paged device such as a printer or a PDF writer.
#include "print/document.h"

class QPainter;
class QPagedPaintDevice;

namespace selvar {

// The painter's coordinates are taken as the document's pixels; scale it for any other
// resolution.
void renderPage(QPainter& painter, const Document& document, int pageIndex);

// Every page in order, scaled from the document's resolution to the device's. False
// when the device cannot be painted on (printer refused, file not writable).
bool renderDocument(QPagedPaintDevice& device, const Document& document);

}  // namespace selvar
