// The input-error and About windows on their own, over a plain owner window.
#include "app/About_Unit.h"
#include "app/Error_Unit.h"

#include "tests/support/ModalWatch.h"
#include "widgets/GradientLabel.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>

namespace {

class AuxiliaryWindowTest : public ::testing::Test
{
protected:
    AuxiliaryWindowTest()
    {
        owner.setGeometry(200, 150, 382, 376);
        owner.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&owner));
    }

    // Shows `window` modally, lets `whileOpen` look at it and act, and returns what exec() gave.
    int showModal(QDialog& window, const std::function<void(QDialog&)>& whileOpen)
    {
        QDialog* shown = nullptr;
        testsupport::onNextModal([&](QWidget* modal) {
            shown = qobject_cast<QDialog*>(modal);
            ASSERT_EQ(shown, &window);
            EXPECT_TRUE(QTest::qWaitFor([shown] { return QApplication::activeWindow() == shown; }, 2000));
            whileOpen(window);
        });
        return window.exec();
    }

    QWidget owner;
};

TEST_F(AuxiliaryWindowTest, ErrorWindowLayout)
{
    TFrmError window(&owner);
    EXPECT_EQ(window.size(), QSize(213, 162));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window.heading(), "Ошибка ввода");
    EXPECT_EQ(window.message(), "Проверьте правильность введенных данных");
    auto* ok = window.findChild<QPushButton*>("BitBtn1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(ok->geometry(), QRect(72, 128, 75, 25));
    EXPECT_EQ(window.findChild<QWidget*>("Panel1")->geometry(), QRect(0, 0, 213, 162));
    EXPECT_EQ(window.findChild<QWidget*>("Image1")->geometry(), QRect(4, 3, 39, 39));
    EXPECT_EQ(window.findChild<TGradientLabel*>("GradientLabel1")->colorTo(), 6711039u);
    EXPECT_EQ(window.findChild<TGradientLabel*>("GradientLabel2")->font().pixelSize(), 13);
}

TEST_F(AuxiliaryWindowTest, ErrorWindowKeepsTheTextsLastSet)
{
    TFrmError window(&owner);
    window.setHeading("Ошибка чтения");
    window.setMessage("Неверный формат файла");
    QString heading, message;
    showModal(window, [&](QDialog&) {
        heading = window.findChild<TGradientLabel*>("GradientLabel1")->text();
        message = window.findChild<TGradientLabel*>("GradientLabel2")->text();
    });
    EXPECT_EQ(heading, "Ошибка чтения");
    EXPECT_EQ(message, "Неверный формат файла");
    EXPECT_EQ(window.heading(), "Ошибка чтения");
}

struct KeyCase
{
    const char* name;
    Qt::Key key;
    bool closes;
};

