#pragma once
// The card windows of the library: a list of one card table in the order of its name
// index, searched by typing, with new, change and delete (mode 0) or choose (mode 1),
// and the card form that edits one card.
#include "companion/cards.h"
#include "platform/type_ahead.h"
#include "companion/rights.h"
#include "companion/ui/ui_support.h"
#include "data/table.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <memory>

class QLabel;
class QTableView;

namespace selvar {
class Database;
}

namespace selvar::ortak {

// What one call of the library works with.
struct CallContext {
    Database& db;
    Prompter& prompter;
    SignedInUser user;
};

class CardEditDialog final : public QDialog {
public:
    // `oldKey` null: a new card.
    CardEditDialog(CallContext& ctx, const CardDef& cardDef, const QVariant& oldKey, QWidget* parent = nullptr);
    const QVariant& savedKey() const { return savedKey_; }
    QString savedName() const { return savedName_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    struct Editor {
        const CardField* field;
        QWidget* widget;
        QLabel* label;
    };
    QWidget* makeEditor(const CardField& f);
    void setValue(const Editor& e, const QVariant& v);
    bool readValue(const Editor& e, QVariant* v);
    void load();
    void save();
    void relabelHeaders();
    Editor* editorOf(const QString& field);

    CallContext& ctx_;
    const CardDef& def_;
    QVariant oldKey_;
    QList<Editor> editors_;
    QVariant savedKey_;
    QString savedName_;
};

class CardListDialog final : public QDialog {
public:
    CardListDialog(CallContext& ctx, const CardDef& cardDef, int mode, QWidget* parent = nullptr);
    const QVariant& chosenKey() const { return chosenKey_; }
    const QString& chosenName() const { return chosenName_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reload(const QVariant& selectKey = {});
    void showSearch();
    void followCursor();
    bool mayChange();
    QVariant currentKey() const;
    void newCard();
    void editCard();
    void deleteCard();
    void choose();

    CallContext& ctx_;
    const CardDef& def_;
    int mode_;
    int nameColumn_ = 0;
    Table cursor_;
    TypeAhead search_;
    ValueModel model_;
    std::vector<QVariant> keys_;
    QHash<qint64, int> rowOfId_;
    QTableView* view_ = nullptr;
    QLabel* searchLabel_ = nullptr;
    QVariant chosenKey_;
    QString chosenName_;
};

// Mode 0 maintains the cards; mode 1 returns the chosen key (null when none) and its name.
QVariant runCardList(CallContext& ctx, CardKind kind, int mode, QString* name = nullptr);
// The product card of `productName` (mode 0) or a new one (mode 1); the saved name,
// empty when cancelled.
QString editProduct(CallContext& ctx, const QString& productName, int mode);

}  // namespace selvar::ortak
