#pragma once
#include "prescriptions/recete_logic.h"
#include "print/font.h"

#include <QDialog>
#include <QHash>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace selvar {

// "REÇETE KAYIT": one prescription of a sale, created or corrected.
class TReceteForm : public QDialog {
    Q_OBJECT
public:
    explicit TReceteForm(Session& session, QWidget* parent = nullptr);
    ~TReceteForm() override;

    ReceteLogic& logic() { return logic_; }
    void open(const QString& bookNo, int mode, const QString& dateText, double saleNo);
    // The ready-value list of the headings; the program sets it to HazirDegerSec.
    std::function<QString()> headingPicker;

    QLineEdit* box(const QString& name) const { return boxes_.value(name); }
    QPushButton* button(const QString& name) const { return buttons_.value(name); }
    QLabel* label(const QString& name) const { return labels_.value(name); }
    QTableWidget* accountTable() const { return hesap_; }
    QTabWidget* pages() const { return pages_; }
    StandardBackPrintOptions backPrintOptions() const;
    void refresh();
    void standardBackPrint();  // "Şimdi Standart &Döküm Al"
    void chooseFont();         // "Yazıcı &Fontu"

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void done(int r) override;
    bool event(QEvent* e) override;

private:
    QLineEdit* addBox(const QString& name, int maxLength);
    QLabel* addLabel(const QString& name, const QString& text = {});
    QPushButton* addButton(const QString& name, const QString& caption, std::function<void()> run);
    QLayout* createHeader();    // institution, patient, class, doctor, dates, place
    QLayout* createHeadings();  // the institution's six labels and their values
    QWidget* createPages();     // amounts, medicines, back-prints
    QLayout* createButtons();
    void connectChoices();
    void guarded(const std::function<void()>& f);
    void store(int printChoice);
    void readBoxes();
    void leaveChangedBoxes();

    Session& session_;
    ReceteLogic logic_;
    QHash<QString, QLineEdit*> boxes_;
    QHash<QString, QPushButton*> buttons_;
    QHash<QString, QLabel*> labels_;
    QButtonGroup* classes_;
    QButtonGroup* place_;
    QButtonGroup* printChoice_;
    QTableWidget* hesap_;
    QTableWidget* medicines_;
    QTabWidget* pages_;
    QTabWidget* backPages_;
    QCheckBox* syringes_;
    QCheckBox* visa_;
    QCheckBox* serial_;
    QCheckBox* protocol_;
    QSpinBox* margin_;
    FontDef font_;
    bool fontChanged_ = false;
    bool filling_ = false;
};

}  // namespace selvar
