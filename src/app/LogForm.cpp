#include "LogForm.h"

#include "Dialogs.h"
#include "Pictures.h"
#include "PrivateMessages.h"
#include "support/ProductTexts.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pyxa {

namespace {

QTreeWidget* CreateListView(QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    list->setColumnCount(3);
    list->setHeaderLabels({"Time", "Comment", "File"});
    // Wide enough for the row image and "hh:mm:ss" in the desktop font.
    list->setColumnWidth(0, 92);
    list->setColumnWidth(1, 160);
    list->setColumnWidth(2, 240);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setSectionsClickable(false);
    list->header()->setStretchLastSection(true);
    list->setStyleSheet("QTreeView { background: #F8F9FC; gridline-color: #D8DCE4; }"
                        "QTreeView::item { border-bottom: 1px solid #E4E7ED; border-right: 1px solid #E4E7ED; }");
    return list;
}

}  // namespace

TLogForm::TLogForm(TDialogs& dialogs, QWidget* parent) : QWidget(parent, Qt::Tool), FDialogs(dialogs)
{
    setWindowTitle("Event log");
    setObjectName("LogForm");
    ListView = CreateListView(this);

    ClearBt = new QToolButton(this);
    ClearBt->setObjectName("ClearBt");
    ClearBt->setIcon(ButtonIcon(TButtonPicture::Delete));
    ClearBt->setAutoRaise(true);
    ClearBt->setToolTip("Clear log");
    ClearBt->setEnabled(false);
    connect(ClearBt, &QToolButton::clicked, this, &TLogForm::ClearBtClick);

    auto* statusBar = new QStatusBar(this);
    StatusText = new QLabel(statusBar);
    statusBar->addWidget(StatusText, 1);
    statusBar->addPermanentWidget(ClearBt);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ListView, 1);
    layout->addWidget(statusBar);
    resize(500, 200);
    setMinimumHeight(150);

    Timer.setInterval(kTimerInterval);
    connect(&Timer, &QTimer::timeout, this, &TLogForm::TimerTimer);
    Timer.start();
}

void TLogForm::Display(const QString& text, const QString& fileName, int icon, bool popupMsg, bool showLog)
{
    if (showLog && !isVisible())
        ShowOrRaise();
    if (FTextList.empty())
        StatusText->setText("Updating, wait...");
    FTextList.push_back({QDateTime::currentDateTime(), text, fileName, icon, popupMsg});
}

void TLogForm::TimerTimer()
{
    if (FTextList.empty())
        return;
    bool important = false;
    for (const TLogData& entry : FTextList) {
        AddRow(entry);
        important = important || entry.Popup;
    }
    FTextList.clear();
    StatusText->clear();
    if (isVisible())
        ShowLastRow();
    if (important)
        PostPrivateMessage(this, WM_LOGWARNING);
}

void TLogForm::ClearBtClick()
{
    ListView->clear();
    ClearBt->setEnabled(false);
}

void TLogForm::ShowOrRaise()
{
    show();
    raise();
    activateWindow();
}

bool TLogForm::event(QEvent* event)
{
    if (PrivateMessageOf(event) == WM_LOGWARNING) {
        FDialogs.TaskMessageBox(this, kProductTitle, "WARNING: There are important issues",
                                "Please check the entries in red....", 81, 4);
        return true;
    }
    return QWidget::event(event);
}

void TLogForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setMinimumWidth(width());
    ShowLastRow();
}

void TLogForm::closeEvent(QCloseEvent* event)
{
    hide();
    event->ignore();
}

void TLogForm::AddRow(const TLogData& entry)
{
    auto* row = new QTreeWidgetItem(ListView);
    row->setText(0, entry.Time.toString("hh:mm:ss"));
    row->setText(1, entry.Text);
    row->setText(2, entry.FileName);
    row->setIcon(0, LogImage(entry.Icon));
    for (int column = 0; column < 3; ++column) {
        row->setToolTip(column, row->text(column));
        if (entry.Popup)
            row->setForeground(column, QColor(0xD0, 0x00, 0x00));
    }
}

void TLogForm::ShowLastRow()
{
    const int rows = ListView->topLevelItemCount();
    if (rows == 0)
        return;
    ListView->scrollToItem(ListView->topLevelItem(rows - 1));
    ClearBt->setEnabled(true);
}

}  // namespace pyxa
