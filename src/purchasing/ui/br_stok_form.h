#pragma once
#include "purchasing/stock_history_logic.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;

namespace selvar {

// "ÜRÜN GİRİŞ ÇIKIŞ HAREKETLERİ": a product's movements, where the current one came from,
// the totals, the date range, the monthly report and the listing.
class TBrStokForm : public QDialog {
    Q_OBJECT
public:
    TBrStokForm(Session& session, qint64 productNo, const QString& productName, QWidget* parent = nullptr);
    StockHistoryLogic& logic() { return logic_; }
    StockHistoryModel* model() const { return model_; }
    QTableView* grid() const { return grid_; }
    QLabel* titleLabel() const { return title_; }
    QLabel* explanation() const { return explanation_; }
    QLabel* total(const QString& caption) const;
    QSpinBox* marginBox() const { return margin_; }
    QPushButton* button(const QString& caption) const;

protected:
    void done(int r) override;  // every close keeps a changed listing font
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void explainCurrent();
    void showTotals();
    void guarded(const std::function<void()>& f);

    Session& session_;
    StockHistoryLogic logic_;
    StockHistoryModel* model_;
    QTableView* grid_;
    QLabel* title_;
    QLabel* explanation_;
    QList<std::pair<QString, QLabel*>> totals_;
    QList<QPushButton*> buttons_;
    QSpinBox* margin_;
};

}  // namespace selvar
