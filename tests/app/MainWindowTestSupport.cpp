#include "tests/app/MainWindowTestSupport.h"

#include "app/ShellAccessibility.h"
#include "tests/support/ModalWatch.h"
#include "widgets/Fonts.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace apptest {

bool WaitUntilActive(QWidget* window)
{
    // QWidget::isActiveWindow() also answers true for a window whose transient parent is active.
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 2000);
}

QString ScriptedFileChooser::chooseFileToOpen(QWidget*)
{
    ++openCalls;
    return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
}

QString ScriptedFileChooser::chooseFileToSave(QWidget*)
{
    ++saveCalls;
    return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}

Subject AcceptedSubject()
{
    return {QStringLiteral("Иванов Иван"), "120", "80", "70", false, "70", "175", "30"};
}

MainWindowTest::MainWindowTest() : MainWindowTest(SeparatorSource::FixedComma) {}

MainWindowTest::MainWindowTest(SeparatorSource separators)
    : m_deviceFactory([this] {
          auto device = std::make_unique<SimulatedWaveOutDevice>();
          device->setAutoComplete(true);
          m_device = device.get();
          return std::unique_ptr<WaveOutDevice>(std::move(device));
      })
{
    if (separators == SeparatorSource::FixedComma)
        m_comma.emplace(QChar(u','), QChar(0x00A0));
    RegisterFontSubstitutes();
    InstallShellAccessibility();
    m_windows = std::make_unique<ApplicationWindows>();
    auto chooser = std::make_unique<ScriptedFileChooser>();
    files = chooser.get();
    form().setFileChooser(std::move(chooser));
    form().show();
    form().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form()));
}

MainWindowTest::~MainWindowTest() = default;

TAdvEdit* MainWindowTest::edit(int number)
{
    return form().findChild<TAdvEdit*>(QStringLiteral("AdvEdit%1").arg(number));
}

QRadioButton* MainWindowTest::radio(int number)
{
    return form().findChild<QRadioButton*>(QStringLiteral("RadioButton%1").arg(number));
}

QPushButton* MainWindowTest::calcButton()
{
    return form().findChild<QPushButton*>(QStringLiteral("BtnCalc"));
}

QLabel* MainWindowTest::label(const char* name)
{
    return form().findChild<QLabel*>(QString::fromLatin1(name));
}

TGradientLabel* MainWindowTest::levelLabel()
{
    return form().findChild<TGradientLabel*>(QStringLiteral("Label16"));
}

TAdvProgressBar* MainWindowTest::bar()
{
    return form().findChild<TAdvProgressBar*>(QStringLiteral("AdvProgressBar1"));
}

QAction* MainWindowTest::action(const char* name)
{
    return form().findChild<QAction*>(QString::fromLatin1(name));
}

QToolButton* MainWindowTest::toolButton(const char* actionName)
{
    auto* toolBar = form().findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    return qobject_cast<QToolButton*>(toolBar->widgetForAction(action(actionName)));
}

QString MainWindowTest::statusText()
{
    return form().findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->currentMessage();
}

QWidget* MainWindowTest::focused()
{
    // A window manager gives the activation back to the main window when a modal window
    // closes; the offscreen platform has none, so the test does it.
    if (QApplication::activeWindow() != &form())
        form().activateWindow();
    EXPECT_TRUE(WaitUntilActive(&form()));
    return QApplication::focusWidget();
}

void MainWindowTest::runUntilIdle()
{
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
}

bool MainWindowTest::saveEnabled()
{
    runUntilIdle();
    return action("AcSave")->isEnabled();
}

void MainWindowTest::typeInto(int field, const QString& text)
{
    TAdvEdit* target = edit(field);
    click(target);
    target->selectAll();
    typeText(target, text);
}

void MainWindowTest::typeText(QWidget* widget, const QString& text)
{
    // One key press per character, Cyrillic included (QTest::keyClicks knows ASCII only).
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

void MainWindowTest::enterSubject(const Subject& subject)
{
    typeInto(1, subject.name);
    typeInto(2, subject.systolic);
    typeInto(3, subject.diastolic);
    typeInto(4, subject.pulse);
    click(radio(subject.female ? 2 : 1));
    typeInto(5, subject.weight);
    typeInto(6, subject.height);
    typeInto(7, subject.age);
}

void MainWindowTest::click(QWidget* widget)
{
    // Through the window system, as a real click arrives (focus, grab and activation included).
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      widget->mapTo(window, widget->rect().center()));
}

void MainWindowTest::pressKey(QWidget* widget, Qt::Key key)
{
    QTest::keyClick(widget, key);
}

void MainWindowTest::trigger(const char* actionName)
{
    // The examiner's hand is slower than the idle-time update of the Save button.
    runUntilIdle();
    click(toolButton(actionName));
}

void MainWindowTest::expectErrorWindow(ErrorWindowSeen& seen)
{
    testsupport::onNextModal([&seen](QWidget* modal) {
        auto* window = qobject_cast<TFrmError*>(modal);
        ASSERT_NE(window, nullptr) << "another modal window opened: " << modal->metaObject()->className();
        EXPECT_TRUE(WaitUntilActive(window));
        EXPECT_EQ(QApplication::focusWidget(), window->findChild<QWidget*>(QStringLiteral("BitBtn1")));
        seen.shown = true;
        seen.heading = window->findChild<TGradientLabel*>(QStringLiteral("GradientLabel1"))->text();
        seen.message = window->findChild<TGradientLabel*>(QStringLiteral("GradientLabel2"))->text();
    });
}

QString MainWindowTest::pathOf(const QString& name) const
{
    return m_folder.filePath(name);
}

QString MainWindowTest::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(pathOf(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

QByteArray MainWindowTest::readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void MainWindowTest::failSoundDevice()
{
    m_device->failCall(SimulatedWaveOutDevice::Call::Query, wrNoDriver);
    m_device->failCall(SimulatedWaveOutDevice::Call::Open, wrNoDriver);
}

int MainWindowTest::soundStarts() const
{
    return m_device == nullptr ? 0 : m_device->callCount(SimulatedWaveOutDevice::Call::Open);
}

} // namespace apptest
