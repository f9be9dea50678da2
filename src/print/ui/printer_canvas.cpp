#include "print/ui/printer_canvas.h"

#include "print/render.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace selvar {

namespace {
PageFormat preparedFormat(QPrinter& printer, const PageSetup& setup)
{
    PrinterCanvas::applySetup(printer, setup);
    return PrinterCanvas::formatOf(printer);
}
}  // namespace

PrinterCanvas::PrinterCanvas(QPrinter& printer, const PageSetup& setup)
    : Canvas(preparedFormat(printer, setup), Metrics::Fonts), printer_(printer)
{
}

void PrinterCanvas::applySetup(QPrinter& printer, const PageSetup& setup)
{
    const QPageSize size = setup.pageSize();
    if (size.isValid()) printer.setPageSize(size);
    if (setup.orientation)
        printer.setPageOrientation(*setup.orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                               : QPageLayout::Portrait);
}

PageFormat PrinterCanvas::formatOf(const QPrinter& printer)
{
    PageFormat f;
    f.dpi = printer.resolution();
    const QRectF mm = printer.pageRect(QPrinter::Millimeter);
    const QRectF paper = printer.paperRect(QPrinter::Millimeter);
    f.pixels = printer.pageRect(QPrinter::DevicePixel).toRect().size();
    f.millimetres = mm.size();
    f.paperMm = paper.size();
    f.marginsMm = QMarginsF(mm.left() - paper.left(), mm.top() - paper.top(), paper.right() - mm.right(),
                            paper.bottom() - mm.bottom());
    f.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? Orientation::Landscape
                                                                                 : Orientation::Portrait;
    return f;
}

bool PrinterCanvas::deliver(const Document& document)
{
    printer_.setDocName(document.title);
    return renderDocument(printer_, document);
}

}  // namespace selvar
