#include "summary/SummaryRow.h"

QString OutcomeText(const SummaryRow& row)
{
    switch (row.outcome) {
    case RowOutcome::Assessed:
        return QStringLiteral("Рассчитано");
    case RowOutcome::NotAcceptable:
        return QStringLiteral("Ошибка ввода");
    case RowOutcome::FormatError:
    case RowOutcome::ReadError:
        break;
    }
    return row.reason;
}

QString SexText(Sex sex)
{
    return sex == Sex::Male ? QStringLiteral("М") : QStringLiteral("Ж");
}

bool IsSkipped(const SummaryRow& row)
{
    return row.outcome == RowOutcome::ReadError;
}

SummaryRow NamesFreeRow(const SummaryRow& row, const QString& code)
{
    SummaryRow shown = row;
    shown.path.clear();
    shown.texts.FullName = code;
    if (row.outcome == RowOutcome::ReadError)
        shown.reason = QStringLiteral("Ошибка чтения");
    else if (row.outcome == RowOutcome::FormatError)
        shown.reason = QStringLiteral("Неверный формат файла");
    return shown;
}
