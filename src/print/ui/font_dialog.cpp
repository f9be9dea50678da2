#include "print/ui/font_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
// The sixteen colours a printer font could be given.
struct NamedColor {
    const char16_t* name;
    QRgb rgb;
};
constexpr NamedColor Colors[] = {
    {u"Siyah", 0x000000}, {u"Bordo", 0x800000}, {u"Yeşil", 0x008000}, {u"Zeytin Yeşili", 0x808000},
    {u"Lacivert", 0x000080}, {u"Mor", 0x800080}, {u"Deniz Mavisi", 0x008080}, {u"Gri", 0x808080},
    {u"Gümüş", 0xC0C0C0}, {u"Kırmızı", 0xFF0000}, {u"Limon Yeşili", 0x00FF00}, {u"Sarı", 0xFFFF00},
    {u"Mavi", 0x0000FF}, {u"Fuşya", 0xFF00FF}, {u"Su Mavisi", 0x00FFFF}, {u"Beyaz", 0xFFFFFF},
};

QIcon swatch(const QColor& c)
{
    QPixmap pm(16, 12);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 11);
    return QIcon(pm);
}
}  // namespace

ReportFontDialog::ReportFontDialog(const FontDef& current, bool fixedPitchOnly, QWidget* parent)
    : QDialog(parent), fixedPitchOnly_(fixedPitchOnly)
{
    setWindowTitle(u"Yazı Tipi"_s);
    setObjectName(u"ReportFontDialog"_s);

    picker_ = new QFontDialog(this);
    picker_->setObjectName(u"fontPicker"_s);
    picker_->setWindowFlags(Qt::Widget);
    QFontDialog::FontDialogOptions options = QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog;
    if (fixedPitchOnly) options |= QFontDialog::MonospacedFonts;
    picker_->setOptions(options);
    QFont f(current.family);
    f.setPointSize(current.size > 0 ? current.size : 10);
    f.setBold(current.bold);
    f.setItalic(current.italic);
    f.setUnderline(current.underline);
    f.setStrikeOut(current.strikeOut);
    picker_->setCurrentFont(f);

    colors_ = new QComboBox(this);
    colors_->setObjectName(u"colorBox"_s);
    int chosen = -1;
    for (const NamedColor& c : Colors) {
        const QColor color = QColor::fromRgb(c.rgb);
        colors_->addItem(swatch(color), QString::fromUtf16(c.name), color);
        if (color.rgb() == current.color.rgb()) chosen = colors_->count() - 1;
    }
    if (chosen < 0) {
        colors_->addItem(swatch(current.color), u"Özel"_s, current.color);
        chosen = colors_->count() - 1;
    }
    colors_->setCurrentIndex(chosen);
    auto* colorLabel = new QLabel(u"&Renk:"_s, this);
    colorLabel->setBuddy(colors_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"Tamam"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"İptal"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(colors_);
    colorRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picker_);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
    picker_->setVisible(true);
}

FontDef ReportFontDialog::selectedFont() const
{
    return fromQFont(picker_->currentFont(), colors_->currentData().value<QColor>());
}

std::optional<FontDef> ReportFontDialog::getFont(QWidget* parent, const FontDef& current, bool fixedPitchOnly)
{
    ReportFontDialog d(current, fixedPitchOnly, parent);
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    return d.selectedFont();
}

}  // namespace selvar
