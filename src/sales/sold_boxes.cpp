#include "sales/sold_boxes.h"

#include "core/dates.h"
#include "data/database.h"
#include "data/errors.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/prompter.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
// KAREKOD's direction: sold or received.
QString direction(BoxList list) { return list == BoxList::Purchase ? u"A"_s : u"S"_s; }
// KAREKODTMP's mark of the working list a box belongs to.
QString workingTag(BoxList list)
{
    return list == BoxList::Sale ? u"S"_s : (list == BoxList::SskSale ? u"R"_s : u"A"_s);
}
QString workingLines(BoxList list)
{
    return list == BoxList::Sale ? u"SATEMP"_s : (list == BoxList::SskSale ? u"SATEMSSK"_s : u"ALISTEMP"_s);
}
QVariant orNull(const QString& s) { return s.isEmpty() ? QVariant() : QVariant(s); }
}  // namespace

QString boxRefusal(Database& db, BoxList list, qint64 productNo, const Gs1Box& box)
{
    const QString key = serialKey(box.serial);
    if (key.isEmpty()) return {};  // a code without a serial says nothing about the box
    const bool sale = list != BoxList::Purchase;
    if (!Sql::scalar(db, u"SELECT 1 FROM KAREKODTMP WHERE URUNO = :u AND SERIANAH = :k AND YON = :y LIMIT 1"_s,
                     {{u"u"_s, productNo}, {u"k"_s, key}, {u"y"_s, workingTag(list)}})
             .isNull())
        return (sale ? u"Bu kutu zaten satış listesinde (Seri No: "_s : u"Bu kutu zaten alış listesinde (Seri No: "_s)
               + box.serial + u")."_s;
    return recordedRefusal(db, list, productNo, box.serial);
}

QString recordedRefusal(Database& db, BoxList list, qint64 productNo, const QString& serial)
{
    const QString key = serialKey(serial);
    if (key.isEmpty()) return {};
    const bool sale = list != BoxList::Purchase;
    const Gs1Box box{{}, serial, {}, {}, {}};
    // Through the index of product, serial and direction.
    if (const qint64 row = findKeyRow(db, u"KAREKOD"_s, u"KRKSERI"_s, {productNo, key, direction(list)})) {
        const QVariantMap done = readRecord(db, u"KAREKOD"_s, row);
        const QString number = QString::number(qint64(done.value(u"BELGENO"_s).toDouble()));
        const QString date = dateText(done.value(u"TARIH"_s).toDateTime().date());
        if (sale)
            return u"Bu kutu daha önce satıldı: Satış No "_s + number + u", "_s + date + u" (Seri No: "_s + box.serial
                   + u"). Aynı kutu iki kez satılamaz."_s;
        return u"Bu kutu daha önce alındı: Alış No "_s + number + u", "_s + date + u" (Seri No: "_s + box.serial
               + u"). Aynı kutu iki kez alınamaz."_s;
    }
    return {};
}

void keepBox(Database& db, BoxList list, qint64 productNo, const Gs1Box& box)
{
    if (box.serial.isEmpty()) return;
    Sql::run(db, u"INSERT INTO KAREKODTMP (URUNO, SERINO, SERIANAH, PARTI, MIAD, YON) VALUES (:u, :s, :k, :p, :m, :y)"_s,
             {{u"u"_s, productNo}, {u"s"_s, box.serial.left(20)}, {u"k"_s, serialKey(box.serial).left(20)},
              {u"p"_s, orNull(box.batch.left(20))}, {u"m"_s, box.expiry.isValid() ? QVariant(box.expiry) : QVariant()},
              {u"y"_s, workingTag(list)}});
}

bool boxRefused(Database& db, Prompter& prompter, BoxList list, qint64 productNo, const std::optional<Gs1Box>& box)
{
    if (!box) return false;
    const QString refused = boxRefusal(db, list, productNo, *box);
    if (refused.isEmpty()) return false;
    prompter.beep();
    prompter.warning(refused);
    return true;
}

QList<Gs1Box> admitBoxes(Database& db, Prompter& prompter, BoxList list, qint64 productNo,
                         const std::optional<Gs1Box>& first, const QList<Gs1Box>& more, qint64& quantity)
{
    QList<Gs1Box> boxes;
    if (first) boxes << *first;
    for (const Gs1Box& box : more) {
        QString refused;
        for (const Gs1Box& b : boxes)
            if (!box.serial.isEmpty() && serialKey(b.serial) == serialKey(box.serial))
                refused = (list != BoxList::Purchase ? u"Bu kutu zaten satış listesinde (Seri No: "_s
                                                 : u"Bu kutu zaten alış listesinde (Seri No: "_s)
                          + box.serial + u")."_s;
        if (refused.isEmpty()) refused = boxRefusal(db, list, productNo, box);
        if (refused.isEmpty()) {
            boxes << box;
            continue;
        }
        prompter.beep();
        prompter.warning(refused);
        --quantity;
    }
    return boxes;
}

