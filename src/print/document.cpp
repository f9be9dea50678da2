#include "print/document.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace selvar {

int cellWidth(const FontDef& font, int dpi) { return std::max(1, int(std::lround(font.size * dpi / 120.0))); }

int cellHeight(const FontDef& font, int dpi) { return std::max(1, int(std::lround(font.size * dpi / 60.0))); }

std::vector<TextItem> DocumentPage::texts() const
{
    std::vector<TextItem> r;
    for (const PageItem& item : items)
        if (const auto* t = std::get_if<TextItem>(&item)) r.push_back(*t);
    return r;
}

int DocumentPage::lineCount() const
{
    int n = 0;
    for (const PageItem& item : items)
        if (!std::holds_alternative<TextItem>(item)) ++n;
    return n;
}

bool Document::isEmpty() const
{
    return std::all_of(pages.begin(), pages.end(), [](const DocumentPage& p) { return p.items.empty(); });
}

QStringList Document::lines(int pageIndex) const
{
    QStringList out;
    if (pageIndex < 0 || pageIndex >= pageCount()) return out;
    std::map<int, std::vector<TextItem>> byTop;
    for (const TextItem& t : pages[size_t(pageIndex)].texts()) byTop[t.y].push_back(t);
    for (auto& [y, pieces] : byTop) {
        std::stable_sort(pieces.begin(), pieces.end(), [](const TextItem& a, const TextItem& b) { return a.x < b.x; });
        QString line;
        for (const TextItem& t : pieces) {
            const int column = int(std::lround(double(t.x) / cellWidth(t.font, format.dpi)));
            if (column > line.size()) line += QString(column - line.size(), u' ');
            line += t.text;
        }
        qsizetype n = line.size();
        while (n > 0 && line[n - 1] == u' ') --n;
        line.truncate(n);
        if (!line.isEmpty()) out << line;
    }
    return out;
}

QStringList Document::allLines() const
{
    QStringList out;
    for (int i = 0; i < pageCount(); ++i) out << lines(i);
    return out;
}

std::vector<TextItem> Document::find(int pageIndex, const QString& part) const
{
    std::vector<TextItem> r;
    if (pageIndex < 0 || pageIndex >= pageCount()) return r;
    for (const TextItem& t : pages[size_t(pageIndex)].texts())
        if (t.text.contains(part)) r.push_back(t);
    return r;
}

}  // namespace selvar
