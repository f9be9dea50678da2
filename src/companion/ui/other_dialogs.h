#pragma once
// The remaining windows of the library: the old-record chooser, the layout editor of the
// defined back-print and the institution list definitions.
#include "companion/backprint_layout.h"
#include "companion/ui/card_dialogs.h"
#include "companion/old_records.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;

namespace selvar::ortak {

// Old sales or purchases, newest first; typing a number or a date moves to it.
class OldRecordDialog final : public QDialog {
public:
    OldRecordDialog(CallContext& ctx, OldRecordKind kind, QWidget* parent = nullptr);
    double chosen() const { return chosen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void find();
    void choose();

    CallContext& ctx_;
    std::vector<OldRecord> records_;
    ValueModel model_;
    QTableView* view_ = nullptr;
    QLineEdit* search_ = nullptr;
    double chosen_ = 0;
};

class BackPrintLayoutDialog final : public QDialog {
public:
    explicit BackPrintLayoutDialog(CallContext& ctx, QWidget* parent = nullptr);
    // Leaving with changes asks whether to keep them.
    void reject() override;

private:
    struct Line {
        QComboBox* data;
        QLineEdit* caption;
        QSpinBox* width;
    };
    BackPrintLayout current() const;
    void show(const BackPrintLayout& l);
    void loadSelected();
    bool confirmLeave();
    void save();
    void remove();

    CallContext& ctx_;
    QComboBox* institution_ = nullptr;
    QComboBox* patientType_ = nullptr;
    QFontComboBox* font_ = nullptr;
    QSpinBox* size_ = nullptr;
    QComboBox* style_ = nullptr;
    QLineEdit* color_ = nullptr;
    QSpinBox* margin_ = nullptr;
    QComboBox* wording_ = nullptr;
    QCheckBox* productLines_ = nullptr;
    std::array<Line, BackPrintLayout::FieldCount> fields_{};
    std::array<Line, BackPrintLayout::ColumnCount> columns_{};
    BackPrintLayout shown_;
    int shownInstitution_ = -1, shownType_ = -1;
};

class InstitutionListDialog final : public QDialog {
public:
    explicit InstitutionListDialog(CallContext& ctx, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSearch();

    CallContext& ctx_;
    QTableView* view_ = nullptr;
    QLabel* searchLabel_ = nullptr;
    QString search_;
};

}  // namespace selvar::ortak
