#include "summary/CsvExport.h"

#include "core/RegionalSettings.h"
#include "summary/RecordFileAssessment.h"
#include "tests/core/RowName.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct FieldCase
{
    std::string name;
    QString text;
    QChar decimal;
    QString field;
};

class CsvFieldRow : public ::testing::TestWithParam<FieldCase>
{
};

TEST_P(CsvFieldRow, IsWrittenSoASpreadsheetShowsItAsIs)
{
    EXPECT_EQ(CsvField(GetParam().text, GetParam().decimal), GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CsvFieldRow,
    ::testing::Values(
        FieldCase{"plain_text", "Иванов", u',', "Иванов"},
        FieldCase{"empty", "", u',', ""},
        FieldCase{"whole_number", "122", u',', "122"},
        FieldCase{"negative_number_stays_a_number", "-14", u',', "-14"},
        FieldCase{"decimal_comma", "2,30", u',', "2,30"},
        FieldCase{"decimal_point_under_point_locale", "2.30", u'.', "2.30"},
        FieldCase{"negative_fraction_under_comma_locale", "-0,25", u',', "-0,25"},
        FieldCase{"separator_is_quoted", "a;b", u',', "\"a;b\""},
        FieldCase{"quotes_are_doubled", "say \"hi\"", u',', "\"say \"\"hi\"\"\""},
        FieldCase{"line_feed_is_quoted", "a\nb", u',', "\"a\nb\""},
        FieldCase{"formula_equals", "=1+2", u',', "'=1+2"},
        FieldCase{"formula_plus", "+7", u',', "'+7"},
        FieldCase{"formula_minus_text", "-x", u',', "'-x"},
        FieldCase{"formula_at", "@SUM(A1)", u',', "'@SUM(A1)"},
        FieldCase{"formula_tab", "\tx", u',', "'\tx"},
        FieldCase{"formula_carriage_return_also_quoted", "\rx", u',', "\"'\rx\""},
        FieldCase{"formula_with_separator", "=HYPERLINK(\"x\";\"y\")", u',', "\"'=HYPERLINK(\"\"x\"\";\"\"y\"\")\""},
        FieldCase{"lone_minus_is_text", "-", u',', "'-"},
        FieldCase{"minus_with_foreign_separator_is_text", "-2.5", u',', "'-2.5"},
        FieldCase{"equals_later_is_harmless", "a=b", u',', "a=b"}),
    RowName());

struct NumberCase
{
    std::string name;
    QString text;
    bool number;
};

class PlainNumberRow : public ::testing::TestWithParam<NumberCase>
{
};

TEST_P(PlainNumberRow, IsRecognised)
{
    EXPECT_EQ(IsPlainNumber(GetParam().text, u','), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Rows, PlainNumberRow,
                         ::testing::Values(NumberCase{"integer", "120", true}, NumberCase{"negative", "-5", true},
                                           NumberCase{"fraction", "3,09", true}, NumberCase{"empty", "", false},
                                           NumberCase{"trailing_separator", "3,", false},
                                           NumberCase{"leading_separator", ",5", false},
                                           NumberCase{"two_signs", "--5", false},
                                           NumberCase{"arabic_indic_digit", QString(QChar(0x0661)), false},
                                           NumberCase{"exponent", "1E5", false}),
                         RowName());

class CsvFile : public ::testing::Test
{
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir m_folder;
    ScopedRegionalSettings m_comma{QChar(u','), QChar(0x00A0)};
};

TEST_F(CsvFile, HasBomRussianHeaderAndOneLinePerRow)
{
    const QString record = write("a.vnl", "Vornale 5\r\n\xC8\xE2\xE0\xED\xEE\xE2;\"\r\n120\r\n80\r\n70\r\n0\r\n70\r\n175\r\n30\r\n");
    const QString broken = write("b.vnl", "nothing");
    const QString numericName = write("c.vnl", "Vornale 5\r\n-1,5\r\n");
    const QString out = m_folder.filePath("out.csv");
    const Separators separators = Separators::current();
    ASSERT_EQ(WriteSummaryCsv(out, {AssessRecordFile(record, separators), AssessRecordFile(broken, separators),
                                    AssessRecordFile(numericName, separators)}),
              QString());
    const QByteArray bytes = read(out);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QList<QByteArray> lines = bytes.mid(3).split('\n');
    ASSERT_EQ(lines.size(), 5); // header, three rows, nothing after the last CR LF
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Файл;ФИО;Пол;").toUtf8()));
    EXPECT_EQ(lines[0].count(';'), 16);
    const QString expectedRow = (record + QStringLiteral(";\"Иванов;\"\"\";М;120;80;70;70;175;30;Рассчитано;2,30;"
                                                            "Удовлетворительная адаптация;122;78;71;-14;Нормальный баланс\r"));
    EXPECT_EQ(lines[1].toStdString(), expectedRow.toStdString());
    EXPECT_EQ(lines[2].toStdString(), (broken + QStringLiteral(";;;;;;;;;Неверный формат файла;;;;;;;\r")).toStdString());
    // Under the decimal comma "-1,5" is a number: no apostrophe.
    EXPECT_EQ(lines[3].toStdString(), (numericName + QStringLiteral(";-1,5;М;0;0;0;0;0;0;Ошибка ввода;;;;;;;\r")).toStdString());
    EXPECT_TRUE(lines[4].isEmpty());
}

TEST_F(CsvFile, FailedExportLeavesTheEarlierFileAsItWas)
{
    const QString out = write("out.csv", "earlier");
    const SummaryRow row = AssessRecordFile(write("a.vnl", "Vornale 5\r\n"), Separators::current());
    // The rows give out halfway: nothing may replace the file, and no temporary file stays.
    EXPECT_THROW(WriteSummaryCsv(out, 3,
                                 [&row](qsizetype i) -> const SummaryRow& {
                                     if (i == 1)
                                         throw std::runtime_error("gone");
                                     return row;
                                 }),
                 std::runtime_error);
    EXPECT_EQ(read(out), "earlier");
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(CsvFile, ExportIntoAMissingFolderFailsAndSaysWhy)
{
    EXPECT_FALSE(WriteSummaryCsv(m_folder.filePath("no/such/out.csv"), SummaryRows{}).isEmpty());
}

} // namespace
