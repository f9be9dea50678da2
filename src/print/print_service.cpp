#include "print/print_service.h"

#include "print/report.h"

namespace selvar {

bool PrintService::print(const QString& title, const PageSetup& setup, const DrawFunction& draw, bool askPrinter)
{
    std::unique_ptr<Canvas> canvas = beginJob(title, setup, askPrinter);
    if (!canvas) return false;
    draw(*canvas);
    return canvas->endDocument();
}

bool PrintService::print(report::Report& r, bool askPrinter)
{
    return print(r.title, r.setup, [&r](Canvas& c) { r.render(c); }, askPrinter);
}

void PrintService::preview(report::Report& r)
{
    preview(r.title, r.setup, [&r](Canvas& c) { r.render(c); });
}

class RecordingPrintService::JobCanvas final : public Canvas {
public:
    JobCanvas(RecordingPrintService& owner, const PageFormat& f, Metrics m, const PageSetup& setup, bool asked)
        : Canvas(f, m), owner_(owner), setup_(setup), asked_(asked) {}

protected:
    bool deliver(const Document& d) override
    {
        owner_.jobs_.push_back(Job{d, setup_, asked_});
        return true;
    }

private:
    RecordingPrintService& owner_;
    PageSetup setup_;
    bool asked_;
};

std::unique_ptr<Canvas> RecordingPrintService::beginJob(const QString& title, const PageSetup& setup, bool askPrinter)
{
    if (askPrinter) {
        ++printDialogs_;
        bool confirm = true;
        if (!printAnswers_.empty()) {
            confirm = printAnswers_.front();
            printAnswers_.erase(printAnswers_.begin());
        }
        if (!confirm) {
            ++cancelled_;
            return nullptr;
        }
    }
    auto canvas = std::make_unique<JobCanvas>(*this, PageFormat::forSetup(setup, dpi_), metrics_, setup, askPrinter);
    if (setup.font) canvas->setFont(*setup.font);
    canvas->beginDocument(title);
    return canvas;
}

void RecordingPrintService::preview(const QString& title, const PageSetup& setup, const DrawFunction& draw)
{
    RecordingCanvas canvas(PageFormat::forSetup(setup, dpi_), metrics_);
    if (setup.font) canvas.setFont(*setup.font);
    canvas.beginDocument(title);
    draw(canvas);
    canvas.endDocument();
    previews_.push_back(canvas.document());
    if (printFromPreview_) {
        printFromPreview_ = false;
        print(title, setup, draw, true);
    }
}

std::optional<FontDef> RecordingPrintService::chooseFont(const FontDef& current, FontChoice choice)
{
    fontRequests_.push_back(FontRequest{current, choice});
    if (fontAnswers_.empty()) return std::nullopt;
    const FontAnswer a = fontAnswers_.front();
    fontAnswers_.erase(fontAnswers_.begin());
    if (!a.chosen) return std::nullopt;
    return a.font;
}

void RecordingPrintService::clear()
{
    jobs_.clear();
    previews_.clear();
    fontRequests_.clear();
    printDialogs_ = 0;
    cancelled_ = 0;
}

}  // namespace selvar
