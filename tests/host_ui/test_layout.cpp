#include "HostApplication.h"
#include "LayoutMemory.h"
#include "TDBGrid.h"
#include "TfrmPadraoSimples.h"
#include "UiTesting.h"

#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollBar>
#include <QVBoxLayout>

using namespace fai;

namespace {

// A screen whose grid's columns need more room than its design size gives them.
class WideScreen : public TfrmPadraoSimples {
  public:
    WideScreen() {
        setObjectName("frmLargo");
        cds.AddField({"CDSERVFILI", FieldType::String, 5});
        cds.AddField({"NMSERVICO", FieldType::String, 40});
        cds.AddField({"QTCOMEFATU", FieldType::Float});
        dbgLargo = new TDBGrid(ClientArea());
        dbgLargo->setObjectName("dbgLargo");
        dbgLargo->Columns().Add("CDSERVFILI").SetWidth(60);
        dbgLargo->Columns().Add("NMSERVICO").SetWidth(500);
        dbgLargo->Columns().Add("QTCOMEFATU").SetWidth(300);
        dtsPadrao.SetDataSet(&cds);
        dbgLargo->SetDataSource(&dtsPadrao);
        auto* layout = new QVBoxLayout(ClientArea());
        layout->addWidget(dbgLargo);
        resize(400, 300);
    }

    // Whether the last column ends inside the grid's view: nothing to scroll to.
    bool ShowsEveryColumn() const {
        const QHeaderView* header = dbgLargo->horizontalHeader();
        return header->length() <= dbgLargo->viewport()->width();
    }
    QSize FrameSize() const { return parentWidget()->size(); }

    ClientDataSet cds{"cdsLargo"};
    TDBGrid* dbgLargo;
};

}  // namespace

// A screen opens large enough for its grids, and as the user left it.
class LayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        area_.resize(1280, 800);
        area_.show();
        HostApplication::Instance().SetMainForm(&area_, &area_);
    }
    void cleanup() {
        area_.closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        LayoutMemory::ForgetScreens();
    }
    void cleanupTestCase() { HostApplication::Instance().SetMainForm(nullptr, nullptr); }

    void opensShowingEveryColumnAsFarAsTheAreaHasRoom() {
        for (const QSize room : {QSize(1280, 800), QSize(500, 250)}) {
            area_.resize(room);
            auto* screen = Open();
            const QSize viewport = area_.viewport()->size();
            if (room.width() > 1000) {
                QVERIFY2(screen->ShowsEveryColumn(), "a scroll bar hides the last column");
                QCOMPARE(screen->height(), 300);
            } else {
                QCOMPARE(screen->FrameSize(), viewport);
            }
            QVERIFY(area_.viewport()->rect().contains(screen->parentWidget()->geometry()));
            screen->close();
        }
        area_.resize(1280, 800);
    }

    void columnWidthsAndSizeComeBackUntilTheDefaultsAreRestored() {
        auto* screen = Open();
        const QSize opened = screen->FrameSize();
        screen->dbgLargo->horizontalHeader()->resizeSection(1, 120);
        screen->parentWidget()->resize(opened - QSize(100, 50));
        screen->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        screen = Open();
        QCOMPARE(screen->dbgLargo->columnWidth(1), 120);
        QCOMPARE(screen->FrameSize(), opened - QSize(100, 50));

        RestoreDefaultLayouts(area_);
        QCOMPARE(screen->dbgLargo->columnWidth(1), 500);
        QCOMPARE(screen->FrameSize(), opened);
        screen->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        screen = Open();
        QCOMPARE(screen->dbgLargo->columnWidth(1), 500);
        QCOMPARE(screen->FrameSize(), opened);
    }

    // Widths the grid gives itself (a dataset opened, a column changed from code) are not the
    // user's.
    void onlyTheUsersWidthsAreRemembered() {
        auto* screen = Open();
        screen->dbgLargo->Columns()[2].SetWidth(90);
        screen->cds.SetData(DataPacket{{{"CDSERVFILI", FieldType::String, 5},
                                        {"NMSERVICO", FieldType::String, 40},
                                        {"QTCOMEFATU", FieldType::Float}},
                                       {}});
        QVERIFY(screen->dbgLargo->UserWidths().isEmpty());
        screen->dbgLargo->horizontalHeader()->resizeSection(0, 75);
        QCOMPARE(screen->dbgLargo->UserWidths(), (QHash<QString, int>{{"CDSERVFILI", 75}}));
    }

  private:
    WideScreen* Open() {
        auto* screen = new WideScreen;
        screen->ShowChild();
        return screen;
    }

    QMdiArea area_;
};

FAI_UI_TEST_MAIN(LayoutTest)
#include "test_layout.moc"
