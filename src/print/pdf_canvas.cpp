#include "print/pdf_canvas.h"

#include "print/render.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QString printDirectory()
{
    const QString dir = qEnvironmentVariable("SELVAR_PRINT_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) return {};
    return QDir(dir).absolutePath();
}

QString jobFileStem(const QString& title)
{
    QString s;
    for (QChar c : title) s += (c.unicode() < 32 || u"/\\:*?\"<>|"_s.contains(c)) ? u'_' : c;
    s = s.trimmed();
    while (s.startsWith(u'.')) s.remove(0, 1);
    return s.isEmpty() ? u"SELVAR"_s : s;
}

PdfCanvas::PdfCanvas(const QString& directory, const PageSetup& setup, int dpi)
    : Canvas(PageFormat::forSetup(setup, dpi, BorderMm), Metrics::Fonts), dir_(directory)
{
}

bool PdfCanvas::deliver(const Document& document)
{
    const QString stem = jobFileStem(document.title);
    QDir dir(dir_);
    // The running number is the first one free; opening with NewOnly keeps two jobs
    // finishing at once from taking the same name.
    QFile file;
    for (int n = 1;; ++n) {
        const QString name = stem + u'-' + QString::number(n).rightJustified(4, u'0') + u".pdf"_s;
        file.setFileName(dir.filePath(name));
        if (file.exists()) continue;
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) break;
        if (!file.exists()) return false;  // the directory refuses new files
    }
    const PageFormat& f = document.format;
    const bool landscape = f.orientation == Orientation::Landscape;
    const QSizeF upright = landscape ? f.paperMm.transposed() : f.paperMm;
    {
        QPdfWriter writer(&file);
        writer.setResolution(f.dpi);
        writer.setTitle(document.title);
        writer.setCreator(u"SELVAR"_s);
        writer.setPageLayout(QPageLayout(QPageSize(upright, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                                         landscape ? QPageLayout::Landscape : QPageLayout::Portrait, f.marginsMm,
                                         QPageLayout::Millimeter));
        if (!renderDocument(writer, document)) {
            file.remove();
            return false;
        }
    }
    file.close();
    path_ = file.fileName();
    return true;
}

}  // namespace selvar
