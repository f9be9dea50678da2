#pragma once
#include "print/font.h"
#include "reports/period_logic.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace selvar {

class ReportDateBox;

// "Tarih Aralığı Belirleyin".
class TTarihQueryDlg : public QDialog {
    Q_OBJECT
public:
    TTarihQueryDlg(Session& session, const QDate& first, const QDate& last, const QString& prompt,
                   QWidget* parent = nullptr);
    QLineEdit* firstBox() const;
    QLineEdit* lastBox() const;
    DateRange range() const { return range_; }
    void accept() override;  // "&Tamam"
    void reject() override;  // "&Vazgeç": both boxes cleared

private:
    Session& session_;
    ReportDateBox* first_;
    ReportDateBox* last_;
    DateRange range_;
};

// "Aylık Rapor".
class TAylarForm : public QDialog {
    Q_OBJECT
public:
    TAylarForm(Session& session, qint64 productNo, QWidget* parent = nullptr);
    AylikRaporLogic& logic() { return logic_; }
    QTableWidget* grid() const { return grid_; }
    QComboBox* months() const { return months_; }
    void refresh();

private:
    Session& session_;
    AylikRaporLogic logic_;
    QTableWidget* grid_;
    QComboBox* months_;
    QLabel* product_;
};

// The operation log of a period ("... ARASI PROGRAM İŞLETİM LİSTESİ").
class TIsletimForm : public QDialog {
    Q_OBJECT
public:
    TIsletimForm(Session& session, const QDate& first, const QDate& last, QWidget* parent = nullptr);
    ~TIsletimForm() override;
    IsletimLogic& logic() { return logic_; }
    QTableWidget* grid() const { return grid_; }
    QComboBox* filterBox() const { return filter_; }
    QPushButton* button(const QString& name) const;
    QFrame* contentsPanel() const { return contentsPanel_; }
    QTableWidget* contentsGrid() const { return contentsGrid_; }
    QFrame* deletePanel() const { return deletePanel_; }
    QLineEdit* deleteFirst() const;
    QLineEdit* deleteLast() const;
    void refresh();
    void showContents();  // "İçeri&k"
    void confirmDelete(); // the panel's "&Tamam"
    void print();         // "&Yazıcı"

private:
    QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, std::function<void()> run);
    void guarded(const std::function<void()>& f);

    Session& session_;
    IsletimLogic logic_;
    QList<LogRow> rows_;
    QTableWidget* grid_;
    QComboBox* filter_;
    QFrame* contentsPanel_;
    QTableWidget* contentsGrid_;
    QFrame* deletePanel_;
    ReportDateBox* deleteFirst_;
    ReportDateBox* deleteLast_;
    QSpinBox* margin_;
    FontDef font_;
    bool fontChanged_ = false;
    QList<QPushButton*> buttons_;
};

}  // namespace selvar
