#include "AppTests.h"
#include "CatalogueModel.h"
#include "FileIcons.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QFont>
#include <QTest>

namespace pyxa::test {

namespace {

std::unique_ptr<TItemInfo> Item(const std::string& name, bool folder)
{
    auto item = std::make_unique<TItemInfo>();
    item->Name = name;
    item->IsFolder = folder;
    return item;
}

// docs/ (a.txt, sub/ (b.txt)), c.txt
void Fill(TCatalogue& tree)
{
    TTreeNode* docs = tree.Add(nullptr, Item("docs", true));
    tree.Add(docs, Item("a.txt", false));
    TTreeNode* sub = tree.Add(docs, Item("sub", true));
    tree.Add(sub, Item("b.txt", false));
    tree.Add(nullptr, Item("c.txt", false));
}

}  // namespace

void CatalogueModelTest::PassesTheModelTester()
{
    TCatalogue tree;
    TFileIcons icons;
    TCatalogueModel model(tree, icons);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.BeginEngineChange();
    Fill(tree);
    model.EndEngineChange();
    QCOMPARE(model.rowCount(), 2);
    const QModelIndex docs = model.index(0, 0);
    QCOMPARE(model.rowCount(docs), 2);
    const QModelIndex sub = model.index(1, 0, docs);
    QCOMPARE(sub.data().toString(), QString("sub"));
    const QModelIndex b = model.index(0, 0, sub);
    QCOMPARE(model.parent(b), sub);
    QCOMPARE(model.IndexOf(model.NodeOf(b)), b);
    QVERIFY(!model.index(2, 0).isValid());
    model.BeginEngineChange();
    tree.Delete(model.NodeOf(docs));
    model.EndEngineChange();
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.index(0, 0).data().toString(), QString("c.txt"));
}

void CatalogueModelTest::DrawsItemsAsTheirRecordsSay()
{
    TCatalogue tree;
    TFileIcons icons;
    TCatalogueModel model(tree, icons);
    model.BeginEngineChange();
    TTreeNode* node = tree.Add(nullptr, Item("secret.txt", false));
    node->Item().Color = 0x00302010;  // blue 0x30, green 0x20, red 0x10
    node->Item().Encrypted = true;
    node->Item().Comments = "note";
    tree.Add(nullptr, Item("plain.txt", false));
    model.EndEngineChange();

    const QModelIndex marked = model.index(0, 0);
    QCOMPARE(marked.data(Qt::ForegroundRole).value<QColor>(), QColor(0x10, 0x20, 0x30));
    QCOMPARE(marked.data(Qt::BackgroundRole).value<QColor>(), QColor(0xF8, 0xF9, 0xFC));
    const QFont markedFont = marked.data(Qt::FontRole).value<QFont>();
    QVERIFY(markedFont.italic());
    QVERIFY(markedFont.bold());
    const QFont plainFont = model.index(1, 0).data(Qt::FontRole).value<QFont>();
    QVERIFY(!plainFont.italic());
    QVERIFY(!plainFont.bold());
}

}  // namespace pyxa::test
