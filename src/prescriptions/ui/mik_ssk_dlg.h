#pragma once
// "Ürün Değerlerini Belirleme" of the SSK counter: the values dialog with the SSK rules,
// the daily use and dose boxes and the ten categories of an SSK line. Created once at
// start-up and shown again for every line.
#include "sales/ui/mik_dlg.h"

namespace selvar {

class TMikSSKDlg : public TMikDlg {
public:
    explicit TMikSSKDlg(Session& session, QWidget* parent = nullptr) : TMikDlg(session, MikRules{true}, parent) {}
};

}  // namespace selvar
