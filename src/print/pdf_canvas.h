#pragma once
// Printing into PDF files: with SELVAR_PRINT_DIR naming a directory every job is written
// there instead of going to a printer, named after its title and a running number.
#include "print/canvas.h"

namespace selvar {

// The directory SELVAR_PRINT_DIR names when it exists; empty otherwise.
QString printDirectory();

// The title made fit for a file name: characters a file system refuses become "_".
QString jobFileStem(const QString& title);

class PdfCanvas : public Canvas {
public:
    // An unprintable border like a laser printer's, so that what starts at (0,0) lands
    // where it would on paper.
    static constexpr double BorderMm = 5.0;

    PdfCanvas(const QString& directory, const PageSetup& setup, int dpi = 600);

    // The file written when the document ended; empty before, or when writing failed.
    QString filePath() const { return path_; }

protected:
    bool deliver(const Document& document) override;

private:
    QString dir_;
    QString path_;
};

}  // namespace selvar
