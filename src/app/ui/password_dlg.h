#pragma once
#include <QDialog>
#include <memory>

class QLineEdit;
class QPushButton;

namespace selvar {

struct Session;
class PasswordLogic;

// "ŞİFRE ONAY": the user name and password check at start-up.
class TPassWordDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPassWordDlg(Session& session, QWidget* parent = nullptr);
    ~TPassWordDlg() override;
    bool succeeded() const;
    QLineEdit* userBox() const { return user_; }
    QLineEdit* passwordBox() const { return password_; }

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void done(int result) override;

private:
    void okClicked();

    std::unique_ptr<PasswordLogic> logic_;
    QLineEdit* user_;
    QLineEdit* password_;
    QPushButton* ok_;
    bool shown_ = false;
};

// "İlk Kullanıcı": a new database asks for its first user before anything else.
class TIlkKullaniciDlg : public QDialog {
    Q_OBJECT
public:
    explicit TIlkKullaniciDlg(Session& session, QWidget* parent = nullptr);

private:
    Session& session_;
    QLineEdit* user_;
    QLineEdit* password_;
    QLineEdit* repeated_;
};

}  // namespace selvar
