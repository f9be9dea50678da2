#pragma once
#include <QDialog>
#include <memory>

class QLineEdit;
class QPushButton;

namespace selvar {

struct Session;
class ZamLogic;

// "Zam Onay": asked when a price above the product's current price was typed.
class TZamForm : public QDialog {
    Q_OBJECT
public:
    TZamForm(Session& session, qint64 productNo, double newPrice, QWidget* parent = nullptr);
    ~TZamForm() override;

    QLineEdit* dateBox() const { return date_; }
    QPushButton* yesButton() const { return yes_; }
    QPushButton* noButton() const { return no_; }

private:
    void yesClicked();

    Session& session_;
    std::unique_ptr<ZamLogic> logic_;
    QLineEdit* date_;
    QPushButton* yes_;
    QPushButton* no_;
};

// True when the user confirmed the raised price; the product card then holds it.
bool ZamOnay(Session& session, qint64 productNo, double newPrice, QWidget* parent = nullptr);

}  // namespace selvar
