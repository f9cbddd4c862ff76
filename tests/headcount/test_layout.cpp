// The headcount screen in the host's document area: the counts the clerk came to type are on
// view without scrolling when the area has room for them.
#include "HeadcountFixture.h"
#include "HostApplication.h"
#include "TDBGrid.h"

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
            for (int mode : {0, 1}) {
                screen.cbbEfetivos->setCurrentIndex(mode);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
                const TDBGrid* grid = f.VisibleGrid();
                QVERIFY2(OnView(grid, "QTCOMEFATU") && OnView(grid, "QTCOMEPREV"),
                         qPrintable(grid->objectName()));
            }
        }
    }
};

FAI_UI_TEST_MAIN(LayoutTest)
#include "test_layout.moc"
