#pragma once
// The about box: a borderless window, centred on the screen, that any of its surfaces drags.

#include <QDialog>
#include <QPoint>

namespace pyxa {

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPoint FGrip;  // where the drag started, relative to the window
};

}  // namespace pyxa
