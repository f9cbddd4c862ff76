#pragma once

#include "BackendTest.h"
#include "ReportDefinition.h"
#include "SharedDatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace fai::testing {

// A fresh database of the test's backend as the host's shared database while the test runs.
class SharedDatabaseTest : public appserver::test::BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        RegisterSharedDatabase(SharedDatabaseSettings::From(Location()));
    }
    void TearDown() override { UnregisterSharedDatabase(); }

    static void Exec(const QString& sql) {
        QSqlQuery query(QSqlDatabase::database(SharedConnectionName()));
        ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString() << "\n"
                                     << sql.toStdString();
    }
};

inline ReportElement Element(ElementKind kind, QRectF box) {
    ReportElement element;
    element.kind = kind;
    element.box = box;
    return element;
}

inline ReportElement TextAt(QRectF box, const QString& text) {
    ReportElement element = Element(ElementKind::Text, box);
    element.text = text;
    return element;
}

inline ReportElement FieldAt(QRectF box, const QString& field, DisplayFormat format = {}) {
    ReportElement element = Element(ElementKind::Field, box);
    element.field = field;
    element.format = std::move(format);
    return element;
}

inline ReportElement AggregateAt(QRectF box, AggregateFunction function, const QString& field,
                                 const QString& over, DisplayFormat format = {}) {
    ReportElement element = Element(ElementKind::Aggregate, box);
    element.function = function;
    element.field = field;
    element.over = over;
    element.format = std::move(format);
    return element;
}

inline ReportBand BandOf(BandKind kind, double height, std::vector<ReportElement> elements) {
    return ReportBand{kind, height, std::move(elements)};
}

inline DisplayFormat NumberFormat(int decimals) {
    return DisplayFormat{FormatKind::Number, decimals, true, {}};
}

}  // namespace fai::testing
