#include "MainForm.h"

#include "CatalogueModel.h"
#include "FileIcons.h"
#include "InterfaceFont.h"
#include "LogForm.h"
#include "Pictures.h"
#include "PrivateMessages.h"
#include "ScrollLock.h"
#include "StatusPanels.h"
#include "TreePictures.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>
#include <QVBoxLayout>

namespace pyxa {

namespace {

const QSize kSmallestSize(320, 430);
// Hints stay up long enough to read the two-line ones.
constexpr int kHintDuration = 10000;

void ApplyHintColours()
{
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, QColor(0xE4, 0xE7, 0xED));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(palette);
}

// The Scroll Lock light can be driven only through the X server the window itself uses.
std::unique_ptr<TScrollLock> NewScrollLock()
{
    const QByteArray display = qgetenv("DISPLAY");
    const bool x11 = QGuiApplication::platformName() == "xcb" && !display.isEmpty();
    return std::make_unique<TScrollLock>(x11 ? display.constData() : nullptr);
}

}  // namespace

TMainForm::TMainForm(TDialogs& dialogs, QStringList arguments, QWidget* parent)
    : QMainWindow(parent), Dialogs(dialogs), Host(*this), Container(Host), FileIcons(std::make_unique<TFileIcons>()),
      FArguments(std::move(arguments))
{
    setObjectName("MainForm");
    setFont(InterfaceFont());
    ApplyHintColours();
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateTree(central);
    layout->addWidget(TreeView, 1);
    layout->addWidget(CreateRightPanel(central));
    setCentralWidget(central);
    CreatePopups();
    CreateStatusBar();
    LogForm = new TLogForm(Dialogs, this);
    // Opens roomier than its smallest useful size, which stays the minimum.
    setMinimumSize(kSmallestSize);
    resize(560, 480);
    KeyTimer = new QTimer(this);
    KeyTimer->setInterval(500);
    connect(KeyTimer, &QTimer::timeout, this, &TMainForm::KeyTimerTimer);
    ScrollLock = NewScrollLock();
    UpdateTitle();
    UpdateStatusImages();
    UpdateCommandState(false);
    // A window started for one file goes straight to its catalogue.
    LogoPanel->setVisible(FArguments.size() != 1);
}

TMainForm::~TMainForm()
{
    Container.WorkingFolder.Remove();
}

void TMainForm::CreateTree(QWidget* parent)
{
    Model = new TCatalogueModel(Container.Tree, *FileIcons, this);
    TreeView = new QTreeView(parent);
    TreeView->setObjectName("TreeView");
    TreeView->setModel(Model);
    TreeView->setHeaderHidden(true);
    TreeView->setFrameShape(QFrame::NoFrame);
    TreeView->setIndentation(19);
    TreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView->setContextMenuPolicy(Qt::CustomContextMenu);
    TreeView->setStyleSheet("QTreeView { background: #F8F9FC; }");
    TreeView->setFont(PreferCalibri(TreeView->font()));
    TreeView->installEventFilter(this);
    TreeView->viewport()->installEventFilter(this);
    connect(TreeView->selectionModel(), &QItemSelectionModel::currentChanged, this, &TMainForm::TreeViewChange);
    connect(TreeView, &QTreeView::expanded, this, &TMainForm::TreeViewExpanded);
    connect(TreeView, &QTreeView::collapsed, this, &TMainForm::TreeViewCollapsed);
    connect(TreeView, &QTreeView::customContextMenuRequested, this, &TMainForm::FilePopupPopup);
    WaitPanel = new TWaitPanel(TreeView);
    connect(WaitPanel, &TWaitPanel::Clicked, this, &TMainForm::WaitPanelMouseDown);
    LogoPanel = new QLabel(TreeView);
    LogoPanel->setObjectName("LogoPanel");
    LogoPanel->setPixmap(LogoPicture());
    LogoPanel->setFixedSize(128, 128);
    LogoPanel->installEventFilter(this);
    // Faded, so that it stays in the background of the catalogue.
    auto* fade = new QGraphicsOpacityEffect(LogoPanel);
    fade->setOpacity(0.75);
    LogoPanel->setGraphicsEffect(fade);
}

