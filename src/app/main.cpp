#include "data/database.h"

#include <QApplication>
#include <QMessageBox>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    try {
        auto db = Database::openAlias();
        QMessageBox::information(nullptr, u"SELVAR"_s, u"Veritabanı açıldı: "_s + db->alias().database);
    } catch (const DbError& e) {
        QMessageBox::critical(nullptr, u"SELVAR"_s, e.message());
        return 1;
    }
    return 0;
}
