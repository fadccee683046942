#include "app/Unit_main.h"

#include "app/About_Unit.h"
#include "app/Error_Unit.h"
#include "app/FailureReport.h"
#include "app/StatusBarHints.h"
#include "app/TransparentPicture.h"
#include "app/WindowPlacement.h"
#include "core/Assessment.h"
#include "core/Calculation.h"
#include "core/NumberText.h"
#include "records/RecordFile.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QScopeGuard>
#include <QScreen>
#include <array>
#include <stdexcept>

namespace {

const QString kInputErrorHeading = QStringLiteral("Ошибка ввода");
const QString kInputErrorMessage = QStringLiteral("Проверьте правильность введенных данных");
const QString kReadErrorHeading = QStringLiteral("Ошибка чтения");
const QString kFormatErrorMessage = QStringLiteral("Неверный формат файла");
const QString kFileNotFoundMessage = QStringLiteral("Файл не найден: %1");

// The warning clip the program carries; it sounds when input is rejected.
QByteArray WarningClip()
{
    QFile clip(QStringLiteral(":/assets/warning.wav"));
    if (!clip.open(QIODevice::ReadOnly))
        return {};
    return clip.readAll();
}

// Input that does not convert or is not acceptable takes one road with any other failure:
// one handler serves them all.
class RejectedInput : public std::runtime_error
{
public:
    RejectedInput() : std::runtime_error("input not acceptable") {}
};

bool IsEnterKey(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent), AudioPlayer1(this), m_fileChooser(std::make_unique<RecordFileDialogs>())
{
    ui.setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    AudioPlayer1.setObjectName(QStringLiteral("AudioPlayer1"));
    AudioPlayer1.readData(WarningClip());
    ui.BtnCalc->setIcon(QIcon(LoadTransparentPicture(QStringLiteral(":/assets/tick.png"))));
    // A .ui file holds whole point sizes only; the bar's font is 13 pixels high.
    QFont barFont = ui.AdvProgressBar1->font();
    barFont.setPixelSize(13);
    ui.AdvProgressBar1->setFont(barFont);
    arrangeToolBar();
    fitLabelsToText();
    m_hints = new StatusBarHints(this, ui.StatusBar1);

    connect(ui.BtnCalc, &QPushButton::clicked, this, &TForm1::BtnCalcClick);
    ui.BtnCalc->installEventFilter(this);
    for (QRadioButton* button : {ui.RadioButton1, ui.RadioButton2}) {
        // Fires for a click and for a command checking the button, whenever the choice changes.
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            keepCheckedSexTheTabStop();
            if (checked)
                CheckSexChange();
        });
        button->installEventFilter(this);
    }
    // The toolkit makes whichever radio button last had the focus the group's tab stop; once the
    // focus has moved on, the checked one is made the tab stop again.
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        for (QWidget* button : {static_cast<QWidget*>(ui.RadioButton1), static_cast<QWidget*>(ui.RadioButton2)})
            if (old == button || now == button)
                keepCheckedSexTheTabStop();
    });
    keepCheckedSexTheTabStop();
    for (TAdvEdit* field : entryFields())
        connect(field, &TAdvEdit::changed, this, &TForm1::SomeModified);
    bindCommand(ui.AcNew, &TForm1::AcNewExecute);
    bindCommand(ui.AcOpen, &TForm1::AcOpenExecute);
    bindCommand(ui.AcSave, &TForm1::AcSaveExecute);
    bindCommand(ui.AcAbout, &TForm1::AcAboutExecute);
    // The idle-time update: whenever the event loop has handled its input and is about to wait.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TForm1::AcSaveUpdate);

    FormCreate();
}

TForm1::~TForm1()
{
    // Destroying the children moves the focus; by then this is no longer a whole TForm1.
    disconnect(m_focusWatch);
}

void TForm1::setAuxiliaryWindows(TFrmError* frmError, TFrmAbout* frmAbout)
{
    m_frmError = frmError;
    m_frmAbout = frmAbout;
}

void TForm1::setFileChooser(std::unique_ptr<FileChooser> chooser)
{
    m_fileChooser = std::move(chooser);
}

void TForm1::bindCommand(QAction* action, void (TForm1::*execute)())
{
    // A failure a command does not handle ends it and goes to the application's reporter.
    connect(action, &QAction::triggered, this, [this, execute] { RunReportingFailures([this, execute] { (this->*execute)(); }); });
}

