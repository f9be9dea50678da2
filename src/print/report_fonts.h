#pragma once
// Report fonts of FONT.DB: one row per report under its key word (BIRIM) with the font,
// its colour, one style letter and the report's left margin.
//
// Style letters: "R" regular, "B" bold, "I" italic, "U" underline, "C" bold italic,
// "E" bold underline, "L" italic underline, "3" bold italic underline. Strike-out has no
// letter and is dropped. The same letters are used by the back-print tables.
#include "print/font.h"

#include <QString>
#include <optional>

namespace selvar {

class Database;

QString styleLetter(const FontDef& font);
// Sets bold, italic and underline from a letter; an unknown or empty letter is regular.
void applyStyleLetter(FontDef& font, const QString& letter);

struct ReportFontRow {
    FontDef font;
    int margin = 0;  // MARJIN as stored; its unit is the report's (cm or mm)
};

std::optional<ReportFontRow> readReportFont(Database& db, const QString& key);

// What a report window does when it opens: applies the row of `key` to the report's
// font and margin. Without a row both stay as they are; a stored name, size or margin of
// 0 or less keeps the report's own. True when a row was found.
bool loadReportFont(Database& db, const QString& key, FontDef& font, int& margin);

// What it does when it closes after the font dialog was used: writes name, size, colour
// and style letter, and the margin when one is given that is not negative; a missing
// row is appended.
void saveReportFont(Database& db, const QString& key, const FontDef& font, std::optional<int> margin);

}  // namespace selvar
