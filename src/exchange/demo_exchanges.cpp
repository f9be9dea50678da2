#include "exchange/demo_exchanges.h"

#include "data/database.h"
#include "data/sql.h"
#include "exchange/takas_logic.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

void addDemoExchanges(Database& db, const QDate& today)
{
    QList<std::pair<QString, double>> products;
    {
        Sql q(db, u"SELECT ILACAD, FIYAT FROM URUN WHERE FIYAT > 0 AND MIKTAR > 10 ORDER BY ILACNO LIMIT 8"_s);
        q.exec();
        while (q.next()) products << std::pair{q.text(0), q.number(1)};
    }
    if (products.size() < 8) return;
    AgreeingPrompter prompter;
    FixedClock clock(QDateTime(today, QTime(9, 0)));
    Session session(db, prompter, clock);
    TakasLogic logic(session);
    static const QStringList pharmacies{u"Şifa Eczanesi"_s, u"Çınar Eczanesi"_s, u"Güneş Eczanesi"_s, u"Işık Eczanesi"_s};
    static const QStringList types{u"A"_s, u"U"_s, u"E"_s, u"V"_s};
    for (int i = 0; i < 15; ++i) {
        const auto& [name, price] = products[i % products.size()];
        Exchange e;
        e.pharmacy = pharmacies[i % pharmacies.size()];
        e.product = name;
        e.quantity = 1 + i % 4;
        e.type = types[i % types.size()];
        // Given ones of the first weeks went at an older, lower price: the price update has
        // something to show.
        const bool old = (e.type == u"U"_s || e.type == u"V"_s) && i < 8;
        e.amount = *e.quantity * (old ? price * 0.9 : price);
        e.date = today.addDays(-58 + i * 4);
        e.state = i % 5 == 0 ? u"K"_s : (i % 3 == 0 ? QString() : u"A"_s);
        logic.store(e);
    }
}

}  // namespace selvar
