#pragma once
// The print service of the program: the print dialog and the printer, or PDF files in the
// directory SELVAR_PRINT_DIR names; the preview window; the font dialog.
#include "print/print_service.h"

#include <memory>

class QPrinter;
class QWidget;

namespace selvar {

class DesktopPrintService final : public PrintService {
public:
    explicit DesktopPrintService(QWidget* dialogParent = nullptr);
    ~DesktopPrintService() override;

    std::unique_ptr<Canvas> beginJob(const QString& title, const PageSetup& setup, bool askPrinter) override;
    void preview(const QString& title, const PageSetup& setup, const DrawFunction& draw) override;
    std::optional<FontDef> chooseFont(const FontDef& current, FontChoice choice) override;
    using PrintService::preview;

    void setDialogParent(QWidget* parent) { parent_ = parent; }
    // The printer of the run: the choice of the last print dialog is kept for the next job.
    QPrinter& printer();

private:
    QWidget* parent_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace selvar
