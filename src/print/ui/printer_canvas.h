#pragma once
// The printer as a canvas: its resolution and printable area give the page, and the
// document is printed when it ends.
#include "print/canvas.h"

class QPrinter;

namespace selvar {

class PrinterCanvas : public Canvas {
public:
    // The printer as chosen in the print dialog; the setup is applied to it first.
    PrinterCanvas(QPrinter& printer, const PageSetup& setup);

    static void applySetup(QPrinter& printer, const PageSetup& setup);
    static PageFormat formatOf(const QPrinter& printer);

protected:
    bool deliver(const Document& document) override;

private:
    QPrinter& printer_;
};

}  // namespace selvar
