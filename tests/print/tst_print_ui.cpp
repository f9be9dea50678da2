#include <QTest>
class TstPrintUi : public QObject { Q_OBJECT };
QTEST_MAIN(TstPrintUi)
#include "tst_print_ui.moc"
