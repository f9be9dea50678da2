#pragma once
// The program's fixed locale: Turkish separators, lira after the amount, no decimals.
#include <QChar>
#include <QString>

namespace selvar::locale {
inline constexpr QChar ThousandSeparator = u'.';
inline constexpr QChar DecimalSeparator = u',';
inline constexpr QChar DateSeparator = u'.';
inline constexpr QChar TimeSeparator = u':';
inline const QString CurrencyText = QStringLiteral("TL");
inline constexpr int CurrencyDecimals = 0;
inline const QString ShortDateFormat = QStringLiteral("dd.MM.yyyy");
inline const QString ShortTimeFormat = QStringLiteral("HH:mm");
}  // namespace selvar::locale
