#include "print/ui/desktop_print_service.h"

#include "print/ui/font_dialog.h"
#include "print/pdf_canvas.h"
#include "print/ui/preview_window.h"
#include "print/ui/printer_canvas.h"

#include <QPrintDialog>
#include <QPrinter>

namespace selvar {

DesktopPrintService::DesktopPrintService(QWidget* dialogParent) : parent_(dialogParent) {}

DesktopPrintService::~DesktopPrintService() = default;

QPrinter& DesktopPrintService::printer()
{
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

std::unique_ptr<Canvas> DesktopPrintService::beginJob(const QString& title, const PageSetup& setup, bool askPrinter)
{
    std::unique_ptr<Canvas> canvas;
    const QString dir = printDirectory();
    if (!dir.isEmpty()) {
        canvas = std::make_unique<PdfCanvas>(dir, setup);
    } else {
        QPrinter& p = printer();
        if (askPrinter) {
            PrinterCanvas::applySetup(p, setup);
            QPrintDialog dialog(&p, parent_);
            dialog.setWindowTitle(QStringLiteral("Yazdır"));
            if (dialog.exec() != QDialog::Accepted) return nullptr;
        }
        p.setDocName(title);
        // The printout's own page setup wins over what the dialog showed, as the layout
        // tables were measured for it.
        canvas = std::make_unique<PrinterCanvas>(p, setup);
    }
    if (setup.font) canvas->setFont(*setup.font);
    canvas->beginDocument(title);
    return canvas;
}

void DesktopPrintService::preview(const QString& title, const PageSetup& setup, const DrawFunction& draw)
{
    PreviewWindow window(*this, title, setup, draw, parent_);
    window.exec();
}

std::optional<FontDef> DesktopPrintService::chooseFont(const FontDef& current, FontChoice choice)
{
    return ReportFontDialog::getFont(parent_, current, choice == FontChoice::FixedPitch);
}

}  // namespace selvar
