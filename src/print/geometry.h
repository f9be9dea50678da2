#pragma once
// The layout arithmetic of the printouts, taken from the canvas so that the same code
// places its texts on paper, in PDF files and in the test recorder alike.
#include <QString>

namespace selvar {

class Canvas;

class PageGeometry {
public:
    explicit PageGeometry(const Canvas& canvas);

    // Pixels per centimetre: page width (height) in pixels × 10 / physical width (height)
    // in millimetres, in whole pixels as the layout tables expect.
    int factorX() const { return factorX_; }
    int factorY() const { return factorY_; }
    // The same without rounding.
    double pixelsPerCmX() const { return exactX_; }
    double pixelsPerCmY() const { return exactY_; }

    // A position of `mm` millimetres: mm × factor / 10 pixels, in whole pixels.
    int mmX(int mm) const { return mm * factorX_ / 10; }
    int mmY(int mm) const { return mm * factorY_ / 10; }
    // A margin of whole centimetres.
    int cmX(int cm) const { return cm * factorX_; }
    int cmY(int cm) const { return cm * factorY_; }

    // Where the lines of a page end: the physical page height less `reserveMm`, in whole
    // centimetres, in pixels.
    int pageEndY(int reserveMm) const;

    // Line pitch: the height of `sample` in the canvas's current font plus `extra` pixels.
    static int linePitch(const Canvas& canvas, const QString& sample, int extra);

private:
    int factorX_ = 0, factorY_ = 0;
    double exactX_ = 0, exactY_ = 0;
    int heightMm_ = 0;
};

}  // namespace selvar
