// The headcount screen in the host's document area: the counts the clerk came to type are on
// view without scrolling when the area has room for them, and no value of the demo data is
// cut short in the screen's grids and lookups.
#include "DemoSeeder.h"
#include "GridFixture.h"
#include "HeadcountFixture.h"
#include "HostApplication.h"
#include "TBtnPesquisa.h"
#include "TDBGrid.h"
#include "TMaskEdit.h"

#include <QMdiArea>
#include <QMdiSubWindow>

using namespace fai;
using namespace fai::testing;

namespace {

// Whether the column ends inside the grid's view.
bool OnView(const TDBGrid* grid, const char* field) {
    const int column = grid->ColumnIndexOf(QLatin1String(field));
    return column >= 0 && grid->columnViewportPosition(column) + grid->columnWidth(column) <=
                              grid->viewport()->width();
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { HostApplication::Instance().SetMainForm(nullptr, nullptr); }

    void bothCountsAreOnViewInEitherModeWhereTheAreaHasRoom() {
        for (const QSize room : {QSize(1280, 800), QSize(520, 360)}) {
            QMdiArea area;
            area.resize(room);
            area.show();
            HostApplication::Instance().SetMainForm(&area, &area);
            HeadcountFixture f;
            f.SeedClientWithServices();
            TfrmEfetFatur& screen = f.Open();
            auto* frame = qobject_cast<QMdiSubWindow*>(screen.parentWidget());
            QVERIFY(frame);
            if (room.width() < 564) {
                QCOMPARE(frame->size(), area.viewport()->size());
                continue;
            }
            // As tall as the area: the days of a month by service are on view; and so when
            // the area settles at another height.
            QCOMPARE(frame->height(), area.viewport()->height());
            area.resize(room - QSize(0, 60));
            QCOMPARE(frame->height(), area.viewport()->height());
            for (int mode : {0, 1}) {
                screen.cbbEfetivos->setCurrentIndex(mode);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
                const TDBGrid* grid = f.VisibleGrid();
                QVERIFY2(OnView(grid, "QTCOMEFATU") && OnView(grid, "QTCOMEPREV"),
                         qPrintable(grid->objectName()));
            }
        }
    }

    // The demo's longest codes, registration numbers, names and descriptions, in the client
    // and service lookups and in both grids (the billed count beside its "…" button).
    void theDemosLongestValuesShowWhole() {
        HeadcountFixture f;
        QVERIFY(appserver::DemoSeeder(f.Seed().Session(), kTenth).SeedIfEmpty());
        const auto numberOf = [&f](const QString& name) {
            appserver::SqlRows rows = f.Seed().Session().Run(
                QStringLiteral("SELECT NRINSJURCLIE FROM CLIENTE WHERE NMRAZSOCCLIE = ?"), {name});
            return rows.Next() ? rows.Value(0).toString() : QString();
        };
        // Clients of the branch: one with apportionment items, one with the longest
        // description of a service.
        const QString school = numberOf(QStringLiteral("Colégio Nossa Senhora Aparecida"));
        const QString works = numberOf(QStringLiteral("Antônio Marcos Pereira"));
        QVERIFY(!school.isEmpty() && !works.isEmpty());
        f.Open();
        QStringList cut;
        int lists = 0;
        f.RunModalsWith([&](QDialog& dialog) {
            ++lists;
            cut << testing::CutTexts(*dialog.findChild<TDBGrid*>("dbgPesquisa"));
            return int(mrCancel);
        });
        f.FilterByService(QStringLiteral("00001"), school);
        f.Find<TBtnPesquisa>("btpServico")->click();
        f.Find<TBtnPesquisa>("btpCliente")->click();
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(lists, 2);
        cut << testing::CutTexts(*f.Find<TDBGrid>("dbgServico"));
        f.FilterByDate(kTenth.addDays(-1), works);
        QVERIFY(f.Cell(f.VisibleGrid(), 1, "DSEMISSERCLI").contains(QStringLiteral("Jardins")));
        cut << testing::CutTexts(*f.Find<TDBGrid>("dbgData"));
        QCOMPARE(cut, QStringList());
    }
};

FAI_UI_TEST_MAIN(LayoutTest)
#include "test_layout.moc"
