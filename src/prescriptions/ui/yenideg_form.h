#pragma once
#include "prescriptions/repricing.h"
#include "prescriptions/ui/repricing.h"
#include "print/font.h"

#include <QDialog>
#include <QHash>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace selvar {

// "Tarih Belirleme": the date the run starts from.
class TYeniDlg : public QDialog {
    Q_OBJECT
public:
    TYeniDlg(Session& session, QWidget* parent = nullptr);
    QLineEdit* dateBox() const { return box_; }
    QDate date() const { return date_; }  // null: from the earliest
    void accept() override;

private:
    Session& session_;
    QLineEdit* box_;
    QDate date_;
};

// "YENİDEN FİYAT DEĞERLENDİRME": one prescription repriced line by line.
class TYeniDegForm : public QDialog {
    Q_OBJECT
public:
    TYeniDegForm(Session& session, RepricingBackPrints prints, QWidget* parent = nullptr);
    bool open(double saleNo);
    YeniDegLogic& logic() { return logic_; }
    YeniDegLogic::Result outcome() const { return outcome_; }
    QTableWidget* lineGrid() const { return lines_; }
    QTableWidget* historyGrid() const { return history_; }
    QPushButton* button(const QString& name) const { return buttons_.value(name); }
    QLabel* label(const QString& name) const { return labels_.value(name); }
    QFrame* printPanel() const { return printPanel_; }
    void refresh();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void reject() override;  // Esc and closing: "Dur"

private:
    QPushButton* addButton(const QString& name, const QString& caption, std::function<void()> run);
    QLabel* addLabel(const QString& name);
    void guarded(const std::function<void()>& f);
    int currentLine() const;
    void showHistory();
    void choose(YeniDegLogic::Choice c);
    void transfer();
    void printSheet();
    void handToBackPrint(bool stamped);

    Session& session_;
    RepricingBackPrints prints_;
    YeniDegLogic logic_;
    YeniDegLogic::Result outcome_ = YeniDegLogic::Result::Stop;
    QHash<QString, QPushButton*> buttons_;
    QHash<QString, QLabel*> labels_;
    QTableWidget* lines_;
    QTableWidget* history_;
    QTableWidget* shares_;
    QRadioButton* cardChoice_;
    QRadioButton* historyChoice_;
    QFrame* printPanel_;
    QSpinBox* margin_;
    FontDef font_;
    bool fontChanged_ = false;
    QList<PriceInForce> shownHistory_;
    int lastRow_ = -1;
};

}  // namespace selvar
