#include "Errors.h"
#include "FocusOnFailure.h"
#include "FocusScope.h"
#include "GridFixture.h"
#include "PageFocus.h"
#include "TEdit.h"
#include "UiTesting.h"

#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <memory>

using namespace fai;
using fai::testing::DialogScript;

namespace {

// A filter panel with two boxes, and a box outside it, noting every enter and exit.
struct FilterWindow {
    FilterWindow() {
        panel = new QWidget(&window);
        panel->setObjectName("panFiltro");
        first = new TEdit(panel);
        second = new TEdit(panel);
        outside = new TEdit(&window);
        auto* inner = new QHBoxLayout(panel);
        inner->addWidget(first);
        inner->addWidget(second);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(panel);
        layout->addWidget(outside);
        scope = new FocusScope(panel);
        Note(scope->OnEnter, scope->OnExit, "panFiltro");
        Note(first->OnEnter, first->OnExit, "first");
        Note(second->OnEnter, second->OnExit, "second");
        Note(outside->OnEnter, outside->OnExit, "outside");
    }

    void Note(std::function<void()>& enter, std::function<void()>& exit, const QString& name) {
        enter = [this, name] { log << name + " enter"; };
        exit = [this, name] { log << name + " exit"; };
    }

    QWidget window;
    QWidget* panel;
    TEdit* first;
    TEdit* second;
    TEdit* outside;
    FocusScope* scope;
    QStringList log;
};

}  // namespace

// Enter and exit of controls and areas, as the filter panels rely on them.
class FocusTest : public QObject {
    Q_OBJECT

  private slots:
    void areasAreLeftInnermostFirstAndEnteredOutermostFirst() {
        FilterWindow f;
        f.first->setFocus();
        QVERIFY(testing::ShowActive(f.window));
        f.log.clear();
        f.second->setFocus();
        QCOMPARE(f.log, (QStringList{"first exit", "second enter"}));
        f.log.clear();
        f.outside->setFocus();
        QCOMPARE(f.log, (QStringList{"second exit", "panFiltro exit", "outside enter"}));
        f.log.clear();
        f.first->setFocus();
        QCOMPARE(f.log, (QStringList{"outside exit", "panFiltro enter", "first enter"}));
    }

    void aFailingExitKeepsTheFocusWhereItWas() {
        FilterWindow f;
        f.first->setFocus();
        QVERIFY(testing::ShowActive(f.window));
        f.second->setFocus();
        f.log.clear();
        DialogScript script;
        f.scope->OnExit = [] { throw EError(QStringLiteral("Filial deve ser informada.")); };
        f.outside->setFocus();
        QVERIFY(f.second->hasFocus());
        QCOMPARE(f.log, QStringList{"second exit"});
        QCOMPARE(script.Texts(), QStringList{QStringLiteral("Filial deve ser informada.")});

        // A handler that puts the focus on the box it complains about keeps it there.
        f.log.clear();
        f.scope->OnExit = [&f] {
            f.first->setFocus();
            throw EAbort();
        };
        f.outside->setFocus();
        QVERIFY(f.first->hasFocus());
        QVERIFY(!f.log.contains("outside enter"));
        QVERIFY(!f.log.contains("panFiltro enter"));
    }

    // Under a window manager the message box takes the focus, which comes back to the screen
    // only after the handler has returned. A box refused must get it back, not its
    // neighbour, whose own check would then refuse in turn (two dates out of order, each
    // refusing to be left, went on answering each other for ever).
    void aRefusalIsSaidOnceAndTheFocusComesBackToTheBoxRefused_data() {
        QTest::addColumn<bool>("focusesItself");
        QTest::newRow("each box refuses and takes the focus") << true;
        QTest::newRow("the box refuses and leaves the focus alone") << false;
    }
    void aRefusalIsSaidOnceAndTheFocusComesBackToTheBoxRefused() {
        QFETCH(bool, focusesItself);
        FilterWindow f;
        for (TEdit* box : {f.first, f.second}) {
            box->OnExit = [box, focusesItself] {
                if (focusesItself) FocusToCorrect(box);
                throw EError(QStringLiteral("Data Inicial deve ser menor ou igual a data final."));
            };
        }
        f.first->setText(QStringLiteral("10/12/2026"));
        f.first->setFocus();
        QVERIFY(testing::ShowActive(f.window));
        DialogScript script;
        testing::AnswerLikeAWindowManager();
        QTest::keyClick(f.first, Qt::Key_Tab);
        QVERIFY(testing::ShowActive(f.window));
        QTRY_VERIFY(f.first->hasFocus());
        QCOMPARE(script.Texts().size(), 1);
        QCOMPARE(f.first->text(), QStringLiteral("10/12/2026"));
        // What the clerk types next replaces what was refused.
        QTest::keyClicks(f.first, "12/10/2026");
        QCOMPARE(f.first->text(), QStringLiteral("12/10/2026"));
    }

    void anotherWindowIsNoExit() {
        FilterWindow f;
        f.first->setFocus();
        QVERIFY(testing::ShowActive(f.window));
        f.log.clear();
        TEdit box;
        QVERIFY(testing::ShowActive(box));
        box.setFocus();
        QVERIFY(box.hasFocus());
        QVERIFY(testing::ShowActive(f.window));
        QVERIFY(f.first->hasFocus());
        QCOMPARE(f.log, QStringList{});
    }