class ModalWindowKeys : public AuxiliaryWindowTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ModalWindowKeys, OkHasTheFocusEnterAndSpaceCloseEscapeDoesNot)
{
    TFrmError errorWindow(&owner);
    TFrmAbout aboutWindow(&owner);
    for (QDialog* window : {static_cast<QDialog*>(&errorWindow), static_cast<QDialog*>(&aboutWindow)}) {
        SCOPED_TRACE(window->metaObject()->className());
        bool closedByKey = false;
        QString focusedName;
        const int result = showModal(*window, [&](QDialog& shown) {
            focusedName = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            QTest::keyClick(QApplication::focusWidget(), GetParam().key);
            closedByKey = !shown.isVisible();
        });
        EXPECT_EQ(focusedName, "BitBtn1");
        EXPECT_EQ(closedByKey, GetParam().closes);
        EXPECT_EQ(result, QDialog::Accepted);
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, ModalWindowKeys,
                         ::testing::Values(KeyCase{"Enter", Qt::Key_Return, true}, KeyCase{"Space", Qt::Key_Space, true},
                                           KeyCase{"Escape", Qt::Key_Escape, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(AuxiliaryWindowTest, FirstShowingCentredOverTheOwnerLaterShowingsKeepThatPlace)
{
    TFrmError window(&owner);
    const QRect ownerFrame = owner.frameGeometry();
    const QPoint centred(ownerFrame.left() + (ownerFrame.width() - 213) / 2,
                         ownerFrame.top() + (ownerFrame.height() - 162) / 2);
    QPoint first, second;
    showModal(window, [&](QDialog& shown) { first = shown.pos(); });
    owner.move(owner.pos() + QPoint(150, 100));
    showModal(window, [&](QDialog& shown) { second = shown.pos(); });
    EXPECT_EQ(first, centred);
    EXPECT_EQ(second, centred);
}

TEST_F(AuxiliaryWindowTest, NegativePlaceRaisedToZero)
{
    owner.move(-250, -200);
    TFrmAbout window(&owner);
    QPoint shownAt;
    showModal(window, [&](QDialog& shown) { shownAt = shown.pos(); });
    EXPECT_GE(shownAt.x(), 0);
    EXPECT_GE(shownAt.y(), 0);
    EXPECT_TRUE(shownAt.x() == 0 || shownAt.y() == 0);
}

TEST_F(AuxiliaryWindowTest, AboutTextThirteenLines)
{
    TFrmAbout window(&owner);
    EXPECT_EQ(window.size(), QSize(350, 311));
    auto* memo = window.findChild<QPlainTextEdit*>("Memo1");
    ASSERT_NE(memo, nullptr);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[0], "Данная программа предназначена для оценки качества ");
    EXPECT_EQ(lines[2], "на основании показателей состояния системы крово-");
    EXPECT_EQ(lines[3], "обращения.");
    EXPECT_EQ(lines[8], "С отзывами о данной программе и с предложениями по ");
    EXPECT_EQ(lines[10], "обращайтесь по адресу: info@vornale.example.org");
    EXPECT_EQ(lines[12], "Наш сайт: https://vornale.example.org");
    for (int empty : {4, 7, 11})
        EXPECT_TRUE(lines[empty].isEmpty()) << empty;
    auto* heading = window.findChild<TGradientLabel*>("GradientLabel1");
    EXPECT_EQ(heading->text(), "О программе   ");
    EXPECT_TRUE(heading->alignment().testFlag(Qt::AlignRight));
}

struct AboutEnterCase
{
    const char* name;
    const char* focusedBefore; // given the focus first, or nullptr
    const char* focused;       // has the focus when Enter is pressed
    bool closes;
};

class AboutEnterKey : public AuxiliaryWindowTest, public ::testing::WithParamInterface<AboutEnterCase> {};

// Only the focused OK button takes Enter; reading the text and pressing Enter must not close it.
TEST_P(AboutEnterKey, EnterInTheTextDoesNotCloseTheAboutWindow)
{
    TFrmAbout window(&owner);
    bool closedByKey = false;
    showModal(window, [&](QDialog& shown) {
        if (GetParam().focusedBefore != nullptr)
            shown.findChild<QWidget*>(GetParam().focusedBefore)->setFocus(Qt::TabFocusReason);
        auto* control = shown.findChild<QWidget*>(GetParam().focused);
        ASSERT_NE(control, nullptr);
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, Qt::Key_Return);
        closedByKey = !shown.isVisible();
    });
    EXPECT_EQ(closedByKey, GetParam().closes);
}

INSTANTIATE_TEST_SUITE_P(Focus, AboutEnterKey,
                         ::testing::Values(AboutEnterCase{"OkButton", nullptr, "BitBtn1", true},
                                           AboutEnterCase{"AboutText", nullptr, "Memo1", false},
                                           AboutEnterCase{"TextThenBackToOk", "Memo1", "BitBtn1", true}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(AuxiliaryWindowTest, AboutTabOrderOkThenText)
{
    TFrmAbout window(&owner);
    QString afterTab;
    showModal(window, [&](QDialog&) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        afterTab = QApplication::focusWidget()->objectName();
    });
    EXPECT_EQ(afterTab, "Memo1");
}

} // namespace
