#pragma once
#include "purchasing/sat_fiy_logic.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace selvar {

// "Diğer İskonto Tipli Ürünlere Satış Fiyatı Belirleme".
class TSatFiyForm : public QDialog {
    Q_OBJECT
public:
    explicit TSatFiyForm(Session& session, QWidget* parent = nullptr);
    bool open(double purchaseNo);  // false: the purchase has no such lines (the message was shown)
    SatFiyLogic& logic() { return logic_; }
    QTableWidget* grid() const { return grid_; }
    QLineEdit* percentBox() const { return percent_; }
    QLineEdit* stepBox() const { return step_; }
    QPushButton* showButton() const { return show_; }
    QPushButton* transferButton() const { return transfer_; }
    QRadioButton* allOption() const { return all_; }
    void showPrices();  // "Göster"
    void transfer();    // "Aktar ve Sakla"

private:
    void fill();
    void guarded(const std::function<void()>& f);

    Session& session_;
    SatFiyLogic logic_;
    QLabel* heading_;
    QTableWidget* grid_;
    QLineEdit* percent_;
    QLineEdit* step_;
    QPushButton* show_;
    QPushButton* transfer_;
    QRadioButton* higher_;
    QRadioButton* all_;
};

}  // namespace selvar
