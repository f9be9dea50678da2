#pragma once
// The preview window "Ön görünüm": the pages of a printout on screen with page
// navigation, zoom and printing. The printout is drawn once for the screen and again on
// the printer's canvas when it is printed from here.
#include "print/print_service.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QScrollArea;

namespace selvar {

class PreviewPage;

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    // The screen pages measure as a PDF page does: the setup's paper with a printer's border.
    PreviewWindow(PrintService& printing, const QString& title, const PageSetup& setup, DrawFunction draw,
                  QWidget* parent = nullptr);
    ~PreviewWindow() override;

    const Document& document() const { return document_; }
    int pageIndex() const { return page_; }
    int pageCount() const { return document_.pageCount(); }
    double zoom() const { return zoom_; }  // 1.0 is the paper's real size on the screen

    void showPage(int index);
    void setZoom(double zoom);
    void fitWidth();
    void fitPage();
    // Prints through the service (print dialog first); false when cancelled or failed.
    bool printDocument();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum class Fit { None, Width, Page };
    void applyZoom(double zoom, Fit fit);
    void refit();
    void updateControls();
    QPushButton* button(const QString& text, const char* name, const QString& tip);

    PrintService& printing_;
    QString title_;
    PageSetup setup_;
    DrawFunction draw_;
    Document document_;
    int page_ = 0;
    double zoom_ = 1.0;
    Fit fit_ = Fit::Width;

    QScrollArea* scroll_ = nullptr;
    PreviewPage* view_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QPushButton *first_ = nullptr, *prev_ = nullptr, *next_ = nullptr, *last_ = nullptr;
};

}  // namespace selvar
