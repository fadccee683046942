#include "app/FailureReport.h"

#include "app/ApplicationTitle.h"

#include "core/ApplicationErrors.h"
#include "tests/app/RowName.h"
#include "tests/support/ModalWatch.h"

#include <QMessageBox>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

struct MessageCase
{
    const char* name;
    const char* message;
    const char* shown;
};

const MessageCase messageCases[] = {
    {"PlainGetsFullStop", "File not found", "File not found."},
    {"NumberGetsFullStop", "I/O error 28", "I/O error 28."},
    {"EmptyStaysEmpty", "", ""},
    {"FullStopKept", "Done.", "Done."},
    {"ExclamationIsBelowFullStop", "Stop!", "Stop!"},
    {"HyphenIsBelowFullStop", "a-", "a-"},
    {"SpaceIsBelowFullStop", "trailing ", "trailing "},
    {"SlashIsAboveFullStop", "a/", "a/."},
    {"DigitIsAboveFullStop", "code 5", "code 5."},
    {"CyrillicGetsFullStop", "Ошибка", "Ошибка."},
};

class FailureMessageCase : public ::testing::TestWithParam<MessageCase> {};

TEST_P(FailureMessageCase, FullStopRule)
{
    EXPECT_EQ(FailureMessageText(QString::fromUtf8(GetParam().message)), QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Messages, FailureMessageCase, ::testing::ValuesIn(messageCases), RowName());

class ReporterScope
{
public:
    explicit ReporterScope(ApplicationExceptionReporter reporter)
        : m_previous(SetApplicationExceptionReporter(std::move(reporter)))
    {
    }
    ~ReporterScope() { SetApplicationExceptionReporter(std::move(m_previous)); }

private:
    ApplicationExceptionReporter m_previous;
};

TEST(RunReportingFailures, HandsTheFailureToTheReporterAndReturns)
{
    QStringList reported;
    ReporterScope scope([&](const std::exception& e) { reported << QString::fromUtf8(e.what()); });
    RunReportingFailures([] { throw std::runtime_error("File access denied"); });
    RunReportingFailures([] { throw 42; });
    RunReportingFailures([] {});
    EXPECT_EQ(reported, (QStringList{"File access denied", "Unknown failure"}));
}

TEST(ShowFailureMessageBox, StopIconTitleOkAndFullStop)
{
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    testsupport::onNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
    });
    ShowFailureMessageBox(std::runtime_error("File access denied"));
    EXPECT_EQ(text, "File access denied.");
    EXPECT_EQ(title, ApplicationTitle());
    EXPECT_EQ(title, "app_tests"); // the test program's own name
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::Ok);
}

} // namespace
