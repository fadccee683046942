// The program's command line: which arguments start the window with a file, which print and exit.
#include "app/CommandLine.h"

#include "tests/app/RowName.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <optional>

namespace {

using Action = CommandLine::Action;

struct CommandLineCase
{
    const char* name;
    QStringList arguments; // after the program's own name
    Action action;
    std::optional<QString> file;
    int exitCode;
    const char* outputContains; // empty: no output expected
};

const CommandLineCase commandLineCases[] = {
    {"NoArguments", {}, Action::Run, std::nullopt, 0, ""},
    {"OneFile", {"subject.vnl"}, Action::Run, QStringLiteral("subject.vnl"), 0, ""},
    {"CyrillicFileWithSpaces", {"/home/врач/Иванов И.vnl"}, Action::Run, QStringLiteral("/home/врач/Иванов И.vnl"), 0, ""},
    {"EmptyFileNameIsStillAFile", {""}, Action::Run, QString(), 0, ""},
    {"DashedFileAfterDoubleDash", {"--", "-odd.vnl"}, Action::Run, QStringLiteral("-odd.vnl"), 0, ""},
    {"ToolkitOptionValueIsNotTheFile", {"-platform", "offscreen", "subject.vnl"}, Action::Run,
     QStringLiteral("subject.vnl"), 0, ""},
    {"ToolkitOptionWithEquals", {"-style=fusion"}, Action::Run, std::nullopt, 0, ""},
    {"ToolkitFlag", {"-reverse", "subject.vnl"}, Action::Run, QStringLiteral("subject.vnl"), 0, ""},
    {"LongHelp", {"--help"}, Action::ShowHelp, std::nullopt, 0, " [параметры] [ФАЙЛ]\n"},
    {"ShortHelp", {"-h"}, Action::ShowHelp, std::nullopt, 0, "--version"},
    {"HelpAllKeepsToolkitOptionsHidden", {"--help-all"}, Action::ShowHelp, std::nullopt, 0, "Параметры:"},
    {"HelpWinsOverFile", {"subject.vnl", "--help"}, Action::ShowHelp, std::nullopt, 0, "Показать эту справку."},
    {"LongVersion", {"--version"}, Action::ShowVersion, std::nullopt, 0, "9.8\n"},
    {"ShortVersion", {"-v"}, Action::ShowVersion, std::nullopt, 0, "9.8\n"},
    {"UnknownOption", {"--bogus"}, Action::Fail, std::nullopt, 2, "Unknown option 'bogus'."},
    {"CompactedShortOptionsAreOneUnknownWord", {"-hv"}, Action::Fail, std::nullopt, 2, "Unknown option 'hv'."},
    {"ToolkitOptionWithoutValue", {"-platform"}, Action::Fail, std::nullopt, 2, "-platform"},
    {"TwoFiles", {"a.vnl", "b.vnl"}, Action::Fail, std::nullopt, 2, "Слишком много аргументов"},
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase>
{
protected:
    CommandLineTest() { QCoreApplication::setApplicationVersion(QStringLiteral("9.8")); }
    ~CommandLineTest() override { QCoreApplication::setApplicationVersion(m_version); }

private:
    QString m_version = QCoreApplication::applicationVersion();
};

TEST_P(CommandLineTest, ActionFileExitCodeAndOutput)
{
    const CommandLineCase& c = GetParam();
    const CommandLine result = ParseCommandLine(QStringList{QStringLiteral("vornale-lite")} + c.arguments);
    EXPECT_EQ(result.action, c.action);
    EXPECT_EQ(result.file, c.file);
    EXPECT_EQ(result.exitCode, c.exitCode);
    const QString expected = QString::fromUtf8(c.outputContains);
    if (expected.isEmpty()) {
        EXPECT_EQ(result.output, QString());
    } else {
        EXPECT_TRUE(result.output.contains(expected)) << result.output.toStdString();
    }
    // Every refusal shows how the program is used.
    if (c.action == Action::Fail) {
        EXPECT_TRUE(result.output.contains(QStringLiteral("[параметры] [ФАЙЛ]"))) << result.output.toStdString();
    }
    // The help lists the program's own options only.
    if (c.action == Action::ShowHelp) {
        EXPECT_TRUE(result.output.startsWith(QStringLiteral("Использование: ") + QCoreApplication::applicationName()));
        EXPECT_FALSE(result.output.contains(QStringLiteral("platform"))) << result.output.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLineTest, ::testing::ValuesIn(commandLineCases), RowName());

TEST(CommandLineVersion, NamesProgramAndVersion)
{
    const QString version = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(QStringLiteral("5.0"));
    const CommandLine result = ParseCommandLine({QStringLiteral("vornale-lite"), QStringLiteral("--version")});
    QCoreApplication::setApplicationVersion(version);
    EXPECT_EQ(result.output, QCoreApplication::applicationName() + QStringLiteral(" 5.0\n"));
}

} // namespace
