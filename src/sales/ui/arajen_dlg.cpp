#include "sales/ui/arajen_dlg.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

TAraJenDlg::TAraJenDlg(Database& db, QWidget* parent) : QDialog(parent), logic_(db)
{
    setObjectName(u"TAraJenDlg"_s);
    className_ = new QLabel(this);
    QFont bold = className_->font();
    bold.setBold(true);
    className_->setFont(bold);
    heading_ = new QLabel(this);
    search_ = new QLabel(this);
    list_ = new QListWidget(this);
    list_->installEventFilter(this);
    auto* choose = new QPushButton(u"Seç"_s, this);
    choose->setDefault(true);
    auto* cancel = new QPushButton(u"&Vazgeç"_s, this);
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(search_, 1);
    buttons->addWidget(choose);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(className_);
    layout->addWidget(heading_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    connect(choose, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!syncing_) logic_.setCurrentRow(row);
    });
    resize(480, 420);
}

QString TAraJenDlg::choose(AraJenLogic::Kind kind, qint64 number)
{
    setWindowTitle(AraJenLogic::caption(kind));
    heading_->setText(AraJenLogic::heading(kind));
    logic_.open(kind, number);
    className_->setText(logic_.className());
    list_->clear();
    list_->addItems(logic_.names());
    sync();
    list_->setFocus();
    if (exec() != QDialog::Accepted) return {};
    return logic_.currentName();
}

void TAraJenDlg::sync()
{
    syncing_ = true;
    list_->setCurrentRow(logic_.currentRow());
    search_->setText(logic_.searchText().isEmpty() ? QString() : u"Aranan: "_s + logic_.searchText());
    syncing_ = false;
}

bool TAraJenDlg::eventFilter(QObject* o, QEvent* e)
{
    if (o == list_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        switch (k->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Home:
        case Qt::Key_Up:
        case Qt::Key_Down:
            logic_.clear();
            search_->clear();
            return false;
        case Qt::Key_Backspace:
            logic_.backspace();
            sync();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: accept(); return true;
        default: break;
        }
        const QString t = k->text();
        if (!t.isEmpty() && t[0].isPrint() && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            logic_.type(t[0]);
            sync();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

}  // namespace selvar
