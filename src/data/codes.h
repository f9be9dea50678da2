#pragma once
// Codes shared by many windows: prescription types of products and sale lines, patient
// classes, account-movement kinds and purchase discount types.
#include <QString>
#include <QStringList>

namespace selvar {

// N Y K R A S O I B H L U, in the order of the twelve-item radio group.
const QStringList& prescriptionTypeCodes();
// "Normal", "Yeşil", ... as the product list shows them; empty for an unknown code.
QString prescriptionTypeText(const QString& code);
// "&Normal", "&Yeşil Reçeteli", ... the captions of the line radio group.
QString prescriptionTypeCaption(const QString& code);

// Account-movement kinds of HAREKET.TUR: "ALIMLAR", "DİĞER", ...
QString movementKindText(const QString& kind);
// "Son Durum" of a movement by its kind, NIHAI and BORC: "Açık", "Kapatıldı", "Senet
// Ödendi", "Karşılıksız Çek" ...; nothing for cash.
QString movementStateText(const QString& kind, int state, double debit);

// Purchase discount types "0".."8": short grid label, long choice caption, price label.
QString discountTypeShort(const QString& code);
QString discountTypeLong(const QString& code);      // "&1.Sabit Depo İsk.lu" (purchase invoice captions)
QString discountTypeCaption(int index);              // the product values dialog's captions
QString discountTypePriceLabel(int index);           // "Etiket Fi&yatı", "Depocu Fi&yatı", "D.Kdvsiz Fi&yatı"

}  // namespace selvar