    // The host shows its screens as child windows of one document area, in one main window.
    void anotherChildWindowOfTheDocumentAreaIsNoExit() {
        QMdiArea documents;
        documents.resize(640, 480);
        FilterWindow f;  // goes before the area, taking its window out of it
        auto* filterFrame = documents.addSubWindow(&f.window);
        auto* box = new TEdit;
        auto* boxFrame = documents.addSubWindow(box);
        QVERIFY(testing::ShowActive(documents));
        filterFrame->show();
        boxFrame->show();
        documents.setActiveSubWindow(filterFrame);
        f.first->setFocus();
        QVERIFY(f.first->hasFocus());
        f.log.clear();

        documents.setActiveSubWindow(boxFrame);
        box->setFocus();
        QVERIFY(box->hasFocus());
        documents.setActiveSubWindow(filterFrame);
        f.first->setFocus();
        QVERIFY(f.first->hasFocus());
        QCOMPARE(f.log, QStringList{});
    }

    // Closing a screen takes the focus away from its controls; that is no exit either, even
    // with a filter that would refuse to be left (and put the focus back into it).
    void closingTheWindowIsNoExit() {
        QMdiArea documents;
        documents.resize(640, 480);
        auto f = std::make_unique<FilterWindow>();
        auto* frame = documents.addSubWindow(&f->window);
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(testing::ShowActive(documents));
        frame->show();
        documents.setActiveSubWindow(frame);
        f->second->setFocus();
        QVERIFY(f->second->hasFocus());
        f->log.clear();
        FilterWindow* filter = f.get();
        f->scope->OnExit = [filter] {
            filter->first->setFocus();
            throw EError(QStringLiteral("Cliente deve ser informado."));
        };
        DialogScript script;
        documents.closeAllSubWindows();
        QTRY_VERIFY(frame->isHidden());
        QCOMPARE(script.Texts(), QStringList{});
        QVERIFY(!f->log.contains("panFiltro exit"));
    }

    // A tab clicked while a control of the page switched away holds the focus: Qt passes the
    // focus through the next control of the tab chain (here the filter's first box) on its
    // way to the new page. The filter was neither entered nor left; the new page's box is
    // entered once the focus has settled.
    void aPageSwitchedAwayEntersOnlyWhereTheFocusSettles() {
        FilterWindow f;
        auto* pages = new QTabWidget(&f.window);
        f.window.layout()->addWidget(pages);
        auto* shown = new TEdit;
        auto* other = new TEdit;
        pages->addTab(shown, QStringLiteral("Efetivo"));
        pages->addTab(other, QStringLiteral("Turno"));
        f.Note(shown->OnEnter, shown->OnExit, "shown");
        f.Note(other->OnEnter, other->OnExit, "other");
        // As a screen orders its tab chain: from the grid back to the filter.
        QWidget::setTabOrder(shown, f.first);
        QVERIFY(testing::ShowActive(f.window));
        shown->setFocus();
        QVERIFY(shown->hasFocus());
        f.log.clear();

        pages->setCurrentIndex(1);
        QTRY_COMPARE(f.log, QStringList{"other enter"});
        QVERIFY(other->hasFocus());

        // The next move is an ordinary one again.
        f.first->setFocus();
        QCOMPARE(f.log,
                 (QStringList{"other enter", "other exit", "panFiltro enter", "first enter"}));
    }

    // A click on a part of a screen that takes no focus: the child window of the document
    // area takes the focus for a moment and hands it back to the control that had it. The
    // clerk left nothing.
    void aClickOnAnEmptyPartOfAScreenIsNoMove() {
        QMdiArea documents;
        documents.resize(640, 480);
        FilterWindow f;
        auto* frame = documents.addSubWindow(&f.window);
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(testing::ShowActive(documents));
        frame->show();
        documents.setActiveSubWindow(frame);
        f.second->setFocus();
        QVERIFY(f.second->hasFocus());
        f.log.clear();

        QTest::mouseClick(f.panel, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(f.log, QStringList());
        QVERIFY(f.second->hasFocus());
    }

    // The same page switch by a click on the tab, on a screen of the document area.
    void aTabClickedTakesTheFocusIntoItsPage() {
        QMdiArea documents;
        documents.resize(640, 480);
        FilterWindow f;
        auto* pages = new QTabWidget(&f.window);
        f.window.layout()->addWidget(pages);
        auto* shown = new TEdit;
        auto* other = new TEdit;
        pages->addTab(shown, QStringLiteral("Efetivo"));
        pages->addTab(other, QStringLiteral("Turno"));
        CarryFocusIntoClickedPages(pages);
        f.Note(shown->OnEnter, shown->OnExit, "shown");
        f.Note(other->OnEnter, other->OnExit, "other");
        QWidget::setTabOrder(shown, f.first);
        auto* frame = documents.addSubWindow(&f.window);
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(testing::ShowActive(documents));
        frame->show();
        documents.setActiveSubWindow(frame);
        shown->setFocus();
        QVERIFY(shown->hasFocus());
        f.log.clear();

        QTabBar* bar = pages->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCoreApplication::processEvents();
        QCOMPARE(pages->currentIndex(), 1);
        QVERIFY(other->hasFocus());
        QCOMPARE(f.log, (QStringList{"shown exit", "other enter"}));
    }

    void gridsTellWhenTheyAreEnteredAndLeft() {
        testing::GridFixture f;
        f.Load(1);
        QStringList log;
        f.grid->OnEnter = [&log] { log << "enter"; };
        f.grid->OnExit = [&log] { log << "exit"; };
        f.other->setFocus();
        QVERIFY(testing::ShowActive(f.window));
        f.grid->setFocus();
        f.Type("1");  // the editor is inside the grid: no exit
        f.other->setFocus();
        QCOMPARE(log, (QStringList{"enter", "exit"}));
        QCOMPARE(f.cds.FieldByName("CDSERVFILI").AsString(), QStringLiteral("1"));
    }
};

FAI_UI_TEST_MAIN(FocusTest)
#include "test_focus.moc"
