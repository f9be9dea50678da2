#pragma once
#include <QWidget>

class QProgressBar;

namespace selvar {

// "Yükleniyor": shown while the long-lived windows are created.
class TResimForm : public QWidget {
    Q_OBJECT
public:
    explicit TResimForm(QWidget* parent = nullptr);
    ~TResimForm() override;
    // The gauge runs 0..100 in four runs with short busy pauses: 4 x 10, 5 x 4, 10 x 1, 10 x 3.
    void runGauge();
    int gauge() const;

private:
    QProgressBar* gauge_;
};

}  // namespace selvar