void dropBoxesWithoutLine(Database& db, BoxList list)
{
    Sql::run(db, u"DELETE FROM KAREKODTMP WHERE YON = :y AND URUNO NOT IN (SELECT URUNO FROM "_s + workingLines(list)
                     + u" WHERE URUNO IS NOT NULL)"_s,
             {{u"y"_s, workingTag(list)}});
}

void dropWorkingBoxes(Database& db, BoxList list)
{
    Sql::run(db, u"DELETE FROM KAREKODTMP WHERE YON = :y"_s, {{u"y"_s, workingTag(list)}});
}

void recordBoxes(Database& db, BoxList list, double documentNo, const QHash<qint64, int>& lineOfProduct,
                 const QDateTime& when)
{
    struct Box {
        qint64 product;
        QString serial, key, batch;
        QVariant expiry;
    };
    QList<Box> boxes;
    {
        Sql q(db, u"SELECT URUNO, SERINO, SERIANAH, PARTI, MIAD FROM KAREKODTMP WHERE YON = :y"_s);
        q.bind(u"y"_s, workingTag(list)).exec();
        while (q.next())
            boxes << Box{q.integer(0), q.text(1), q.text(2), q.text(3), q.isNull(4) ? QVariant() : QVariant(q.date(4))};
    }
    Sql insert(db, u"INSERT INTO KAREKOD (ILACNO, SERINO, SERIANAH, PARTI, MIAD, BELGENO, SIRANO, TARIH, YON) "
                   u"VALUES (:i, :s, :k, :p, :m, :n, :l, :t, :y)"_s);
    for (const Box& b : boxes) {
        const int line = lineOfProduct.value(b.product);
        if (line == 0) continue;  // its line left the list
        // Another workstation may have recorded the same box since it was scanned here.
        if (const QString refused = recordedRefusal(db, list, b.product, b.serial); !refused.isEmpty())
            throw DbError(refused);
        insert.bind(u"i"_s, b.product).bind(u"s"_s, b.serial).bind(u"k"_s, b.key).bind(u"p"_s, orNull(b.batch));
        insert.bind(u"m"_s, b.expiry).bind(u"n"_s, documentNo).bind(u"l"_s, line).bind(u"t"_s, when);
        insert.bind(u"y"_s, direction(list)).exec();
    }
    dropWorkingBoxes(db, list);
}

void releaseBoxes(Database& db, BoxList list, double documentNo)
{
    Sql::run(db, u"DELETE FROM KAREKOD WHERE BELGENO = :n AND YON = :y"_s, {{u"n"_s, documentNo}, {u"y"_s, direction(list)}});
}

void loadBoxes(Database& db, BoxList list, double documentNo)
{
    Sql::run(db, u"INSERT INTO KAREKODTMP (URUNO, SERINO, SERIANAH, PARTI, MIAD, YON) SELECT ILACNO, SERINO, SERIANAH, "
                 u"PARTI, MIAD, :t FROM KAREKOD WHERE BELGENO = :n AND YON = :y"_s,
             {{u"n"_s, documentNo}, {u"y"_s, direction(list)}, {u"t"_s, workingTag(list)}});
}

void addDemoBoxes(Database& db)
{
    Sql q(db, u"SELECT s.ILACNO, s.SATISNO, s.SIRANOURUN, s.SATARIH FROM SATIS s JOIN URUN u ON u.ILACNO = s.ILACNO "
              u"WHERE u.ILACAD = 'PARANOL 5 MG 20 TABLET' ORDER BY s.SATARIH DESC LIMIT 1"_s);
    q.exec();
    if (!q.next()) return;
    Gs1Box box;
    box.serial = u"SN4KX9Q2M0"_s;
    box.batch = u"7A24"_s;
    box.expiry = QDate(2028, 10, 24);
    Sql::run(db, u"INSERT INTO KAREKOD (ILACNO, SERINO, SERIANAH, PARTI, MIAD, BELGENO, SIRANO, TARIH, YON) "
                 u"VALUES (:i, :s, :k, :p, :m, :n, :l, :t, 'S')"_s,
             {{u"i"_s, q.integer(0)}, {u"s"_s, box.serial}, {u"k"_s, serialKey(box.serial)}, {u"p"_s, box.batch},
              {u"m"_s, box.expiry}, {u"n"_s, q.number(1)}, {u"l"_s, q.integer(2)}, {u"t"_s, q.timestamp(3)}});
}

}  // namespace selvar
