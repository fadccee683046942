#pragma once

#include "app/ApplicationWindows.h"
#include "app/FileChooser.h"
#include "audio/SimulatedWaveOutDevice.h"
#include "audio/WaveOutDevice.h"
#include "core/RegionalSettings.h"
#include "widgets/AdvEdit.h"
#include "widgets/AdvProgressBar.h"
#include "widgets/GradientLabel.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace apptest {

// File dialogs that answer from a script: each call takes the next answer (empty = cancelled).
class ScriptedFileChooser final : public FileChooser
{
public:
    QString chooseFileToOpen(QWidget*) override;
    QString chooseFileToSave(QWidget*) override;

    QStringList openAnswers;
    QStringList saveAnswers;
    int openCalls = 0;
    int saveCalls = 0;
};

// What the input-error window showed while it was open.
struct ErrorWindowSeen
{
    bool shown = false;
    QString heading;
    QString message;
};

// Waits until `window` itself is the active window.
bool WaitUntilActive(QWidget* window);

// One subject's entry texts, in tab order.
struct Subject
{
    QString name, systolic, diastolic, pulse;
    bool female = false;
    QString weight, height, age;
};

// The running program: the three windows as start-up creates them, shown, with a simulated
// sound device, "," as decimal separator, scripted file dialogs and a temporary folder.
class MainWindowTest : public ::testing::Test
{
public:
    MainWindowTest();
    ~MainWindowTest() override;

    // Where the separators come from: a fixed "," provider, or the real process locale alone.
    enum class SeparatorSource { FixedComma, ProcessLocale };
    explicit MainWindowTest(SeparatorSource separators);

    TForm1& form() { return m_windows->Form1; }
    TFrmError& errorWindow() { return m_windows->FrmError; }
    TFrmAbout& aboutWindow() { return m_windows->FrmAbout; }

    TAdvEdit* edit(int number);
    QRadioButton* radio(int number);
    QPushButton* calcButton();
    QLabel* label(const char* name);
    TGradientLabel* levelLabel();
    TAdvProgressBar* bar();
    QAction* action(const char* name);
    QToolButton* toolButton(const char* actionName);
    QString statusText();
    QWidget* focused();

    // Lets the event loop run until it is about to wait, so the idle-time update runs.
    void runUntilIdle();
    bool saveEnabled();

    // Gives the field the focus with a mouse click, selects its text and types `text`.
    void typeInto(int field, const QString& text);
    static void typeText(QWidget* widget, const QString& text);
    void enterSubject(const Subject& subject);
    void click(QWidget* widget);
    void pressKey(QWidget* widget, Qt::Key key);
    void trigger(const char* actionName);

    // Expects the input-error window to open during the next action and records its texts.
    void expectErrorWindow(ErrorWindowSeen& seen);

    QString pathOf(const QString& name) const;
    QString writeFile(const QString& name, const QByteArray& bytes) const;
    static QByteArray readFile(const QString& path);

    // How often the warning clip was started on the simulated device.
    int soundStarts() const;
    // Makes the simulated device refuse the clip, as a machine without sound would.
    void failSoundDevice();

    ScriptedFileChooser* files = nullptr;

private:
    std::optional<ScopedRegionalSettings> m_comma;
    SimulatedWaveOutDevice* m_device = nullptr;
    ScopedWaveOutDeviceFactory m_deviceFactory;
    QTemporaryDir m_folder;
    std::unique_ptr<ApplicationWindows> m_windows;
};

// 120/80, pulse 70, weight 70, height 175, age 30, male: an accepted subject.
Subject AcceptedSubject();

} // namespace apptest
