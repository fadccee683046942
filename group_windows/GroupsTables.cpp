#include "group_windows/GroupsTables.h"

#include "groups/GroupsText.h"

#include <algorithm>

TextTable FiguresTable(const GroupsResult& result)
{
    TextTable table;
    table.captions << QStringLiteral("Показатель");
    for (const GroupStats& group : result.groups)
        table.captions << group.label;
    table.captions << QStringLiteral("p");
    for (const FigureRow& row : FigureRows(result))
        table.rows << (QStringList{row.caption} + row.cells + QStringList{row.p});
    // The rows left out of every figure, a line per reason, after "Рассчитано".
    QStringList reasons;
    for (const GroupStats& group : result.groups) {
        for (const ReasonCount& left : group.notAssessed) {
            if (!reasons.contains(left.reason))
                reasons << left.reason;
        }
    }
    for (qsizetype r = 0; r < reasons.size(); ++r) {
        QStringList row{QStringLiteral("Не рассчитано: ") + reasons[r]};
        for (const GroupStats& group : result.groups) {
            const auto left = std::find_if(group.notAssessed.begin(), group.notAssessed.end(),
                                           [&](const ReasonCount& c) { return c.reason == reasons[r]; });
            row << QString::number(left == group.notAssessed.end() ? 0 : left->count);
        }
        table.rows.insert(2 + r, row << QString());
    }
    return table;
}

TextTable TestsTable(const GroupsResult& result)
{
    TextTable table{{QStringLiteral("Группы"), QStringLiteral("Критерий")}, {}, 2};
    for (const GroupTest& test : result.tests)
        table.rows << QStringList{test.groups.isEmpty() ? QStringLiteral("все рассчитанные")
                                                        : test.groups.join(QStringLiteral(" — ")),
                                  TestLine(test)};
    return table;
}

TextTable RiskTable(const GroupsResult& result, const RiskCoder& coder)
{
    TextTable table{{QStringLiteral("Группа"), coder ? QStringLiteral("Код") : QStringLiteral("Ф. И. О."),
                     QStringLiteral("Уровень"), QStringLiteral("ИФИ"), QStringLiteral("Кердо")},
                    {},
                    3,
                    4};
    if (!coder)
        table.captions << QStringLiteral("Файл");
    for (const RiskEntry& entry : result.risk) {
        QString level = LevelText(entry.level);
        if (entry.previousLevel)
            level = LevelText(*entry.previousLevel) + QStringLiteral(" → ") + level;
        QStringList cells{entry.group, RiskPerson(entry, coder), level, entry.row.adaptationIndexShown,
                          QString::number(entry.kerdo)};
        if (!coder)
            cells << entry.row.path;
        table.rows << cells;
    }
    return table;
}

void TextTableModel::setTable(TextTable table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

int TextTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_table.rows.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_table.captions.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_table.rows[index.row()].value(index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(index.column() >= m_table.firstNumberColumn
                                          && index.column() <= m_table.lastNumberColumn
                                      ? Qt::AlignCenter
                                                                              : Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_table.captions.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
