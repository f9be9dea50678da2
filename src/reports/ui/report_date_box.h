#pragma once
// A date box of the reports: dd.mm.yyyy; leaving it with a text that is no date beeps and
// keeps the focus; it is typed from its first digit.
#include <QDate>
#include <QLineEdit>

namespace selvar {

struct Session;

class ReportDateBox : public QLineEdit {
public:
    ReportDateBox(Session& session, QWidget* parent);
    void setDate(const QDate& d);

protected:
    void focusOutEvent(QFocusEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;

private:
    Session& session_;
};

}  // namespace selvar
