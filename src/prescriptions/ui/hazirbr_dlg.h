#pragma once
// The ready values of the prescription-back headings: F3 or a double click on a heading
// box of the prescription window calls HazirDegerSec.
#include "prescriptions/hazirdeg_logic.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace selvar {

struct Session;
class ValueListModel;
class ValueDelegate;

class TfmhazirBr : public QDialog {
    Q_OBJECT
public:
    TfmhazirBr(Session& session, int mode, QWidget* parent = nullptr);
    ~TfmhazirBr() override;

    // Runs the dialog; the value picked in mode 1, else empty.
    QString choose();
    QString result() const { return result_; }

    HazirDegerLogic& logic() { return logic_; }
    QTableView* grid() const { return grid_; }
    QLineEdit* editor() const { return editor_; }  // while a value is typed in the grid
    QLabel* searchLabel() const { return search_; }
    // "YeniKayit", "Degistir", "KayitSil", "Sec", "Kapat", "Yardim", "Ilk", "Onceki",
    // "Sonraki", "Son", "Yenile"
    QPushButton* button(const QString& name) const { return buttons_.value(name); }

public Q_SLOTS:
    void reject() override;  // "Kapat", the window's close box

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    friend class ValueDelegate;
    void guarded(const std::function<void()>& f);
    template <typename F> void command(F&& f);
    void sync();
    void startEditing(bool newValue);
    void pickCurrent();
    bool gridKey(QKeyEvent* k);
    // The editor's text goes to the logic and the editor is closed without a post.
    void takeEditor();
    void editorCreated(QLineEdit* editor);
    void editorReleased(QWidget* editor);
    void editorKey(QKeyEvent* k);
    bool isButtonKey(const QKeyEvent* k) const;  // Alt+D, and Alt+S in mode 1

    Session& session_;
    HazirDegerLogic logic_;
    ValueListModel* model_;
    ValueDelegate* delegate_;
    QTableView* grid_;
    QLabel* search_;
    QHash<QString, QPushButton*> buttons_;
    QPointer<QLineEdit> editor_;
    QString result_;
    bool syncing_ = false;
    int commands_ = 0;
};

// Shows the list over hazirdeg.db. Mode 1 lets the user pick: the chosen value, or an
// empty text when the list was closed otherwise. Mode 0 only keeps the list.
QString HazirDegerSec(Session& session, int mode, QWidget* parent = nullptr);

}  // namespace selvar
