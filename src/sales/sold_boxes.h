#pragma once
// The boxes scanned from their DataMatrix into a sale or a purchase: kept with the
// working list while it is entered, written with the document's lines when it is recorded
// (a box is sold once, and received once), released again when the document is corrected
// or deleted. Every function that writes runs inside the caller's transaction.
#include "core/gs1.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace selvar {

class Database;
class Prompter;

// The working lists: the retail sale window's, the SSK sale window's and the purchase's.
enum class BoxList { Sale, SskSale, Purchase };

// Why the box cannot go into the list (already in it, or sold and not given back /
// received before); empty when it can.
QString boxRefusal(Database& db, BoxList list, qint64 productNo, const Gs1Box& box);
// The scanned box that found the product, checked before its values dialog opens: true
// (after the message and a beep) when it cannot go into the list.
bool boxRefused(Database& db, Prompter& prompter, BoxList list, qint64 productNo, const std::optional<Gs1Box>& box);
void keepBox(Database& db, BoxList list, qint64 productNo, const Gs1Box& box);
// Only the recorded documents: why the box was already sold (received); empty when not.
QString recordedRefusal(Database& db, BoxList list, qint64 productNo, const QString& serial);
// The boxes of one line being added: the one its product was found by and those scanned in
// the values dialog. A box that cannot go in is said (with a beep) and is one unit less
// of `quantity`; the others are returned, to be kept once the line is in the list.
QList<Gs1Box> admitBoxes(Database& db, Prompter& prompter, BoxList list, qint64 productNo,
                         const std::optional<Gs1Box>& first, const QList<Gs1Box>& more, qint64& quantity);
// A product whose line left the working list takes its boxes along.
void dropBoxesWithoutLine(Database& db, BoxList list);
void dropWorkingBoxes(Database& db, BoxList list);
// The working list's boxes become the document's, each tied to its product's line.
void recordBoxes(Database& db, BoxList list, double documentNo, const QHash<qint64, int>& lineOfProduct,
                 const QDateTime& when);
// A corrected or deleted document gives its boxes free again.
void releaseBoxes(Database& db, BoxList list, double documentNo);
// An old document loaded for correction brings its boxes into the working list.
void loadBoxes(Database& db, BoxList list, double documentNo);

// The demo: the box SN4KX9Q2M0 of "PARANOL 5 MG 20 TABLET" went with its latest sale, so
// scanning it shows the refusal.
void addDemoBoxes(Database& db);

}  // namespace selvar
