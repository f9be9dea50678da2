#pragma once
// The layouts of the defined prescription back-print (recarka.db): one row per
// institution and patient type with the font, the margin, nine prescription fields and
// eight product columns.
#include <QList>
#include <QString>
#include <array>
#include <optional>
#include <utility>

namespace selvar {

class Database;

struct LayoutField {
    QString chosen;   // ALANn: what the user picked, in words
    QString caption;  // CAPTIONn: printed before the value
    QString data;     // DATAn: the data field printed
    int width = 0;    // GENISn, mm

    bool operator==(const LayoutField&) const = default;
};

struct BackPrintLayout {
    static constexpr int FieldCount = 9;
    static constexpr int ColumnCount = 8;

    QString institution;  // KURUMKOD
    QString patientType;  // HASTATIP
    QString fontName;
    int fontSize = 10;
    QString style = QStringLiteral("R");
    qint64 color = 0;
    int margin = 0;
    std::array<LayoutField, FieldCount> fields;
    std::array<LayoutField, ColumnCount> columns;
    QString totalWording;  // TOPVERNE: "", "E", "H", "K"
    bool productLines = true;  // ILACVARMI "H" = no product lines

    bool operator==(const BackPrintLayout&) const = default;
};

std::optional<BackPrintLayout> loadLayout(Database& db, const QString& institution, const QString& patientType);
void saveLayout(Database& db, const BackPrintLayout& layout);
void deleteLayout(Database& db, const QString& institution, const QString& patientType);

// The data fields a layout may print, with their meaning.
using DataField = std::pair<QString, QString>;
const QList<DataField>& prescriptionDataFields();
const QList<DataField>& productDataFields();
QString dataFieldMeaning(const QString& name);  // empty when not a known field

}  // namespace selvar