void TForm1::arrangeToolBar()
{
    // Buttons 23 pixels wide side by side from the left edge, an 8-pixel separator.
    ui.ToolBar1->layout()->setContentsMargins(0, 0, 0, 0);
    ui.ToolBar1->layout()->setSpacing(0);
    for (QAction* action : ui.ToolBar1->actions()) {
        QWidget* item = ui.ToolBar1->widgetForAction(action);
        if (action->isSeparator())
            item->setFixedWidth(8);
        else
            item->setFixedSize(23, 22);
    }
}

void TForm1::fitLabelsToText()
{
    // Plain labels size themselves to their text; the gradient label keeps its fixed size.
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label->metaObject() == &QLabel::staticMetaObject)
            label->adjustSize();
    }
}

void TForm1::showEvent(QShowEvent* event)
{
    if (!m_placed) {
        m_placed = true;
        move(DesktopCentredPlacement(screen()->virtualGeometry(), frameGeometry().size()));
    }
    QWidget::showEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (watched == ui.BtnCalc)
            return BtnCalcKeyPress(key);
        if (watched == ui.RadioButton1 || watched == ui.RadioButton2)
            return RadioButtonKeyPress(key);
    }
    return QWidget::eventFilter(watched, event);
}

Sex TForm1::sexChoice() const
{
    return ui.RadioButton1->isChecked() ? Sex::Male : Sex::Female;
}

