#pragma once
#include "prescriptions/repricing.h"
#include "prescriptions/ui/repricing.h"

#include <QDialog>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace selvar {

// "Otomatik Reçete Yeniden Değerlendirme": the run, its report and the back sheets of the
// sales it repriced.
class TOtoYDgForm : public QDialog {
    Q_OBJECT
public:
    TOtoYDgForm(Session& session, QString institution, int option, QDate start, RepricingBackPrints prints,
                QWidget* parent = nullptr);
    QPushButton* startButton() const { return start_; }
    QPushButton* printButton() const { return print_; }
    QPlainTextEdit* memo() const { return memo_; }
    QListWidget* sales() const { return sales_; }
    QRadioButton* stampedChoice() const { return stamped_; }
    void run();    // "Otomatikman Yeniden Değerlendirmeyi &Başlat"
    void print();  // the chosen back sheet of the sale selected in the list

private:
    Session& session_;
    QString institution_;
    int option_;
    QDate start_date_;
    RepricingBackPrints prints_;
    QPushButton* start_;
    QPushButton* print_;
    QPlainTextEdit* memo_;
    QListWidget* sales_;
    QRadioButton* stamped_;
    QRadioButton* defined_;
};

// "Otomatik Y.Değerlendirme Sorgusu".
class TOtoYedgTrhForm : public QDialog {
    Q_OBJECT
public:
    TOtoYedgTrhForm(Session& session, RepricingBackPrints prints, QWidget* parent = nullptr);
    QButtonGroup* options() const { return options_; }
    QLineEdit* institutionBox() const { return institution_; }
    QLineEdit* dateBox() const { return date_; }
    QPushButton* runButton() const { return run_; }
    void chooseInstitution();  // F5
    void run();

private:
    Session& session_;
    RepricingBackPrints prints_;
    QButtonGroup* options_;
    QLineEdit* institution_;
    QLineEdit* date_;
    QPushButton* run_;
};

}  // namespace selvar
