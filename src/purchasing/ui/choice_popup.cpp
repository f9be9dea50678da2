#include "purchasing/ui/choice_popup.h"

#include "purchasing/alis_calc.h"

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QRadioButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

int chooseOverCell(QWidget* parent, QTableView* view, const QModelIndex& cell, const QString& title,
                   const QStringList& items, int current)
{
    QDialog picker(parent, Qt::Popup);
    picker.setObjectName(u"Secim"_s);
    auto* box = new QGroupBox(title, &picker);
    auto* inner = new QVBoxLayout(box);
    auto* group = new QButtonGroup(&picker);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], box);
        b->setChecked(i == current);
        group->addButton(b, i);
        inner->addWidget(b);
    }
    // Enter closes the choice with the option it is on.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), &picker);
        QObject::connect(enter, &QShortcut::activated, &picker, [&picker, group] {
            if (auto* b = qobject_cast<QAbstractButton*>(picker.focusWidget()); b && group->id(b) >= 0) b->setChecked(true);
            picker.accept();
        });
    }
    auto* outer = new QVBoxLayout(&picker);
    outer->addWidget(box);
    if (QAbstractButton* b = group->button(current < 0 ? 0 : current)) b->setFocus();
    const QRect r = view->visualRect(cell);
    picker.move(view->viewport()->mapToGlobal(r.bottomLeft()));
    picker.exec();
    return group->checkedId();
}

int chooseDiscountType(QWidget* parent, QTableView* view, const QModelIndex& cell, const QString& current)
{
    bool ok = false;
    const int now = current.toInt(&ok);
    return chooseOverCell(parent, view, cell, u"İskonto Tipi"_s, purchaseDiscountTypeLongLabels(), ok ? now : -1);
}

QString chooseFreeGoodsVat(QWidget* parent, QTableView* view, const QModelIndex& cell, const QString& current)
{
    const int chosen = chooseOverCell(parent, view, cell, u"M.Fzl.KDV yi Ekle?"_s,
                                      {u"&Evet ,ödüyoruz."_s, u"&Hayır"_s}, current == u"E"_s ? 0 : 1);
    return chosen < 0 ? QString() : chosen == 0 ? u"E"_s : u"H"_s;
}
}  // namespace selvar
