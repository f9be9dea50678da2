#include "print/geometry.h"

#include "print/canvas.h"

namespace selvar {

PageGeometry::PageGeometry(const Canvas& canvas)
{
    const int wmm = canvas.physicalWidthMm();
    const int hmm = canvas.physicalHeightMm();
    heightMm_ = hmm;
    if (wmm > 0) {
        factorX_ = canvas.pageWidth() * 10 / wmm;
        exactX_ = canvas.pageWidth() * 10.0 / wmm;
    }
    if (hmm > 0) {
        factorY_ = canvas.pageHeight() * 10 / hmm;
        exactY_ = canvas.pageHeight() * 10.0 / hmm;
    }
}

int PageGeometry::pageEndY(int reserveMm) const { return (heightMm_ - reserveMm) / 10 * factorY_; }

int PageGeometry::linePitch(const Canvas& canvas, const QString& sample, int extra)
{
    return canvas.textHeight(sample) + extra;
}

}  // namespace selvar
