#pragma once
// The event log window: entries are queued by Display and moved into the list by a timer, so that
// long operations reporting many items do not repaint the list for each one.

#include <QDateTime>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <vector>

class QLabel;
class QToolButton;
class QTreeWidget;

namespace pyxa {

class TDialogs;

struct TLogData {
    QDateTime Time;
    QString Text;
    QString FileName;
    int Icon = 0;
    bool Popup = false;
};

class TLogForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTimerInterval = 2500;

    TLogForm(TDialogs& dialogs, QWidget* parent = nullptr);

    void Display(const QString& text, const QString& fileName, int icon, bool popupMsg, bool showLog);
    // Moves the queued entries into the list (the timer's work).
    void TimerTimer();
    void ClearBtClick();
    // Shows the window, or brings it to the front when it is already visible.
    void ShowOrRaise();

    QTreeWidget* ListView = nullptr;
    QToolButton* ClearBt = nullptr;
    QLabel* StatusText = nullptr;
    QTimer Timer;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void AddRow(const TLogData& entry);
    void ShowLastRow();

    TDialogs& FDialogs;
    std::vector<TLogData> FTextList;
};

}  // namespace pyxa
