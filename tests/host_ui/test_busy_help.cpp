#include "BusyIndicator.h"
#include "Help.h"
#include "HostApplication.h"
#include "ScreenCursor.h"
#include "UiTesting.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <stdexcept>

using namespace fai;
using fai::testing::DialogScript;

namespace {

QWidget* Overlay(QWidget& form) { return form.findChild<QWidget*>("aviOcupado"); }

bool Shown(QWidget& form) {
    QWidget* overlay = Overlay(form);
    return overlay && overlay->isVisible();
}

QString ShownText(QWidget& form) {
    return Shown(form) ? Overlay(form)->accessibleName() : QString();
}

// Counts the paints a widget gets.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

// The busy indicator, the screen cursor and the help pages.
class BusyHelpTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() {
        while (ShowAviDepth() > 0) DeactiveShowAvi();
        SetHelpDirectory(QString());
    }

    void eachKindHasItsOwnText_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("connecting") << 0 << ""
                                    << "Conectando ao servidor...";
        QTest::newRow("saving") << 1 << ""
                                << "Gravando dados...";
        QTest::newRow("fetching") << 6 << ""
                                  << "Buscando dados...";
        QTest::newRow("fetching with a text") << 6 << "Carregando efetivos para faturamento..."
                                              << "Carregando efetivos para faturamento...";
    }
    void eachKindHasItsOwnText() {
        QWidget form;
        form.resize(400, 300);
        QVERIFY(testing::ShowActive(form));
        ActiveShowAvi(&form, FAI_FETCH(int, kind), FAI_FETCH(QString, text));
        QVERIFY(Shown(form));
        QCOMPARE(ShownText(form), FAI_FETCH(QString, shown));
        QCOMPARE(Overlay(form)->geometry(), form.rect());
        QCOMPARE(ShowAviDepth(), 1);
        DeactiveShowAvi();
        QVERIFY(!Shown(form));
        QCOMPARE(ShowAviDepth(), 0);
    }

    void theIndicatorIsPaintedBeforeTheCallReturns() {
        QWidget form;
        form.resize(400, 300);
        QVERIFY(testing::ShowActive(form));
        ActiveShowAvi(&form, 6);
        DeactiveShowAvi();
        PaintCounter counter;
        Overlay(form)->installEventFilter(&counter);
        ActiveShowAvi(&form, 1);  // no event loop runs between here and the check
        QVERIFY(counter.paints > 0);
    }

    void callsNestAndTheInnermostShows() {
        QWidget first, second;
        first.resize(300, 200);
        second.resize(300, 200);
        QVERIFY(testing::ShowActive(first));
        second.show();
        ActiveShowAvi(&first, 6, "A");
        ActiveShowAvi(&first, 1);
        QCOMPARE(ShownText(first), QStringLiteral("Gravando dados..."));
        ActiveShowAvi(&second, 0, "B");
        QVERIFY(!Shown(first));
        QCOMPARE(ShownText(second), QStringLiteral("B"));
        DeactiveShowAvi();
        QVERIFY(!Shown(second));
        QCOMPARE(ShownText(first), QStringLiteral("Gravando dados..."));
        DeactiveShowAvi();
        QCOMPARE(ShownText(first), QStringLiteral("A"));
        DeactiveShowAvi();
        QVERIFY(!Shown(first));
        DeactiveShowAvi();  // one too many: nothing happens
        QCOMPARE(ShowAviDepth(), 0);
    }

    void otherKindsAreAProgrammingError_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("2") << 2;
        QTest::newRow("5") << 5;
        QTest::newRow("7") << 7;
        QTest::newRow("-1") << -1;
    }
    void otherKindsAreAProgrammingError() {
        QWidget form;
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ActiveShowAvi(&form, FAI_FETCH(int, kind)));
        QCOMPARE(ShowAviDepth(), 0);
        QVERIFY(!Overlay(form));
    }

    void withoutAFormTheMainFormShowsIt() {
        QWidget main;
        main.resize(300, 200);
        QVERIFY(testing::ShowActive(main));
        HostApplication::Instance().SetMainForm(&main, nullptr);
        ActiveShowAvi(nullptr, 6);
        QVERIFY(Shown(main));
        DeactiveShowAvi();
        HostApplication::Instance().SetMainForm(nullptr, nullptr);
        // With no main form either, the call still counts.
        ActiveShowAvi(nullptr, 1);
        QCOMPARE(ShowAviDepth(), 1);
        DeactiveShowAvi();
    }

    void aFormGoneWhileBusyIsNoTrouble() {
        auto* form = new QWidget;
        form->show();
        ActiveShowAvi(form, 6);
        delete form;
        ActiveShowAvi(nullptr, 6);
        DeactiveShowAvi();
        DeactiveShowAvi();
        QCOMPARE(ShowAviDepth(), 0);
    }

    void screenCursorIsSetAndReset() {
        SetScreenCursor(TCursor::HourGlass);
        SetScreenCursor(TCursor::HourGlass);
        QCOMPARE(ScreenCursor(), TCursor::HourGlass);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        SetScreenCursor(TCursor::Default);
        QCOMPARE(ScreenCursor(), TCursor::Default);
        QVERIFY(!QGuiApplication::overrideCursor());
        SetScreenCursor(TCursor::Default);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void helpShowsThePageOfTheContext() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("FaiHelp"));
        QFile page(dir.filePath("FaiHelp/13300400.html"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><body><h1>Efetivos para Faturamento</h1></body></html>");
        page.close();
        SetHelpDirectory(dir.path());
        QString name, text;
        DialogScript script(mrOk, [&](QDialog& window) {
            name = window.objectName();
            text = window.findChild<QTextBrowser*>("txbAjuda")->toPlainText();
            return int(mrOk);
        });
        ShowHelp("FaiHelp.hlp", 13300400);
        QCOMPARE(name, QStringLiteral("frmAjuda"));
        QVERIFY(text.contains(QStringLiteral("Efetivos para Faturamento")));
        QVERIFY(script.Shown().empty());
    }

    void aMissingPageIsSaid_data() {
        QTest::addColumn<QString>("helpFile");
        QTest::addColumn<int>("context");
        QTest::newRow("no such context") << "FaiHelp.hlp" << 999;
        QTest::newRow("no such book") << "Outro.hlp" << 13300400;
        QTest::newRow("no help file") << "" << 13300400;
    }
    void aMissingPageIsSaid() {
        QTemporaryDir dir;
        SetHelpDirectory(dir.path());
        int windows = 0;
        DialogScript script(mrOk, [&windows](QDialog&) { return ++windows, int(mrOk); });
        QFETCH(int, context);
        ShowHelp(FAI_FETCH(QString, helpFile), context);
        QCOMPARE(windows, 0);
        QCOMPARE(script.Shown().size(), std::size_t(1));
        QVERIFY(script.Shown()[0].text.contains(QString::number(context)));
        QCOMPARE(script.Shown()[0].kind, DialogKind::Warning);
    }

    void helpPagesStayInTheirDirectory() {
        SetHelpDirectory("/ajuda");
        QCOMPARE(HelpPagePath("FaiHelp.hlp", 1), QStringLiteral("/ajuda/FaiHelp/1.html"));
        QCOMPARE(HelpPagePath("../../etc/FaiHelp.hlp", 2), QStringLiteral("/ajuda/FaiHelp/2.html"));
    }

    void everyScreenHasItsPage_data() {
        QTest::addColumn<QString>("helpFile");
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("title");
        QTest::newRow("headcount") << "FaiHelp.hlp" << 13300400 << "Efetivos para Faturamento";
        QTest::newRow("duplication") << "RodIVIV.hlp" << 13002900 << "Duplicação de Comensais";
        QTest::newRow("listing") << "FaiHelp.hlp" << 13300401 << "Listagem de Comensais";
        QTest::newRow("apportionment")
            << "FaiHelp.hlp" << 13300403 << "Itens para Rateio de Efetivos";
    }
    void everyScreenHasItsPage() {
        QFile page(HelpPagePath(FAI_FETCH(QString, helpFile), FAI_FETCH(int, context)));
        QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
        QVERIFY(QString::fromUtf8(page.readAll()).contains(FAI_FETCH(QString, title)));
    }
};

FAI_UI_TEST_MAIN(BusyHelpTest)
#include "test_busy_help.moc"
