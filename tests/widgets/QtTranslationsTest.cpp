#include "widgets/QtTranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Qt's Russian texts installed for one test, removed afterwards so other tests see Qt's own.
class RussianQtTexts
{
public:
    RussianQtTexts() : m_translator(LoadQtRussianTranslations())
    {
        if (m_translator)
            QApplication::installTranslator(m_translator.get());
    }
    ~RussianQtTexts()
    {
        if (m_translator)
            QApplication::removeTranslator(m_translator.get());
    }
    bool loaded() const { return m_translator != nullptr; }

private:
    std::unique_ptr<QTranslator> m_translator;
};

QString withoutMnemonic(QString text)
{
    return text.remove(u'&');
}

TEST(QtTranslations, StandardButtonsSpeakRussian)
{
    RussianQtTexts russian;
    ASSERT_TRUE(russian.loaded()) << "qtbase_ru.qm not found in " << QtTranslationsFolder().toStdString();
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes
                             | QDialogButtonBox::No);
    EXPECT_EQ(withoutMnemonic(buttons.button(QDialogButtonBox::Cancel)->text()), "Отмена");
    EXPECT_EQ(withoutMnemonic(buttons.button(QDialogButtonBox::Yes)->text()), "Да");
    EXPECT_EQ(withoutMnemonic(buttons.button(QDialogButtonBox::No)->text()), "Нет");
}

TEST(QtTranslations, FileDialogsSpeakRussian)
{
    RussianQtTexts russian;
    ASSERT_TRUE(russian.loaded());
    struct Row { const char* name; QFileDialog::AcceptMode mode; QString accept; };
    const Row rows[] = {
        {"open", QFileDialog::AcceptOpen, "Открыть"},
        {"save", QFileDialog::AcceptSave, "Сохранить"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(row.mode);
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        EXPECT_EQ(withoutMnemonic(buttons->button(QDialogButtonBox::Cancel)->text()), "Отмена");
        QStringList labels;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            labels << withoutMnemonic(label->text());
        EXPECT_TRUE(labels.contains("Имя файла:")) << labels.join(" | ").toStdString();
        QStringList buttonTexts;
        for (QAbstractButton* button : buttons->buttons())
            buttonTexts << withoutMnemonic(button->text());
        EXPECT_TRUE(buttonTexts.contains(row.accept)) << buttonTexts.join(" | ").toStdString();
    }
}

TEST(QtTranslations, MissingTranslationLeavesQtsOwnTexts)
{
    QTemporaryDir empty;
    EXPECT_EQ(LoadQtRussianTranslations(empty.path()), nullptr);
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_EQ(withoutMnemonic(buttons.button(QDialogButtonBox::Cancel)->text()), "Cancel");
}

} // namespace
