#include "group_windows/ChartTableWidget.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOption>

#include <utility>

namespace {

ChartTable FiguresOf(const QPointer<ChartTableWidget>& chart)
{
    return chart ? chart->chartTable() : ChartTable{};
}

// One figure; it reads the chart afresh, so a cell outlived by its row is merely invalid.
class ChartCell : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    ChartCell(ChartTableWidget* chart, int row, int column) : m_chart(chart), m_row(row), m_column(column) {}

    bool isValid() const override
    {
        const ChartTable figures = FiguresOf(m_chart);
        return m_row < figures.rows.size() && m_column < figures.columns.size();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_chart ? m_chart->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_chart.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        const ChartTable figures = FiguresOf(m_chart);
        if (t == QAccessible::Name)
            return figures.rows.value(m_row).value(m_column);
        if (t == QAccessible::Description)
            return figures.columns.value(m_column);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return parent() != nullptr ? parent()->rect() : QRect(); }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<ChartTableWidget> m_chart;
    int m_row;
    int m_column;
};

class ChartTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit ChartTableAccessible(ChartTableWidget* chart) : QAccessibleWidget(chart, QAccessible::Table) {}
    ~ChartTableAccessible() override { dropCells(); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override
    {
        const int columns = columnCount();
        return index >= 0 && columns > 0 ? cellAt(index / columns, index % columns) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        return cell != nullptr && cell->table() == this ? cell->rowIndex() * columnCount() + cell->columnIndex() : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
            return nullptr;
        const quint64 key = quint64(row) << 32 | quint64(column);
        QAccessible::Id& id = m_cells[key];
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(new ChartCell(chart(), row, column));
        return QAccessible::accessibleInterface(id);
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override { return figures().columns.value(column); }
    QString rowDescription(int row) const override { return figures().rows.value(row).value(0); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return int(figures().columns.size()); }
    int rowCount() const override { return int(figures().rows.size()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { dropCells(); }

private:
    ChartTableWidget* chart() const { return static_cast<ChartTableWidget*>(widget()); }
    ChartTable figures() const { return chart()->chartTable(); }
    void dropCells()
    {
        for (QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
        m_cells.clear();
    }

    mutable QHash<quint64, QAccessible::Id> m_cells;
};

QAccessibleInterface* ChartTableFactory(const QString&, QObject* object)
{
    auto* chart = qobject_cast<ChartTableWidget*>(object);
    return chart != nullptr ? new ChartTableAccessible(chart) : nullptr;
}

} // namespace

ChartTableWidget::ChartTableWidget(QWidget* parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(ChartTableFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setFocusPolicy(Qt::StrongFocus);
}

void ChartTableWidget::figuresChanged()
{
    update();
    QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
}

void ChartTableWidget::drawFocusFrame(QPainter& painter) const
{
    if (!hasFocus())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}
