#pragma once
#include "print/font.h"
#include "reports/cash_logic.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace selvar {

class ReportDateBox;

// "ÖZEL ŞİFRE TASDİK".
class TOZELWordDlg1 : public QDialog {
    Q_OBJECT
public:
    explicit TOZELWordDlg1(Session& session, QWidget* parent = nullptr);
    QLineEdit* box() const { return box_; }
    void accept() override;  // "Tamam": the password, as often as the user likes

private:
    Session& session_;
    QLineEdit* box_;
};

// "Özel Rapor": the period and the six buttons; every close is logged.
class TOzelVeGizliForm : public QDialog {
    Q_OBJECT
public:
    explicit TOzelVeGizliForm(Session& session, QWidget* parent = nullptr);
    QLineEdit* startBox() const;
    QLineEdit* endBox() const;
    QPushButton* button(const QString& name) const;
    void done(int result) override;  // Esc, the title bar and "Kapa&t" alike

private:
    // The period typed, checked as the period dialog checks it.
    std::optional<std::pair<QDate, QDate>> period();
    void open(const std::function<void(const QDate&, const QDate&)>& report);

    Session& session_;
    ReportDateBox* start_;
    ReportDateBox* end_;
    QList<QPushButton*> buttons_;
};

// start "-" end " Arası Kasa Raporu": the summary, the movements and their totals.
class TGizliForm : public QDialog {
    Q_OBJECT
public:
    TGizliForm(Session& session, const QDate& start, const QDate& end, QWidget* parent = nullptr);
    const CashSummary& summary() const { return summary_; }
    QLabel* value(const QString& name) const;
    QTableWidget* movements() const { return movements_; }
    QTableWidget* totals() const { return totals_; }
    QPushButton* detailButton() const { return detail_; }

private:
    Session& session_;
    QDate start_, end_;
    CashSummary summary_;
    QTableWidget* movements_;
    QTableWidget* totals_;
    QPushButton* detail_;
};

// The day-by-day cash table and its report.
class TKasaBForm : public QDialog {
    Q_OBJECT
public:
    TKasaBForm(Session& session, const QDate& start, const QDate& end, QWidget* parent = nullptr);
    QTableWidget* grid() const { return grid_; }
    QSpinBox* marginBox() const { return margin_; }
    void preview();  // "Kasa &Raporu Ön İzleme"

private:
    Session& session_;
    QList<KasaRow> rows_;
    QTableWidget* grid_;
    QSpinBox* margin_;
};

// The sales or purchase list of a period.
class TGizListForm : public QDialog {
    Q_OBJECT
public:
    TGizListForm(Session& session, const QDate& start, const QDate& end, bool purchases, QWidget* parent = nullptr);
    ~TGizListForm() override;
    bool hasRows() const { return !rows_.isEmpty(); }
    QTableWidget* grid() const { return grid_; }
    QLabel* totalLabel() const { return total_; }
    void print();  // "&Yazıcı"

private:
    Session& session_;
    bool purchases_;
    QList<ListRow> rows_;
    double sum_ = 0;
    QTableWidget* grid_;
    QLabel* total_;
    QSpinBox* margin_;
    FontDef font_;
    bool fontChanged_ = false;
};

// The profit report's choice and preview.
class TQRGizKarForm : public QDialog {
    Q_OBJECT
public:
    TQRGizKarForm(Session& session, const QDate& start, const QDate& end, QWidget* parent = nullptr);
    void setKind(int kind);
    void preview();  // "&Ön İzleme/Yazdır"

private:
    Session& session_;
    QDate start_, end_;
    QList<QRadioButton*> kinds_;
};

}  // namespace selvar
