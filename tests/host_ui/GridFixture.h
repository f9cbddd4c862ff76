#pragma once

#include "ClientDataSet.h"
#include "DataSource.h"
#include "DateText.h"
#include "TDBGrid.h"
#include "TMaskEdit.h"
#include "UiTesting.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>

namespace fai::testing {

// The titles and cells of a table that do not show whole in their columns, in the table's
// font and with the margins its cells keep (and the room of a column's edit button).
inline QStringList CutTexts(const QTableView& table, const TDBGridColumns* columns = nullptr) {
    QStringList cut;
    const QFontMetrics metrics = table.fontMetrics();
    const int margin =
        2 * (table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 1);
    const QAbstractItemModel* model = table.model();
    for (int column = 0; column < model->columnCount(); ++column) {
        if (table.isColumnHidden(column)) continue;
        const int width = table.columnWidth(column);
        if (table.horizontalHeader()->sectionSizeHint(column) > width)
            cut << model->headerData(column, Qt::Horizontal).toString();
        const bool button = columns && column < columns->Count() &&
                            (*columns)[column].ButtonStyle() == ColumnButtonStyle::Ellipsis;
        const int room = width - margin - (button ? 18 : 0);
        for (int row = 0; row < model->rowCount(); ++row) {
            const QString text = model->index(row, column).data().toString();
            if (metrics.horizontalAdvance(text) > room) cut << text;
        }
    }
    return cut;
}

inline QStringList CutTexts(const TDBGrid& grid) { return CutTexts(grid, &grid.Columns()); }

// Headcount-like rows (service code, name, date, billed and forecast counts) in a grid with
// a line edit beside it to take the focus away.
class GridFixture {
  public:
    GridFixture() {
        Field& code = cds.AddField({"CDSERVFILI", FieldType::String, 5});
        code.SetDisplayLabel("Código");
        code.SetEditMask("ccccc;0; ");
        cds.AddField({"NMSERVICO", FieldType::String, 40}).SetDisplayLabel("Serviço");
        Field& date = cds.AddField({"DTFATURAM", FieldType::DateTime});
        date.SetDisplayLabel("Data Faturamento");
        date.SetVisible(false);
        date.OnSetText = [](Field& field, const QString& text) { DateSetText(field, text); };
        Field& billed = cds.AddField({"QTCOMEFATU", FieldType::Float});
        billed.SetDisplayLabel(QStringLiteral("Nº Comensais Faturados"));
        billed.SetDisplayFormat("#,##0.000");
        billed.SetEditFormat("#0.000");
        Field& forecast = cds.AddField({"QTCOMEPREV", FieldType::Float});
        forecast.SetDisplayLabel(QStringLiteral("N° Comensais Previstos"));
        forecast.SetDisplayFormat("#,##0.000");

        grid = new TDBGrid(&window);
        grid->setObjectName("dbgServico");
        other = new QLineEdit(&window);
        other->setObjectName("edtOutro");
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        layout->addWidget(other);
        window.resize(640, 400);
        grid->SetDataSource(&dts);
    }

    static DataPacket Rows(int count) {
        DataPacket packet;
        packet.fields = {{"CDSERVFILI", FieldType::String, 5},
                         {"NMSERVICO", FieldType::String, 40},
                         {"DTFATURAM", FieldType::DateTime},
                         {"QTCOMEFATU", FieldType::Float},
                         {"QTCOMEPREV", FieldType::Float}};
        for (int i = 0; i < count; ++i) {
            packet.rows.push_back({RowChange::Unchanged,
                                   {Value(Code(i)), Value(QStringLiteral("Serviço %1").arg(i + 1)),
                                    Value(QDate(2026, 3, 1).addDays(i)),
                                    Value(1000.0 * (i + 1) + 0.5), Value(double(i))},
                                   {}});
        }
        return packet;
    }

    // Service codes from 10001 on, five digits.
    static QString Code(int row) {
        return QString::number((10001 + row) % 100000).rightJustified(5, QLatin1Char('0'));
    }

    void Load(int count) { cds.SetData(Rows(count)); }

    bool Show() {
        if (!ShowActive(window)) return false;
        grid->setFocus();
        return grid->hasFocus();
    }

    QString Cell(int row, int column) const {
        return grid->model()->index(row, column).data().toString();
    }
    int Rows() const { return grid->model()->rowCount(); }
    QString Title(int column) const {
        return grid->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = grid->InplaceEditor() ? static_cast<QWidget*>(grid->InplaceEditor())
                                                : static_cast<QWidget*>(grid);
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }
    void Type(const QString& text) {
        for (QChar c : text) {
            QWidget* target = grid->InplaceEditor() ? static_cast<QWidget*>(grid->InplaceEditor())
                                                    : static_cast<QWidget*>(grid);
            QTest::keyClick(target, c.toLatin1());
        }
    }

    ClientDataSet cds{"cdsEfetFatu"};
    DataSource dts{&cds};
    QWidget window;
    TDBGrid* grid;
    QLineEdit* other;
};

}  // namespace fai::testing
