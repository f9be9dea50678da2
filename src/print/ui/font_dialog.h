#pragma once
// The font dialog of the "Yazıcı Fontu" and "Yazı Fontu" buttons: family, style, size,
// underline and strike-out, and a colour. Lists that must keep their columns ask for the
// fixed-pitch variant, which offers fixed-pitch families only.
#include "print/font.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QFontDialog;

namespace selvar {

class ReportFontDialog : public QDialog {
    Q_OBJECT
public:
    ReportFontDialog(const FontDef& current, bool fixedPitchOnly, QWidget* parent = nullptr);

    FontDef selectedFont() const;
    bool fixedPitchOnly() const { return fixedPitchOnly_; }
    QFontDialog* fontPicker() const { return picker_; }
    QComboBox* colorBox() const { return colors_; }

    static std::optional<FontDef> getFont(QWidget* parent, const FontDef& current, bool fixedPitchOnly);

private:
    QFontDialog* picker_;
    QComboBox* colors_;
    bool fixedPitchOnly_;
};

}  // namespace selvar
