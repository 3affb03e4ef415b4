#include "AppTests.h"
#include "CatalogueModel.h"
#include "FileIcons.h"
#include "MainForm.h"
#include "ScriptedDialogs.h"
#include "WindowFixture.h"

#include <QPixmap>
#include <QTest>
#include <QTreeView>

#include <memory>

namespace pyxa::test {

namespace {

std::unique_ptr<TWindowFolder> gTemp;

// A lookup that draws one plain colour per call and counts its calls by extension.
struct TCountingLookup {
    QStringList Asked;
    bool Fail = false;
    QIcon operator()(const QString& extension)
    {
        Asked.append(extension);
        if (Fail)
            return {};
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::red);
        return QIcon(pixmap);
    }
};

TItemInfo File(const std::string& name, int icon = 0)
{
    TItemInfo item;
    item.Name = name;
    item.Icon = icon;
    return item;
}

}  // namespace

void FileIconsTest::init()
{
    gTemp = std::make_unique<TWindowFolder>();
    QVERIFY(gTemp->IsValid());
}

void FileIconsTest::cleanup()
{
    gTemp.reset();
}

void FileIconsTest::ImagesOfItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("image");
    QTest::newRow("Icon 1 is the default file image") << "a.txt" << 1 << 5;
    QTest::newRow("Icon 2") << "a.txt" << 2 << 6;
    QTest::newRow("Icon 3 whatever the extension") << "a.exe" << 3 << 7;
    QTest::newRow("Icon 5") << "a.txt" << 5 << 9;
    QTest::newRow("Icon out of range") << "a.txt" << 6 << 5;
    QTest::newRow("negative Icon") << "a.txt" << -1 << 5;
    QTest::newRow("Icon 0 takes the type picture") << "a.txt" << 0 << 10;
}

void FileIconsTest::ImagesOfItems()
{
    QFETCH(QString, name);
    QFETCH(int, icon);
    QFETCH(int, image);
    TCountingLookup lookup;
    TFileIcons icons(std::ref(lookup));
    const TItemInfo item = File(name.toStdString(), icon);
    QCOMPARE(icons.GetFileImg(&item), image);
    QCOMPARE(icons.GetFolderImg(&item), 3);
    QCOMPARE(icons.GetFileImg(nullptr), 5);
    QCOMPARE(lookup.Asked.size(), icon == 0 ? 1 : 0);
}

void FileIconsTest::OneLookupPerExtension()
{
    TCountingLookup lookup;
    TFileIcons icons(std::ref(lookup));
    const TItemInfo upper = File("a.TXT"), lower = File("b.txt"), bare = File("README"), archive = File("c.tar.gz");
    QCOMPARE(icons.GetFileImg(&upper), 10);
    // Waiting in the cache list, an extension already has its final index.
    QCOMPARE(icons.GetFileImg(&lower), 10);
    QCOMPARE(icons.GetFileImg(&bare), 11);
    QCOMPARE(icons.Count(), 10);
    icons.TransferChache();
    QCOMPARE(icons.Count(), 12);
    QCOMPARE(icons.GetFileImg(&archive), 12);
    icons.TransferChache();
    QCOMPARE(icons.GetFileImg(&lower), 10);
    QCOMPARE(lookup.Asked, QStringList({".txt", "", ".gz"}));
    QCOMPARE(icons.CachedExtensions(), QStringList({".txt", "", ".gz"}));
    QVERIFY(!icons.Icon(12).isNull());
    QVERIFY(!icons.Icon(99).isNull());
}

void FileIconsTest::FailedLookupIsRetried()
{
    TCountingLookup lookup;
    lookup.Fail = true;
    TFileIcons icons(std::ref(lookup));
    const TItemInfo item = File("a.odt");
    QCOMPARE(icons.GetFileImg(&item), 1);
    lookup.Fail = false;
    QCOMPARE(icons.GetFileImg(&item), 10);
    QCOMPARE(lookup.Asked.size(), 2);
}

void FileIconsTest::ThemeOrOwnPictureIsNeverNull()
{
    for (const QString extension : {".txt", ".exe", "", ".zzqq-unknown"})
        QVERIFY2(!ThemeTypeIcon(extension).pixmap(16, 16).isNull(), qPrintable(extension));
}

void FileIconsTest::ChildrenResolveWhenTheirFolderOpens()
{
    QDir(gTemp->Path("")).mkpath("docs");
    gTemp->WriteFile("docs/inner.txt", "1");
    gTemp->WriteFile("top.txt", "2");
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    dialogs.FolderAnswers.push_back(gTemp->Path("docs"));
    form.AddFoldersBtClick();
    form.TreeView->setCurrentIndex({});
    dialogs.OpenAnswers.push_back({gTemp->Path("top.txt")});
    form.AddFilesBtClick();

    const QModelIndex docs = form.Model->index(0, 0);
    TTreeNode* folder = form.Model->NodeOf(docs);
    TTreeNode* top = form.Model->NodeOf(form.Model->index(1, 0));
    QVERIFY(!folder->Expanded);
    QCOMPARE(folder->ImageIndex, 3);
    QVERIFY(top->ImageIndex >= 10);
    QCOMPARE(folder->Child(0)->ImageIndex, 0);

    form.TreeView->expand(docs);
    QCOMPARE(folder->ImageIndex, 4);
    QCOMPARE(folder->Child(0)->ImageIndex, top->ImageIndex);
    QCOMPARE(form.FileIcons->CachedExtensions(), QStringList({".txt"}));
    form.TreeView->collapse(docs);
    QCOMPARE(folder->ImageIndex, 3);
    // Expanding everything reports the files as well; they keep their pictures.
    const int fileImage = top->ImageIndex;
    form.TreeView->expandAll();
    QCOMPARE(folder->ImageIndex, 4);
    QCOMPARE(top->ImageIndex, fileImage);
    QCOMPARE(folder->Child(0)->ImageIndex, fileImage);
}

}  // namespace pyxa::test
