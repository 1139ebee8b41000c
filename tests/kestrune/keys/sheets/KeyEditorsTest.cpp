#include <kestrune/data/records/DerazKV.h>
#include <kestrune/data/records/DerazUnit.h>
#include <kestrune/keys/sheets/DerazAddHashViewController.h>
#include <kestrune/keys/sheets/DerazAddListViewController.h>
#include <kestrune/keys/sheets/DerazAddListXibViewController.h>
#include <kestrune/keys/sheets/DerazAddSetViewController.h>
#include <kestrune/keys/sheets/DerazAddStringViewController.h>
#include <kestrune/keys/sheets/DerazAddZSetViewController.h>
#include <kestrune/keys/sheets/DerazKVDataDelegate.h>

#include <pavisade/forms/XXXSpinningProgressIndicator.h>
#include <pavisade/tables/TableViewExtension.h>

#include "support/WaitFor.h"

#include <QtTest/QSignalSpy>
#include <QtWidgets/QLineEdit>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using EditorFactory = std::function<DerazKeyEditorViewController *()>;

struct EditorCase
{
    const char *name;
    EditorFactory make;
};

const QList<EditorCase> &everyEditor()
{
    static const QList<EditorCase> cases = {
        {"string", [] { return new DerazAddStringViewController; }},
        {"hash", [] { return new DerazAddHashViewController; }},
        {"list", [] { return new DerazAddListXibViewController; }},
        {"list twin", [] { return new DerazAddListViewController; }},
        {"set", [] { return new DerazAddSetViewController; }},
        {"sorted set", [] { return new DerazAddZSetViewController; }},
    };
    return cases;
}

std::unique_ptr<DerazKeyEditorViewController> shown(const EditorFactory &make)
{
    std::unique_ptr<DerazKeyEditorViewController> editor(make());
    editor->view();
    editor->resize(520, 300);
    editor->show();
    return editor;
}

int columnOf(DerazKeyEditorViewController *editor, const QString &identifier)
{
    const auto &defs = editor->dataDelegate()->columnDefs();
    for (int i = 0; i < defs.size(); ++i) {
        if (defs.at(i).identifier() == identifier)
            return i;
    }
    return -1;
}

// fetchData reloads the rows that are there behind the spinner once a global queue has
// been passed, keeps the selected row, and leaves the spinner hidden; an editor closed
// meanwhile is left alone.
TEST(KeyEditorsTest, FetchDataReloadsBehindTheSpinnerAndHidesIt)
{
    for (const EditorCase &c : everyEditor()) {
        SCOPED_TRACE(c.name);
        auto editor = shown(c.make);
        editor->dataDelegate()->addNewData();
        editor->dataDelegate()->addNewData();
        QTableView *table = editor->tableView();
        Pavisade::setSelectionAtRow(table, 0);
        ASSERT_EQ(Pavisade::selectedRow(table), 0);

        QSignalSpy resets(editor->dataDelegate(), &QAbstractItemModel::modelReset);
        editor->fetchData();
        EXPECT_TRUE(editor->progressIndicator()->isVisible());
        EXPECT_EQ(resets.count(), 0) << "the reload waits for the queues";
        ASSERT_TRUE(waitFor([&] { return resets.count() == 1; }));
        EXPECT_FALSE(editor->progressIndicator()->isVisible());
        EXPECT_EQ(editor->dataDelegate()->itemCount(), 2);
        EXPECT_EQ(Pavisade::selectedRow(table), 0);

        DerazKeyEditorViewController *closed = c.make();
        closed->view();
        closed->fetchData();
        delete closed;
        ASSERT_TRUE(TestSupport::waitForGlobalQueue()); // its reload came round and left it alone
    }
}

// The twin list editor gives the same record and time to live as the
// sheets' list editor for the same rows; unlike it, emptying it resets the time to live.
TEST(KeyEditorsTest, TheTwinListEditorSavesLikeTheSheetsOneAndResetsItsTtlOnClear)
{
    struct
    {
        EditorFactory make;
        QString ttlAfterClear;
    } cases[] = {
        {[] { return new DerazAddListXibViewController; }, "30"},
        {[] { return new DerazAddListViewController; }, "-1"},
    };
    QList<DerazListKV> records;
    for (const auto &c : cases) {
        auto editor = shown(c.make);
        SCOPED_TRACE(editor->metaObject()->className());
        EXPECT_EQ(columnOf(editor.get(), "ID"), 0);
        EXPECT_EQ(columnOf(editor.get(), "value"), 1);

        editor->keyTextField()->setText(" L ");
        editor->ttlTextField()->setText("30");
        for (const char *value : {"a", "  ", " b", "a"}) {
            editor->addNewKVPair();
            const int row = int(editor->dataDelegate()->itemCount()) - 1;
            auto *model = editor->dataDelegate();
            model->setData(model->index(row, 1), QString::fromLatin1(value), Qt::EditRole);
        }
        EXPECT_EQ(editor->dataDelegate()->index(3, 0).data().toInt(), 3);
        EXPECT_FALSE(editor->dataDelegate()->flags(editor->dataDelegate()->index(3, 0)) & Qt::ItemIsEditable);
        const QVariantList kvs = editor->kvs();
        ASSERT_EQ(kvs.size(), 1);
        records.append(kvs.first().value<DerazListKV>());
        EXPECT_EQ(editor->ttl(), 30);

        editor->clearData();
        EXPECT_EQ(editor->dataDelegate()->itemCount(), 0);
        EXPECT_EQ(editor->keyTextField()->text(), " L ");
        EXPECT_EQ(editor->ttlTextField()->text(), c.ttlAfterClear);

        // A key shown for editing fills both alike.
        DerazUnit unit;
        unit.setKey("list");
        unit.setTtl(-1);
        unit.updateListValues(QByteArrayList{"x", "", "x"});
        editor->refreshViewWithData(QVariant::fromValue(unit));
        EXPECT_EQ(editor->keyTextField()->text(), "list");
        EXPECT_EQ(editor->ttlTextField()->text(), "-1");
        const auto shownUnit = editor->kvs().first().value<DerazListKV>();
        EXPECT_EQ(shownUnit.values(), (QByteArrayList{"x", "", "x"})) << "loaded elements are kept";
    }
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records.at(0).key(), QByteArray(" L "));
    EXPECT_EQ(records.at(0).values(), (QByteArrayList{"a", " b", "a"}));
    EXPECT_EQ(records.at(1).key(), records.at(0).key());
    EXPECT_EQ(records.at(1).values(), records.at(0).values());
}

} // namespace
