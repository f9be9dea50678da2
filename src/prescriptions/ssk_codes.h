#pragma once
// The codes of SSK prescriptions: the dosage form read from a product code, the status,
// relationship and country lists of the registration window, and the product code
// printed for a line.
#include <QString>
#include <QStringList>

namespace selvar {

// The form of a product code of more than 11 digits, from its 8th and 9th digits
// ("8699123340015" -> "KREM"); empty for any other code.
QString dosageForm(const QString& productCode);

// The product code printed for a line: ILACKOD when it holds digits only, else the first
// 13 characters of the product's name.
QString printedProductCode(const QString& productCode, const QString& productName);

// "1-Çalışan Sigortalı" ... "8-Muaf  (Yurtdışı Sig.lı)": DURUM_KOD is the first character.
const QStringList& sskStatusItems();
// "0-Kendisi / Sigortalı " ... "6-Ana": YAKINLIK_KOD is the first character.
const QStringList& sskRelationshipItems();
// "01-Almanya" ... "09-Kıbrıs": ULKE_KOD is the first two characters.
const QStringList& sskCountryItems();
// The item of a list whose code (its first `codeLength` characters) is `code`; empty when none.
QString sskItemOf(const QStringList& items, const QString& code, int codeLength = 1);

}  // namespace selvar
