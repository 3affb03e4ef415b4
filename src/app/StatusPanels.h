#pragma once
// The small pieces of the main window's status bar and tree area: an image panel and the wait panel.

#include <QFrame>
#include <QWidget>

class QLabel;

namespace pyxa {

// A 16 px status-bar panel showing one status image.
class TStatusImagePanel : public QWidget {
    Q_OBJECT
public:
    explicit TStatusImagePanel(QWidget* parent = nullptr);
    void SetImage(int index);
    int Image() const { return FImage; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int FImage = 0;
};

// "click to cancel": shown over the tree while a long operation runs.
class TWaitPanel : public QFrame {
    Q_OBJECT
public:
    explicit TWaitPanel(QWidget* parent = nullptr);
    QLabel* WaitLabel = nullptr;

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace pyxa
