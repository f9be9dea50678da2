#pragma once
#include <QDialog>

class QLabel;

namespace selvar {

// The old-records chooser: "Satışlar", "Reçeteler", "Faturalar", "Geri Dön".
class TEskiSMForm : public QDialog {
    Q_OBJECT
public:
    explicit TEskiSMForm(QWidget* parent = nullptr);
    // "S", "R" or "F", or "0" for no choice.
    QChar choose();
    QChar result() const { return result_; }
    int highlighted() const { return current_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void highlight(int i);
    void pick(int i);
    QList<QLabel*> entries_;
    int current_ = 0;
    QChar result_ = u'0';
};

}  // namespace selvar
