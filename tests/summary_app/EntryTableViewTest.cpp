#include "summary_app/EntryCellDelegate.h"
#include "summary_app/EntryTableView.h"
#include "tests/summary_app/Keys.h"
#include "widgets/AdvEdit.h"

#include <QApplication>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testkeys::Press;
using testkeys::Type;

// Name, sex, systolic, then a result no one types.
enum Col { Name, SexCol, Systolic, Result, Cols };

std::optional<EntryField> FieldOf(int column)
{
    if (column == Name)
        return EntryField::FullName;
    if (column == Systolic)
        return EntryField::Systolic;
    return std::nullopt;
}

class EntryTableViewTest : public ::testing::Test
{
protected:
    EntryTableViewTest() : model(1, Cols), delegate(FieldOf)
    {
        for (int r = 0; r < model.rowCount(); ++r)
            lockResult(r);
        connect();
        view.setModel(&model);
        view.setItemDelegate(&delegate);
        view.setSexColumn(SexCol);
        view.setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
        view.show();
        view.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
        view.setCurrentIndex(model.index(0, 0));
        view.setFocus();
    }
    void connect()
    {
        QObject::connect(&model, &QStandardItemModel::rowsInserted, &model,
                         [this](const QModelIndex&, int first, int last) {
                             for (int r = first; r <= last; ++r)
                                 lockResult(r);
                         });
    }
    void lockResult(int row)
    {
        auto* item = new QStandardItem;
        item->setEditable(false);
        model.setItem(row, Result, item);
    }
    QString cell(int row, int column) const { return model.index(row, column).data().toString(); }

    QStandardItemModel model;
    EntryCellDelegate delegate;
    EntryTableView view;
};

TEST_F(EntryTableViewTest, TypingARowMovesCellByCellAndOpensTheNextRow)
{
    Type(QStringLiteral("Иванов"));
    Press(Qt::Key_Tab);
    Type(QStringLiteral("ж"));
    Press(Qt::Key_Tab);
    Type(QStringLiteral("12a0"));
    // Enter on the row's last entry cell passes the result and opens a new row.
    Press(Qt::Key_Return);
    EXPECT_EQ(cell(0, Name), QStringLiteral("Иванов"));
    EXPECT_EQ(cell(0, SexCol), QStringLiteral("ж")); // handed to the model as typed, no editor
    EXPECT_EQ(cell(0, Systolic), QStringLiteral("120"));
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(view.currentIndex(), model.index(1, Name));
    // Typing over a filled cell replaces it; Shift+Tab goes back across the row break.
    Type(QStringLiteral("Петров"));
    Press(Qt::Key_Return);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(view.currentIndex(), model.index(0, Systolic));
    Type(QStringLiteral("95"));
    Press(Qt::Key_Tab);
    EXPECT_EQ(cell(0, Systolic), QStringLiteral("95"));
    EXPECT_EQ(cell(1, Name), QStringLiteral("Петров"));
    EXPECT_EQ(view.currentIndex(), model.index(1, Name));
    // Delete clears the cell without opening it.
    Press(Qt::Key_Delete);
    EXPECT_EQ(cell(1, Name), QString());
    EXPECT_EQ(model.rowCount(), 2);
}

TEST(EntryCellDelegateTest, EveryEntryFieldsEditorHasTheFieldsRules)
{
    for (const EntryFieldDefinition& definition : EntryFieldDefinitions()) {
        TAdvEdit editor;
        ConfigureEntryEditor(editor, definition.field);
        EXPECT_EQ(editor.editType(), definition.type) << int(definition.field);
        EXPECT_EQ(editor.precision(), definition.precision) << int(definition.field);
        EXPECT_EQ(editor.maxLength(), definition.maxLength) << int(definition.field);
        EXPECT_EQ(editor.canUndo(), EntryFieldRules(definition.field).canUndo) << int(definition.field);
    }
}

} // namespace
