#pragma once
#include <QString>

namespace selvar {
// The amount in words printed on invoices, upper case, words joined without blanks:
// 1.234.567 -> "BİRMİLYONİKİYÜZOTUZDÖRTBİNBEŞYÜZALTMIŞYEDİ". Only the integer part
// (rounded as the currency format rounds) is spelled.
QString amountInWords(double amount);
}
