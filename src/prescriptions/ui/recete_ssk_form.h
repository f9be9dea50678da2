#pragma once
#include "prescriptions/recete_ssk_logic.h"
#include "print/font.h"

#include <QDialog>
#include <QHash>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace selvar {

// "SSK TİPİ REÇETE KAYIT": one SSK prescription of a sale, created or corrected.
class TReceteSSKForm : public QDialog {
    Q_OBJECT
public:
    explicit TReceteSSKForm(Session& session, QWidget* parent = nullptr);
    ~TReceteSSKForm() override;

    ReceteSskLogic& logic() { return logic_; }
    void open(int mode, const QString& dateText, double saleNo);

    QLineEdit* box(const QString& name) const { return boxes_.value(name); }
    QComboBox* combo(const QString& name) const { return combos_.value(name); }
    QPushButton* button(const QString& name) const { return buttons_.value(name); }
    QLabel* label(const QString& name) const { return labels_.value(name); }
    QTabWidget* pages() const { return pages_; }
    QTableWidget* accountTable() const { return hesap_; }
    QCheckBox* illnessBox() const { return illness_; }
    QSpinBox* marginBox() const { return margin_; }
    void refresh();
    void directPrint();   // "&Reç. Arkası Dökümünü Bas"
    void previewPrint();  // "Ön İzlemeli &Döküm Al"
    void chooseFont();    // "&Yazı Fontu"

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void done(int r) override;
    bool event(QEvent* e) override;

private:
    QLineEdit* addBox(const QString& name, int maxLength, QWidget* parent = nullptr);
    QLineEdit* addDateBox(const QString& name, QWidget* parent = nullptr);
    QLabel* addLabel(const QString& name, const QString& text = {}, QWidget* parent = nullptr);
    QPushButton* addButton(const QString& name, const QString& caption, std::function<void()> run, QWidget* parent = nullptr);
    QComboBox* addCombo(const QString& name, const QStringList& items, bool withEmpty, QWidget* parent);
    QLayout* createHeader();   // institution, patient, class, insured, doctor, numbers, dates
    QWidget* createPages();    // coded data, the account, details and printing
    QWidget* createCodedPage();
    QWidget* createDetailsPage();
    QLayout* createButtons();
    void createPrintShortcuts();
    void guarded(const std::function<void()>& f);
    void store();
    void readBoxes();
    void leaveChangedBoxes();
    void boxLeft(QLineEdit* box);
    bool dataForPrint();

    Session& session_;
    ReceteSskLogic logic_;
    QHash<QString, QLineEdit*> boxes_;
    QHash<QString, QComboBox*> combos_;
    QHash<QString, QPushButton*> buttons_;
    QHash<QString, QLabel*> labels_;
    QButtonGroup* classes_ = nullptr;
    QButtonGroup* place_ = nullptr;
    QCheckBox* illness_ = nullptr;
    QTableWidget* hesap_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QSpinBox* margin_ = nullptr;
    FontDef font_;
    bool fontChanged_ = false;
    bool filling_ = false;
};

}  // namespace selvar
