#pragma once
// The one way the program prints. A window asks for a job and draws on the canvas it
// gets, or hands over a report; the service decides where it goes: the printer chosen in
// the print dialog, PDF files when the program prints to files, or the recorder of tests.
//
//   auto canvas = session.print->beginJob(u"SATIŞLAR LİSTESİ"_s, setup, true);
//   if (!canvas) return;            // the print dialog was cancelled
//   canvas->textOut(0, 0, ...);
//   canvas->endDocument();
//
// The desktop service lives in the widget library; RecordingPrintService is the
// service of tests.
#include "print/canvas.h"
#include "print/page_setup.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace selvar {

namespace report {
class Report;
}

// Draws a whole printout on a canvas whose document has begun (the preview calls it
// again when the person prints from there).
using DrawFunction = std::function<void(Canvas&)>;

enum class FontChoice { Any, FixedPitch };

class PrintService {
public:
    virtual ~PrintService() = default;

    // A canvas for one job with its document begun and the setup applied (paper,
    // orientation; its font as the canvas's font). With askPrinter the print dialog comes
    // first; null when it was cancelled.
    virtual std::unique_ptr<Canvas> beginJob(const QString& title, const PageSetup& setup, bool askPrinter) = 0;

    // Shows the pages `draw` produces in the preview window ("Ön görünüm"); printing from
    // there runs `draw` again on a job.
    virtual void preview(const QString& title, const PageSetup& setup, const DrawFunction& draw) = 0;

    // The font dialog of the "Yazıcı Fontu" buttons; nothing when it was cancelled.
    virtual std::optional<FontDef> chooseFont(const FontDef& current, FontChoice choice) = 0;

    // A whole printout in one call: false when the print dialog was cancelled or the
    // output failed.
    bool print(const QString& title, const PageSetup& setup, const DrawFunction& draw, bool askPrinter = true);
    bool print(report::Report& report, bool askPrinter = true);
    void preview(report::Report& report);
};

// The service of tests: jobs go to recording canvases with cell metrics, every finished
// job and every preview is kept with all its pages, and the answers of the print and font
// dialogs are queued in advance (unqueued: the print dialog is confirmed, the font
// dialog cancelled).
class RecordingPrintService final : public PrintService {
public:
    struct Job {
        Document document;
        PageSetup setup;
        bool askedPrinter = false;
    };
    struct FontRequest {
        FontDef current;
        FontChoice choice;
    };

    explicit RecordingPrintService(int dpi = 600, Metrics metrics = Metrics::Cells) : dpi_(dpi), metrics_(metrics) {}

    std::unique_ptr<Canvas> beginJob(const QString& title, const PageSetup& setup, bool askPrinter) override;
    void preview(const QString& title, const PageSetup& setup, const DrawFunction& draw) override;
    std::optional<FontDef> chooseFont(const FontDef& current, FontChoice choice) override;
    using PrintService::preview;

    void answerPrintDialog(bool confirm) { printAnswers_.push_back(confirm); }
    void answerFontDialog(const FontDef& font) { fontAnswers_.push_back(FontAnswer{true, font}); }
    void cancelFontDialog() { fontAnswers_.push_back(FontAnswer{false, FontDef()}); }
    // The next preview is printed from the preview window, as if "Yazdır" was pressed.
    void printFromNextPreview() { printFromPreview_ = true; }

    const std::vector<Job>& jobs() const { return jobs_; }   // finished jobs, in order
    const Job& lastJob() const { return jobs_.back(); }
    const std::vector<Document>& previews() const { return previews_; }
    const std::vector<FontRequest>& fontRequests() const { return fontRequests_; }
    int printDialogs() const { return printDialogs_; }
    int cancelledJobs() const { return cancelled_; }
    void clear();

private:
    class JobCanvas;
    int dpi_;
    Metrics metrics_;
    std::vector<bool> printAnswers_;
    struct FontAnswer {
        bool chosen;
        FontDef font;
    };
    std::vector<FontAnswer> fontAnswers_;
    bool printFromPreview_ = false;
    std::vector<Job> jobs_;
    std::vector<Document> previews_;
    std::vector<FontRequest> fontRequests_;
    int printDialogs_ = 0;
    int cancelled_ = 0;
};

}  // namespace selvar