QToolButton* TMainForm::AddSpeedButton(QWidget* panel, const char* name, const QString& hint, TButtonPicture picture)
{
    auto* button = new QToolButton(panel);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setToolTipDuration(kHintDuration);
    button->setIcon(ButtonIcon(picture));
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(true);
    button->setFixedSize(26, 24);
    button->setCursor(Qt::PointingHandCursor);
    panel->layout()->addWidget(button);
    return button;
}

QWidget* TMainForm::CreateRightPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName("RightPanel");
    panel->setFixedWidth(30);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(2, 4, 2, 4);
    column->setSpacing(2);
    using P = TButtonPicture;
    CreateFolderBt = AddSpeedButton(panel, "CreateFolderBt", "Create new folder (key Ins)", P::CreateFolder);
    AddFilesBt = AddSpeedButton(panel, "AddFilesBt", "Add file/s (key Shift+Ins)", P::AddFiles);
    AddFoldersBt = AddSpeedButton(panel, "AddFoldersBt", "Add folders (key Ctrl+Ins)", P::AddFolders);
    GetBt = AddSpeedButton(panel, "GetBt", "Extract files and folders", P::Extract);
    DeleteBt = AddSpeedButton(panel, "DeleteBt", "Delete files and folders (key Del)", P::Delete);
    EncryptBt = AddSpeedButton(panel, "EncryptBt", "Encrypt or protect files and folders", P::Encrypt);
    ColorBt = AddSpeedButton(panel, "ColorBt", "Change color (key F6)", P::Colour);
    CommentsBt = AddSpeedButton(panel, "CommentsBt", "Comments (key F7)", P::Comments);
    AllowRearrangBt = AddSpeedButton(panel, "AllowRearrangBt",
                                     "Allow manual rearrangement (Drag And Drop) of files and folders.\n"
                                     "It will disable Drag And Drop from/to external sources.",
                                     P::Rearrange);
    AllowRearrangBt->setCheckable(true);
    column->addSpacing(8);
    OpenBt = AddSpeedButton(panel, "OpenBt", "Load Pyxa file (key Ctrl+O)", P::Open);
    SaveBt = AddSpeedButton(panel, "SaveBt", "Save Pyxa file (key Ctrl+S)", P::Save);
    OptionsBt = AddSpeedButton(panel, "OptionsBt", "Additional options...", P::Options);
    column->addStretch(1);
    AboutBt = AddSpeedButton(panel, "AboutBt", "About...", P::About);
    for (QToolButton* button : {GetBt, DeleteBt, ColorBt, CommentsBt, SaveBt})
        button->setEnabled(false);

    connect(AddFilesBt, &QToolButton::clicked, this, &TMainForm::AddFilesBtClick);
    connect(AddFoldersBt, &QToolButton::clicked, this, &TMainForm::AddFoldersBtClick);
    connect(GetBt, &QToolButton::clicked, this, &TMainForm::GetBtClick);
    connect(EncryptBt, &QToolButton::clicked, this, [this] { ShowPopup(EncryptPopup, EncryptBt); });
    connect(OpenBt, &QToolButton::clicked, this, &TMainForm::OpenBtClick);
    connect(SaveBt, &QToolButton::clicked, this, &TMainForm::SaveBtClick);
    connect(OptionsBt, &QToolButton::clicked, this, [this] { ShowPopup(OptionsPopup, OptionsBt); });
    connect(AboutBt, &QToolButton::clicked, this, &TMainForm::AboutBtClick);
    return panel;
}