void TForm1::keepCheckedSexTheTabStop()
{
    // Tab, Shift+Tab and Enter reach the sex group only at its checked button, so the arrow keys
    // always start from the choice shown.
    for (QRadioButton* button : {ui.RadioButton1, ui.RadioButton2})
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

void TForm1::setSexChoice(Sex sex)
{
    (sex == Sex::Male ? ui.RadioButton1 : ui.RadioButton2)->setChecked(true);
}

// --- Calculate ---------------------------------------------------------------------------------

void TForm1::BtnCalcClick()
{
    bool failed = false;
    try {
        const std::optional<AssessmentResult> result =
            CalculateFromEntryTexts(ui.AdvEdit2->text(), ui.AdvEdit3->text(), ui.AdvEdit4->text(), sexChoice(),
                                    ui.AdvEdit5->text(), ui.AdvEdit6->text(), ui.AdvEdit7->text());
        if (!result)
            throw RejectedInput();
        showResults(*result);
    } catch (...) {
        // Any failure at all: the examiner is only told the input cannot be used.
        failed = true;
    }
    if (failed)
        showInputError();
}

bool TForm1::BtnCalcKeyPress(const QKeyEvent& key)
{
    if (!IsEnterKey(key))
        return false;
    // Enter on the focused button is its click; taking the key here makes one Enter one run.
    BtnCalcClick();
    return true;
}

void TForm1::showResults(const AssessmentResult& result)
{
    ui.AdvEdit8->setText(QString::number(result.ExpectedSystolic));
    ui.AdvEdit9->setText(QString::number(result.ExpectedDiastolic));
    ui.AdvEdit10->setText(QString::number(result.OptimalWeight));
    ui.AdvEdit12->setText(FloatToText(result.AdaptationIndex));
    ui.AdvProgressBar1->setPosition(result.LevelBarPosition);
    ui.AdvProgressBar1->setLevel0Color(LevelColor(result.Level));
    ui.AdvProgressBar1->setLevel0ColorTo(LevelColorTo(result.Level));
    ui.Label16->setText(LevelText(result.Level));
    ui.AdvEdit11->setText(QString::number(result.KerdoShown));
    setBalanceText(BalanceText(result.Balance));
    nameLevelBar();
}

void TForm1::nameLevelBar()
{
    // The bar stands for the index and its level: a screen reader says both at once, and hears
    // of each new result by the change of name.
    QString name = ui.Label9->text() + QLatin1Char(' ') + ui.AdvEdit12->text();
    if (!ui.Label16->text().isEmpty())
        name += QStringLiteral(" — ") + ui.Label16->text();
    ui.AdvProgressBar1->setAccessibleName(name);
}

void TForm1::showInputError()
{
    for (TAdvEdit* field : {ui.AdvEdit8, ui.AdvEdit9, ui.AdvEdit10, ui.AdvEdit11, ui.AdvEdit12})
        field->setText(kResultResetText.toString());
    setBalanceText(QString());
    ui.Label16->setText(QString());
    // The bar's level colours stay those of the last successful calculation.
    ui.AdvProgressBar1->setPosition(0);
    nameLevelBar();
    m_frmError->setHeading(kInputErrorHeading);
    m_frmError->setMessage(kInputErrorMessage);
    try {
        AudioPlayer1.setActive(true);
    } catch (...) {
        // No sound (no device, a refused format...) must not keep the window from showing.
    }
    m_frmError->exec();
}

void TForm1::setBalanceText(const QString& text)
{
    ui.Label15->setText(text);
    ui.Label15->adjustSize();
    // An empty label would be read by the title of the group box around it.
    ui.Label15->setAccessibleName(text.isEmpty() ? QStringLiteral("нет оценки") : text);
}

// --- Document commands -------------------------------------------------------------------------

void TForm1::FormCreate()
{
    ui.AcNew->trigger();
}

void TForm1::AcNewExecute()
{
    for (const EntryFieldDefinition& definition : EntryFieldDefinitions())
        entryField(definition.field)->setText(definition.resetText.toString());
    setSexChoice(Sex::Male);
    for (TAdvEdit* field : {ui.AdvEdit8, ui.AdvEdit9, ui.AdvEdit10, ui.AdvEdit11, ui.AdvEdit12})
        field->setText(kResultResetText.toString());
    setBalanceText(QString());
    ui.Label16->setText(QString());
    ui.AdvProgressBar1->setPosition(0);
    nameLevelBar();
    LastSexFemale = false;
    Modified = false;
    // Before the window is first shown this only chooses the field that will have the focus.
    ui.AdvEdit1->setFocus();
}

void TForm1::AcOpenExecute()
{
    const QString path = m_fileChooser->chooseFileToOpen(this);
    if (!path.isEmpty())
        openRecordFile(path);
}

bool TForm1::openFileFromCommandLine(const QString& path)
{
    // A folder or a device gets what Open gives it (nothing); only a name that is not there at
    // all is worth telling about, since no dialog showed that it is missing.
    if (!QFileInfo::exists(path)) {
        ui.StatusBar1->showMessage(kFileNotFoundMessage.arg(QDir::toNativeSeparators(path)));
        return false;
    }
    RunReportingFailures([&] { openRecordFile(path); });
    return true;
}

bool TForm1::openRecordFile(const QString& path)
{
    if (!RecordFileExists(path))
        return false;
    RecordFileReader reader(path);
    // However the command ends, the file is closed first and the name field then has the focus.
    const auto finish = qScopeGuard([&] {
        reader.close();
        ui.AdvEdit1->setFocus();
    });
    const ReadOutcome outcome = reader.read([this](int slot, const QString& text) { putSlotIntoField(slot, text); });
    if (outcome == ReadOutcome::Loaded) {
        Modified = false;
        BtnCalcClick();
        return true;
    }
    m_frmError->setHeading(kReadErrorHeading);
    m_frmError->setMessage(kFormatErrorMessage);
    m_frmError->exec();
    return true;
}

void TForm1::putSlotIntoField(int slot, const QString& text)
{
    if (slot == kSexSlot)
        setSexChoice(SexFromSlotText(text));
    else if (const std::optional<EntryField> field = EntryFieldAtSlot(slot))
        entryField(*field)->setText(text);
}

void TForm1::AcSaveExecute()
{
    const QString path = m_fileChooser->chooseFileToSave(this);
    if (path.isEmpty())
        return;
    const auto finish = qScopeGuard([this] { ui.AdvEdit1->setFocus(); });
    SubjectTexts texts;
    for (const EntryFieldDefinition& definition : EntryFieldDefinitions())
        EntryText(texts, definition.field) = entryField(definition.field)->text();
    texts.Sex = sexChoice();
    // Modified is cleared only once the file is safely in place; a failed save leaves it set.
    WriteRecordFile(path, texts, [this] { Modified = false; });
}

std::array<TAdvEdit*, kEntryFieldCount> TForm1::entryFields() const
{
    // In the order of EntryField, which is the tab order.
    return {ui.AdvEdit1, ui.AdvEdit2, ui.AdvEdit3, ui.AdvEdit4, ui.AdvEdit5, ui.AdvEdit6, ui.AdvEdit7};
}

TAdvEdit* TForm1::entryField(EntryField field) const
{
    return entryFields()[static_cast<std::size_t>(field)];
}

void TForm1::AcSaveUpdate()
{
    ui.AcSave->setEnabled(Modified);
}

void TForm1::AcAboutExecute()
{
    m_frmAbout->exec();
}

void TForm1::SomeModified()
{
    Modified = true;
}

void TForm1::CheckSexChange()
{
    const bool female = ui.RadioButton2->isChecked();
    if (female != LastSexFemale) {
        LastSexFemale = female;
        Modified = true;
    }
}

bool TForm1::RadioButtonKeyPress(const QKeyEvent& key)
{
    // Only keys that type a character count as key presses here.
    if (key.text().isEmpty())
        return false;
    CheckSexChange();
    if (!IsEnterKey(key))
        return false;
    ui.AdvEdit5->setFocus(Qt::TabFocusReason);
    return true;
}
