#pragma once
// The exchange windows: the registration window (long-lived), the pharmacy picker and
// the search by pharmacy.
#include "exchange/takas_logic.h"

#include <QDialog>
#include <QHash>

#include <functional>

class QButtonGroup;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace selvar {

// Search by typing in names kept in Turkish order: the nearest name, a key with which no
// name continues dropped again.
class NameTypeAhead {
public:
    explicit NameTypeAhead(int maxLength) : max_(maxLength) {}
    // The row to go to after `key`, or -1 when nothing changes.
    int type(const QStringList& names, const QString& key);
    int backspace(const QStringList& names);
    void clear() { text_.clear(); }
    const QString& text() const { return text_; }

private:
    int nearest(const QStringList& names, const QString& text) const;
    int max_;
    QString text_;
};

// A key in a list with type-ahead on `names`: true when it was taken; `go` moves to a row.
// Escape with a search typed clears it (and goes to `escapeRow` when one is given).
bool typeAheadKey(QKeyEvent* key, NameTypeAhead& typed, const QStringList& names, const std::function<void(int)>& go,
                  QLabel* searched, int escapeRow = -1);
// The read-only grid of exchanges with its six columns, Tab leaving it for the buttons.
QTableWidget* exchangeGrid(QWidget* parent);
// F1 opens the help file of the exchange windows.
void addExchangeHelp(QWidget* window, Session& session);

// "Eczane Seç": the pharmacies of the exchanges; the chosen name, empty when left.
class TFormARATAK : public QDialog {
    Q_OBJECT
public:
    TFormARATAK(Session& session, QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }
    QLabel* searched() const { return searched_; }
    QString chosen() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* list_;
    QLabel* searched_;
    QStringList names_;
    NameTypeAhead typed_{35};
};
QString EczaneSec(Session& session, QWidget* parent = nullptr);

// "Takas Arama": the exchanges by pharmacy and date; the chosen NO, 0 when left.
class TFormTARA : public QDialog {
    Q_OBJECT
public:
    TFormTARA(Session& session, QWidget* parent = nullptr);
    QTableWidget* grid() const { return grid_; }
    QLabel* searched() const { return searched_; }
    qint64 chosen() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidget* grid_;
    QLabel* searched_;
    QStringList names_;
    QList<qint64> numbers_;
    NameTypeAhead typed_{36};
};
qint64 TakasAra(Session& session, QWidget* parent = nullptr);

// "Takas Kayıt": one exchange at a time, driven from the keyboard.
class TFormTakas : public QDialog {
    Q_OBJECT
public:
    explicit TFormTakas(Session& session, QWidget* parent = nullptr);
    TakasLogic& logic() { return logic_; }
    void Giris();  // shown on the last row

    // The state the keys act on.
    bool editing() const { return editing_; }
    qint64 currentNo() const;
    void insertRow();
    void editRow();
    bool saveRow();  // "Kayıt Sakla"; false when refused
    void cancelEdit();
    void deleteRow();
    void moveTo(int index);
    void chooseProduct();
    void choosePharmacy();
    void search();
    void queryList();    // F4 "Sorgu"
    void priceUpdate();  // F9 "Güncelleme"

    QLineEdit* box(const QString& name) const;
    QLabel* numberLabel() const { return number_; }
    QLabel* priceLabel() const { return price_; }
    QLabel* stockLabel() const { return stock_; }
    QButtonGroup* types() const { return types_; }
    QButtonGroup* states() const { return states_; }

protected:
    void reject() override;  // Esc cancels an edit first
    void closeEvent(QCloseEvent* event) override;

private:
    void load();
    void show(const Exchange& e);
    Exchange fromBoxes() const;
    bool leaveEdit();  // the same check and rules as "Kayıt Sakla"
    void showProduct();
    void quantityLeft();
    void guarded(const std::function<void()>& f);

    Session& session_;
    TakasLogic logic_;
    QList<qint64> rows_;
    int index_ = -1;
    bool editing_ = false;
    Exchange current_;
    QLabel* number_;
    QLabel* price_;
    QLabel* stock_;
    QHash<QString, QLineEdit*> boxes_;
    QButtonGroup* types_;
    QButtonGroup* states_;
};

}  // namespace selvar