void TMainForm::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    StatusPanel1 = new TStatusImagePanel(bar);
    StatusPanel2 = new TStatusImagePanel(bar);
    StatusPanel3 = new QLabel(bar);
    StatusPanel3->setObjectName("StatusPanel3");
    StatusPanel3->setMinimumWidth(40);
    bar->addWidget(StatusPanel1);
    bar->addWidget(StatusPanel2);
    bar->addWidget(StatusPanel3, 1);
}

bool TMainForm::event(QEvent* event)
{
    switch (PrivateMessageOf(event)) {
    case WM_STARTUP:
        Startup();
        return true;
    case WM_OPENFILE:
        LoadContainerMessage();
        return true;
    case WM_SAVEFILE: {
        const auto* message = static_cast<const TPrivateMessage*>(event);
        SaveFileMessage(message->WParam, message->LParam);
        return true;
    }
    default:
        return QMainWindow::event(event);
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TreeView && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return TreeViewKeyDown(key->key(), key->modifiers()) || QMainWindow::eventFilter(watched, event);
    }
    // The panels over the tree keep their places as the tree changes size.
    if (watched == TreeView && event->type() == QEvent::Resize) {
        CenterWaitPanel();
        PlaceLogoPanel();
    }
    if (watched == LogoPanel && event->type() == QEvent::MouseButtonPress) {
        LogoImageMouseDown();
        return true;
    }
    if (watched == TreeView->viewport() && event->type() == QEvent::MouseButtonPress) {
        // A click beside every node leaves nothing selected: the commands then act on the whole catalogue.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!TreeView->indexAt(mouse->position().toPoint()).isValid()) {
            TreeView->clearSelection();
            TreeView->setCurrentIndex({});
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::TreeViewKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers wanted = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key == Qt::Key_Insert && wanted == Qt::ShiftModifier)
        AddFilesBtClick();
    else if (key == Qt::Key_Insert && wanted == Qt::ControlModifier)
        AddFoldersBtClick();
    else if (key == Qt::Key_O && wanted == Qt::ControlModifier && OpenBt->isEnabled())
        OpenBtClick();
    else if (key == Qt::Key_S && wanted == Qt::ControlModifier && SaveBt->isEnabled())
        SaveBtClick();
    else if (key == Qt::Key_F5 && wanted == Qt::NoModifier)
        RefreshTree();
    else if ((key == Qt::Key_Return || key == Qt::Key_Enter) && wanted == Qt::NoModifier &&
             Model->NodeOf(TreeView->currentIndex()) && Model->NodeOf(TreeView->currentIndex())->IsFolder())
        TreeView->setExpanded(TreeView->currentIndex(), !TreeView->isExpanded(TreeView->currentIndex()));
    else
        return false;
    return true;
}

void TMainForm::RefreshTree()
{
    TreeView->doItemsLayout();
    TreeView->viewport()->update();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FInitialized)
        return;
    FInitialized = true;
    PostPrivateMessage(this, WM_STARTUP);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // Closing under a running operation would free the catalogue it works on.
    if (FBusy) {
        event->ignore();
        return;
    }
    if (!FCloseConfirmed && Container.Modified() && !Container.Tree.Empty()) {
        const int answer = AskToSaveChanges();
        if (answer == mrCancel) {
            event->ignore();
            return;
        }
        if (answer == mrYes) {
            event->ignore();
            PostPrivateMessage(this, WM_SAVEFILE, 1, 0);
            return;
        }
    }
    CloseMainWindow();
    event->accept();
}

void TMainForm::PlaceLogoPanel()
{
    const QRect area = TreeView->contentsRect();
    LogoPanel->move(area.right() - LogoPanel->width() - 4, area.bottom() - LogoPanel->height() - 4);
}

void TMainForm::CenterWaitPanel()
{
    WaitPanel->move((TreeView->width() - WaitPanel->width()) / 2, (TreeView->height() - WaitPanel->height()) / 2);
}

}  // namespace pyxa
