// Writes a data directory of the old program, for trying the import by hand:
//   make_paradox_sample DIR [--products N] [--sale-lines M]
#include "support/paradox_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>
#include <exception>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    const QStringList args = app.arguments().mid(1);
    QString dir;
    ParadoxSampleSizes sizes;
    bool usage = false;
    for (int i = 0; i < args.size() && !usage; ++i) {
        const QString& a = args[i];
        if (a == u"--products"_s || a == u"--sale-lines"_s) {
            bool ok = false;
            const int n = i + 1 < args.size() ? args[i + 1].toInt(&ok) : 0;
            if (!ok || n < 1) usage = true;
            else (a == u"--products"_s ? sizes.products : sizes.saleLines) = n;
            ++i;
        } else if (a.startsWith(u'-') || !dir.isEmpty()) {
            usage = true;
        } else {
            dir = a;
        }
    }
    if (usage || dir.isEmpty()) {
        err << "kullanım: make_paradox_sample DİZİN [--products N] [--sale-lines M]\n"
               "  eski programın Paradox veri dizinini örnek verilerle yazar (varsayılan "
            << sizes.products << " ürün, " << sizes.saleLines << " satış satırı)\n";
        return 2;
    }
    if (QDir(dir).exists() && !QDir(dir).isEmpty()) {
        err << dir << " boş değil; boş ya da olmayan bir dizin verin.\n";
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    try {
        writeParadoxSample(dir, sizes, [&](const QString& line) { out << line << Qt::endl; });
    } catch (const std::exception& e) {
        err << QString::fromStdString(e.what()) << '\n';
        return 1;
    }
    out << QDir(dir).absolutePath() << " yazıldı (" << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " sn).\n";
    return 0;
}
