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
