#include "DesignEdits.h"
#include "DesignProperties.h"
#include "DesignScene.h"
#include "DesignView.h"
#include "Errors.h"
#include "EventGuard.h"
#include "FieldList.h"
#include "ParameterText.h"
#include "ReportBuilders.h"
#include "ReportCatalog.h"
#include "ReportDesigner.h"
#include "ReportFile.h"
#include "ReportPreview.h"
#include "ReportWorkspace.h"
#include "TButtonFlat.h"
#include "TfrmDadosGerRel.h"
#include "UiTesting.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolButton>

using namespace fai;
using namespace fai::testing;

namespace {

ReportPlace Band(BandKind kind, int group = -1) {
    ReportPlace place{ReportPlace::Part::Band};
    place.band = kind;
    place.group = group;
    return place;
}

ReportPlace ElementIn(BandKind kind, int element, int group = -1) {
    return ElementPlace(Band(kind, group), element);
}

// A page header with a title off the grid, a detail with the number and a page footer.
ReportDefinition Numbers(const QString& title) {
    ReportDefinition definition;
    definition.code = "Fai004";
    definition.title = title;
    definition.parameters = {{"P_ATE", ParamType::Number}};
    definition.sql =
        "SELECT QTCOMEFATU AS N, CDSERVFILI AS GRUPO FROM EFETFATUR WHERE QTCOMEFATU <= :P_ATE "
        "ORDER BY GRUPO, N";
    definition.pageHeader = BandOf(BandKind::PageHeader, 10, {TextAt({10.3, 2, 40, 5}, "Números")});
    definition.detail = BandOf(BandKind::Detail, 6, {FieldAt({0, 0, 20, 5}, "N")});
    ReportElement page = TextAt({100, 0, 50, 5}, "Página {page} de {pages}");
    page.kind = ElementKind::PageNumber;
    definition.pageFooter = BandOf(BandKind::PageFooter, 5, {page});
    return definition;
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The editor of a property in the panel as it stands (not one of a form on its way out).
template <typename Editor>
Editor* PanelEditor(QWidget& designer, const char* name) {
    for (Editor* editor : designer.findChildren<Editor*>(QLatin1String(name))) {
        if (editor->isVisibleTo(&designer)) return editor;
    }
    return nullptr;
}

}  // namespace

// The report designer on the offscreen platform, reading through the application server: the
// mouse, the keys, the field list, the panel, undo, saving and closing.
class ReportDesignerTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        workspace_ = std::make_unique<ReportWorkspace>(dir_);
        installed_ = workspace_->installed;
        user_ = workspace_->user;
        QVERIFY(QDir().mkpath(user_));
        SaveReportFile(Numbers("Números"), installed_ + "/Fai004.xml");
    }
    void cleanupTestCase() { workspace_.reset(); }
    void cleanup() {
        for (const QString& name : QDir(user_).entryList({"*.xml"}, QDir::Files))
            QFile::remove(QDir(user_).filePath(name));
    }

    void theMouseAndTheKeysEditOnTheGrid() {
        ReportDesigner designer(UserFile("Meus números"), {});
        QVERIFY(ShowActive(designer));
        ReportDesign& design = designer.Design();
        DesignView& view = designer.View();
        const auto box = [&design](const ReportPlace& place) {
            return ElementAt(design.Definition(), place)->box;
        };
        const auto centre = [&](const ReportPlace& place) {
            return view.mapFromScene(designer.Scene().ItemOf(place)->SceneBox().center());
        };
        const ReportPlace heading = ElementIn(BandKind::PageHeader, 0);
        const ReportPlace number = ElementIn(BandKind::Detail, 0);

        // A click selects; the arrows go to the next line of the 1 mm grid, Shift resizes.
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre(heading));
        QCOMPARE(design.Selection(), DesignSelection{heading});
        QTest::keyClick(&view, Qt::Key_Right);
        QCOMPARE(box(heading), QRectF(11, 2, 40, 5));
        QTest::keyClick(&view, Qt::Key_Left);
        QTest::keyClick(&view, Qt::Key_Left);
        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(box(heading), QRectF(9, 3, 40, 5));
        QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(box(heading), QRectF(9, 3, 41, 5));
        // Within its band by the keys: the band is 10 mm tall.
        for (int i = 0; i < 5; ++i) QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(box(heading).bottom(), 10.0);
        QCOMPARE(design.UndoStack().count(), 7);

        // The mouse drags the element onto the grid of the band it is let go over.
        const double pixels = view.PixelsPerMillimetre();
        const QPoint from = centre(heading);
        QPoint to = from + QPoint(qRound(7.4 * pixels), qRound(13.3 * pixels));
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(view.viewport(), from + QPoint(3, 3));
        QTest::mouseMove(view.viewport(), to);
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, to);
        const ReportPlace moved = ElementIn(BandKind::Detail, 1);
        QCOMPARE(design.Selection(), DesignSelection{moved});
        QVERIFY(!BandAt(design.Definition(), BandKind::PageHeader)->elements.size());
        QCOMPARE(box(moved).x(), std::round(box(moved).x()));
        QCOMPARE(box(moved).y(), std::round(box(moved).y()));
        QVERIFY2(qAbs(box(moved).x() - 16.4) <= 1, qPrintable(QString::number(box(moved).x())));
        // It ends lower than the detail's foot: the band grows to hold it.
        QCOMPARE(BandAt(design.Definition(), BandKind::Detail)->height, box(moved).bottom());

        // Ctrl and a click add to the selection; the arrows move all of it; Delete removes it.
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier, centre(number));
        QCOMPARE(design.Selection().size(), std::size_t(2));
        const double numberX = box(number).x();
        QTest::keyClick(&view, Qt::Key_Right);
        QCOMPARE(box(number).x(), numberX + 1);
        QTest::keyClick(&view, Qt::Key_Delete);
        QVERIFY(BandAt(design.Definition(), BandKind::Detail)->elements.empty());

        // Undo and redo walk the steps back and forth.
        const ReportDefinition emptied = design.Definition();
        const int steps = design.UndoStack().count();
        QTest::keyClick(&designer, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(BandAt(design.Definition(), BandKind::Detail)->elements.size(), std::size_t(2));
        QCOMPARE(design.Selection().size(), std::size_t(2));
        QTest::keyClick(&designer, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(design.Definition() == emptied);
        for (int i = 0; i < steps; ++i) design.UndoStack().undo();
        QVERIFY(design.Definition() == Numbers("Meus números"));
        QVERIFY(!design.Modified());

        // The handles resize on the grid; a band's foot sets its height on the grid; a
        // rectangle drawn from empty space selects what it touches.
        const auto at = [&view](QPointF point) { return view.mapFromScene(point); };
        const auto drag = [&view](QPoint from, QPoint to) {
            QTest::mousePress(view.viewport(), Qt::LeftButton, {}, from);
            QTest::mouseMove(view.viewport(), from + (to - from) / 2);
            QTest::mouseMove(view.viewport(), to);
            QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, to);
        };
        design.Select({heading});
        const QRectF shown = designer.Scene().ItemOf(heading)->SceneBox();
        drag(at(shown.bottomRight()), at(shown.bottomRight() + QPointF(5.7, 1)));
        QCOMPARE(box(heading), QRectF(10.3, 2, 45.7, 6));
        const QRectF detail = designer.Scene().Layout().Find(Band(BandKind::Detail))->area;
        drag(at(QPointF(detail.center().x(), detail.bottom())),
             at(QPointF(detail.center().x(), detail.bottom() + 3)));
        QCOMPARE(BandAt(design.Definition(), BandKind::Detail)->height, 9.0);
        const QRectF footer = designer.Scene().Layout().Find(Band(BandKind::PageFooter))->area;
        drag(at(QPointF(3, 12)), at(QPointF(205, footer.bottom())));
        QCOMPARE(design.Selection().size(), std::size_t(3));

        // With the grid off the arrows nudge a tenth of a millimetre.
        designer.findChild<QCheckBox*>("chkGrade")->click();
        design.Select({number});
        QTest::keyClick(&view, Qt::Key_Right);
        QCOMPARE(box(number).x(), 0.1);
        // The zoom: the page's width, or its size on paper times the percentage.
        auto* zoom = designer.findChild<QComboBox*>("cbbZoom");
        QCOMPARE(zoom->currentText(), QStringLiteral("Largura da página"));
        QTest::keyClick(&view, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(&view, Qt::Key_Plus, Qt::ControlModifier);
        const QString stepped = zoom->currentText();
        zoom->setCurrentIndex(zoom->findText("200%"));
        emit zoom->activated(zoom->currentIndex());
        QCOMPARE(view.PixelsPerMillimetre(), view.logicalDpiX() / 25.4 * 2);
        QVERIFY2(stepped.endsWith('%'), qPrintable(stepped));

        // Closing without changes asks nothing.
        while (design.UndoStack().canUndo()) design.UndoStack().undo();
        DialogScript quiet(mrNo);
        designer.reject();
        QVERIFY(quiet.Texts().isEmpty());
        QVERIFY(!designer.isVisible());
    }

    void theToolsAddElementsBandsAndGroups() {
        const QString image = dir_.filePath("logo.png");
        QImage logo(8, 4, QImage::Format_RGB32);
        logo.fill(Qt::red);
        QVERIFY(logo.save(image));
        const QString notImage = dir_.filePath("logo.txt");
        QFile text(notImage);
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("texto") == 5);
        text.close();

        ReportDesigner designer(UserFile("Meus números"), {});
        ReportDesign& design = designer.Design();
        const auto trigger = [&designer](const char* name) {
            designer.findChild<QAction*>(name)->trigger();
        };
        QStringList files = {notImage, image};
        DialogScript script(mrOk, [&files](QDialog& dialog) {
            if (auto* file = qobject_cast<QFileDialog*>(&dialog)) {
                file->selectFile(files.takeFirst());
                return int(QDialog::Accepted);
            }
            if (auto* ask = qobject_cast<QInputDialog*>(&dialog)) {
                ask->setTextValue("GRUPO");
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        });
        // Each goes into the band of what is selected.
        design.Select({Band(BandKind::PageFooter)});
        for (const char* tool :
             {"actTexto", "actCampo", "actTotalizador", "actNumeroPagina", "actDataImpressao",
              "actLinha", "actRetangulo", "actImagem", "actImagem"})
            trigger(tool);
        designer.findChild<QListWidget*>("lstCampos")->setCurrentRow(1);
        trigger("actCampo");
        QCOMPARE(script.Texts(),
                 QStringList({"Escolha o campo na lista de campos da consulta, ou arraste-o até "
                              "a banda.",
                              QStringLiteral("O arquivo '%1' não é uma imagem que o relatório "
                                             "possa mostrar.")
                                  .arg(notImage)}));
        const ReportBand& band = *BandAt(design.Definition(), BandKind::PageFooter);
        std::vector<ElementKind> kinds;
        for (const ReportElement& element : band.elements) kinds.push_back(element.kind);
        QVERIFY((kinds == std::vector<ElementKind>{
                              ElementKind::PageNumber, ElementKind::Text, ElementKind::Aggregate,
                              ElementKind::PageNumber, ElementKind::PrintDate, ElementKind::Line,
                              ElementKind::Rectangle, ElementKind::Image, ElementKind::Field}));
        QCOMPARE(band.elements[7].box.size(), QSizeF(30, 15));
        QCOMPARE(band.elements[8].field, QStringLiteral("GRUPO"));
        QCOMPARE(band.height, 15.0);

        // The bands missing are offered; a group comes with its header and footer.
        QMenu* bands = designer.findChild<QToolButton*>("btnBandas")->menu();
        emit bands->aboutToShow();
        QStringList offered;
        for (QAction* action : bands->actions()) offered << action->text();
        QCOMPARE(offered, QStringList({"Cabeçalho do relatório", "Resumo"}));
        bands->actions().last()->trigger();
        QVERIFY(design.Definition().summary);
        QCOMPARE(design.Selection(), DesignSelection{Band(BandKind::Summary)});
        QVERIFY(!designer.findChild<QAction*>("actExcluirGrupo")->isEnabled());
        trigger("actGrupo");
        QCOMPARE(design.Definition().groups.size(), std::size_t(1));
        QCOMPARE(design.Definition().groups[0].field, QStringLiteral("GRUPO"));
        QVERIFY(designer.findChild<QAction*>("actExcluirGrupo")->isEnabled());
        trigger("actExcluirGrupo");
        QVERIFY(design.Definition().groups.empty());
        QCOMPARE(script.Texts().size(), 2);
    }

    void aFieldDraggedOntoABandBecomesAFieldElement() {
        ReportDesigner designer(UserFile("Meus números"), {});
        QVERIFY(ShowActive(designer));
        auto* list = designer.findChild<QListWidget*>("lstCampos");
        QCOMPARE(designer.Fields().Fields(), QStringList({"N", "GRUPO"}));
        QCOMPARE(list->count(), 2);

        DesignView& view = designer.View();
        const QRectF detail = designer.Scene().Layout().Find(Band(BandKind::Detail))->area;
        const QPoint at = view.mapFromScene(detail.topLeft() + QPointF(50.4, 1.2));
        std::unique_ptr<QMimeData> data(list->model()->mimeData({list->model()->index(1, 0)}));
        QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &move);
        QVERIFY(move.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &drop);

        const ReportElement* made =
            ElementAt(designer.Design().Definition(), ElementIn(BandKind::Detail, 1));
        QVERIFY(made);
        QCOMPARE(made->kind, ElementKind::Field);
        QCOMPARE(made->field, QStringLiteral("GRUPO"));
        QCOMPARE(made->box.topLeft(), QPointF(50, 1));
        QCOMPARE(designer.Design().Selection(), DesignSelection{ElementIn(BandKind::Detail, 1)});
        designer.Design().UndoStack().undo();
        QCOMPARE(BandAt(designer.Design().Definition(), BandKind::Detail)->elements.size(),
                 std::size_t(1));
    }

    void theQueryAndItsParametersAreEditedAsText() {
        ReportDesigner designer(UserFile("Meus números"), {});
        auto* sql = designer.findChild<QPlainTextEdit*>("memConsulta");
        auto* parameters = designer.findChild<QPlainTextEdit*>("memParametros");
        QCOMPARE(parameters->toPlainText(), QStringLiteral("P_ATE número\n"));
        DialogScript script;
        const auto apply = [&](const QString& query, const QString& declarations) {
            sql->setPlainText(query);
            parameters->setPlainText(declarations);
            return GuardEvent([&] { designer.ApplyQuery(); });
        };
        const QString numbers =
            "SELECT QTCOMEFATU AS NUMERO FROM EFETFATUR WHERE QTCOMEFATU BETWEEN :P_DE AND :P_ATE";
        QVERIFY(
            !apply("SELECT QTCOMEFATU FROM EFETFATUR WHERE QTCOMEFATU <= :P_ATE", "P_ATE númer"));
        QVERIFY(
            !apply("SELECT QTCOMEFATU FROM EFETFATUR WHERE QTCOMEFATU <= :P_MAX", "P_ATE número"));
        QVERIFY(apply(numbers, "P_DE: numero\n\nP_ATE número"));
        QCOMPARE(script.Texts(),
                 QStringList({"Linha 1 dos parâmetros: tipo \"númer\" desconhecido; use texto, "
                              "data, número ou lista.",
                              "consulta: a consulta usa o parâmetro :P_MAX, que não foi "
                              "declarado."}));
        const ReportDefinition definition = designer.Design().Definition();
        QCOMPARE(definition.sql, numbers);
        QVERIFY(
            (definition.parameters == std::vector<ReportParameter>{{"P_DE", ParamType::Number},
                                                                   {"P_ATE", ParamType::Number}}));
        QCOMPARE(parameters->toPlainText(), QStringLiteral("P_DE número\nP_ATE número\n"));
        QCOMPARE(designer.Fields().Fields(), QStringList({"NUMERO"}));

        // A query that cannot run lists no field and says why.
        QVERIFY(apply("SELECT X FROM NAO_EXISTE", ""));
        QVERIFY(designer.Fields().Fields().isEmpty());
        const QString why = designer.findChild<QLabel*>("lblCampos")->text();
        QVERIFY2(why.startsWith("Os campos da consulta não puderam ser lidos.") &&
                     why.contains("NAO_EXISTE"),
                 qPrintable(why));
        // Undo brings the query back, in the editors and in the field list.
        designer.Design().UndoStack().undo();
        QCOMPARE(sql->toPlainText(), definition.sql);
        QCOMPARE(designer.Fields().Fields(), QStringList({"NUMERO"}));
    }

    void thePanelEditsWhatIsSelected() {
        ReportDesigner designer(UserFile("Meus números"), {});
        QVERIFY(ShowActive(designer));
        ReportDesign& design = designer.Design();
        const ReportPlace number = ElementIn(BandKind::Detail, 0);
        design.Select({number});
        auto* x = PanelEditor<QDoubleSpinBox>(designer, "spnX");
        QVERIFY(x);
        x->setValue(25.5);
        emit x->editingFinished();
        QCOMPARE(ElementAt(design.Definition(), number)->box.x(), 25.5);
        PanelEditor<QCheckBox>(designer, "chkNegrito")->click();
        QVERIFY(ElementAt(design.Definition(), number)->font.bold);
        auto* format = PanelEditor<QComboBox>(designer, "cbbFormato");
        format->setCurrentIndex(format->findText("Número"));
        emit format->activated(format->currentIndex());
        // A number format brings its decimals into the panel.
        auto* decimals = PanelEditor<QSpinBox>(designer, "spnDecimais");
        QVERIFY(decimals);
        decimals->setValue(3);
        emit decimals->editingFinished();
        QCOMPARE(ElementAt(design.Definition(), number)->format,
                 (DisplayFormat{FormatKind::Number, 3, true, {}}));
        QCOMPARE(design.UndoStack().count(), 4);

        // A value the definition cannot take is refused and the editor shows the one kept.
        DialogScript script;
        auto* colour = PanelEditor<QLineEdit>(designer, "edtCor");
        colour->setText("azul");
        emit colour->editingFinished();
        auto* field = PanelEditor<QComboBox>(designer, "cbbCampo");
        QCOMPARE(field->count(), 2);
        field->setCurrentText(" ");
        emit field->lineEdit()->editingFinished();
        QCOMPARE(script.Texts(),
                 QStringList({"Cor inválida \"azul\": use #rrggbb, como #000000.",
                              "detalhe, elemento 1 (campo): o campo não foi informado."}));
        QCOMPARE(colour->text(), QStringLiteral("#000000"));
        QCOMPARE(field->currentText(), QStringLiteral("N"));
        QCOMPARE(design.UndoStack().count(), 4);

        // Leaving an editor that cannot show the value (a size below its least) writes
        // nothing.
        DesignEdit tiny{design.Definition(), {number}};
        MutableBandAt(tiny.definition, number)->elements[0].font.size = 0.5;
        design.Apply("Tamanho", tiny);
        auto* size = PanelEditor<QDoubleSpinBox>(designer, "spnTamanho");
        QCOMPARE(size->value(), 1.0);
        emit size->editingFinished();
        QCOMPARE(ElementAt(design.Definition(), number)->font.size, 0.5);
        QCOMPARE(design.UndoStack().count(), 5);

        // A band, and the report when nothing is selected.
        design.Select({Band(BandKind::PageFooter)});
        auto* height = PanelEditor<QDoubleSpinBox>(designer, "spnAlturaBanda");
        height->setValue(8);
        emit height->editingFinished();
        QCOMPARE(BandAt(design.Definition(), BandKind::PageFooter)->height, 8.0);
        design.Select({});
        auto* title = PanelEditor<QLineEdit>(designer, "edtTitulo");
        title->setText("Números por grupo");
        emit title->editingFinished();
        QCOMPARE(design.Definition().title, QStringLiteral("Números por grupo"));
    }

    void openedAndSavedWithoutChangesTheFileStaysByteForByte() {
        // Written by hand: other indentation, other order of attributes.
        const QString path = QDir(user_).filePath("Fai004-manual.xml");
        const QByteArray manual =
            "<?xml version=\"1.0\"?>\n<report title=\"Manual\" code=\"Fai004\" format=\"1\">\n"
            "\t<query><![CDATA[SELECT QTCOMEFATU AS N FROM EFETFATUR]]></query>\n"
            "\t<detail height=\"5\"><field width=\"20\" height=\"5\" field=\"N\" x=\"0\" "
            "y=\"0\"/></detail>\n</report>\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(manual);
        file.close();
        for (const QString& opened : {path, UserFile("Meus números")}) {
            const QByteArray before = Bytes(opened);
            ReportDesigner designer(opened, {});
            QVERIFY(ShowActive(designer));
            // Changed and changed back is no change either.
            designer.Design().Select({ElementIn(BandKind::Detail, 0)});
            QTest::keyClick(&designer.View(), Qt::Key_Right);
            QVERIFY(designer.Design().Modified());
            designer.Design().UndoStack().undo();
            QVERIFY(designer.Save());
            QCOMPARE(Bytes(opened), before);
        }
    }

    void savedAndReadAgainTheDefinitionIsTheEditedOne() {
        const QString path = UserFile("Meus números");
        {
            ReportDesigner designer(path, {});
            QVERIFY(ShowActive(designer));
            designer.Design().Select({ElementIn(BandKind::Detail, 0)});
            QTest::keyClick(&designer.View(), Qt::Key_Right);
            QVERIFY(designer.Design().Modified());
            QVERIFY(designer.windowTitle().contains("[*]") && designer.isWindowModified());
            QTest::keyClick(&designer, Qt::Key_S, Qt::ControlModifier);
            QVERIFY(!designer.Design().Modified());
        }
        // Only what was edited changed.
        ReportDefinition expected = Numbers("Meus números");
        expected.detail->elements[0].box.moveLeft(1);
        QVERIFY(ReadReportFile(path) == expected);
        QCOMPARE(Bytes(path), WriteReport(expected));
    }

    void savingAnInstalledDefinitionWritesTheUsersCopy() {
        const QString installed = installed_ + "/Fai004.xml";
        const QByteArray before = Bytes(installed);
        ReportDesigner designer(installed, {});
        QVERIFY(ShowActive(designer));
        QVERIFY(designer.windowTitle().contains("instalado com o programa"));
        designer.Design().Select({ElementIn(BandKind::Detail, 0)});
        QTest::keyClick(&designer.View(), Qt::Key_Down);

        QStringList answers = {"números", "Meus números"};
        QString proposed;
        QString label;
        DialogScript script(mrOk, [&](QDialog& dialog) {
            auto* ask = qobject_cast<QInputDialog*>(&dialog);
            if (!ask || ask->objectName() != "dlgTituloCopia") return int(QDialog::Rejected);
            proposed = ask->textValue();
            label = ask->labelText();
            ask->setTextValue(answers.takeFirst());
            return int(QDialog::Accepted);
        });
        // A title taken by another definition is refused and nothing is written.
        QVERIFY(!GuardEvent([&] { designer.Save(); }));
        QCOMPARE(script.Texts(), QStringList("Já existe um relatório \"números\" de código "
                                             "Fai004: informe outro título."));
        QCOMPARE(proposed, QStringLiteral("Números (cópia)"));
        QVERIFY(
            label.startsWith("O relatório \"Números\" foi instalado com o programa e não é "
                             "alterado"));
        QVERIFY(QDir(user_).entryList({"*.xml"}).isEmpty());
        QVERIFY(designer.Design().Modified());

        QVERIFY(designer.Save());
        QCOMPARE(Bytes(installed), before);
        const QString copy = designer.Design().Path();
        QVERIFY(copy.startsWith(user_));
        ReportDefinition expected = Numbers("Meus números");
        expected.detail->elements[0].box.moveTop(1);
        QVERIFY(ReadReportFile(copy) == expected);
        QVERIFY(!designer.Design().Modified());
        QVERIFY(!designer.windowTitle().contains("instalado"));

        // From then on the design is the copy, saved in place without a question.
        QTest::keyClick(&designer.View(), Qt::Key_Right);
        QVERIFY(designer.Save());
        expected.detail->elements[0].box.moveLeft(1);
        QVERIFY(ReadReportFile(copy) == expected);
        QCOMPARE(Bytes(installed), before);
        QVERIFY(answers.isEmpty());
    }

    void closingWithChangesAsksFirst() {
        const QString path = UserFile("Meus números");
        const QByteArray before = Bytes(path);
        struct Case {
            int answer;
            bool closes;
            bool saves;
        };
        for (const Case& c :
             {Case{mrCancel, false, false}, Case{mrNo, true, false}, Case{mrYes, true, true}}) {
            ReportDesigner designer(path, {});
            QVERIFY(ShowActive(designer));
            designer.Design().Select({ElementIn(BandKind::Detail, 0)});
            QTest::keyClick(&designer.View(), Qt::Key_Right);
            DialogScript script(c.answer);
            QTest::keyClick(&designer, Qt::Key_Escape);
            QCOMPARE(script.Texts(),
                     QStringList("O relatório \"Meus números\" tem alterações que não foram "
                                 "salvas. Deseja salvá-las antes de fechar?"));
            QCOMPARE(designer.isVisible(), !c.closes);
            QCOMPARE(Bytes(path) != before, c.saves);
        }
    }

    void theBaseFormOpensTheDesignerOnTheChosenDefinitionAndPreviewsFromIt() {
        TfrmDadosGerRel form;
        form.SetReportCode("Fai004");
        int asked = 0;
        form.rpddPadrao.BeforeGetQueryParams = [&asked](ReportParams& params) {
            ++asked;
            params.ParamByName("P_ATE").SetAsFloat(4);
        };
        form.FormCreate();
        auto* names = form.findChild<QComboBox*>("cbbReportNames");
        QCOMPARE(names->currentText(), QStringLiteral("Números"));

        QString opened;
        int previewPages = 0;
        DialogScript script(mrOk, [&](QDialog& dialog) {
            if (auto* designer = qobject_cast<ReportDesigner*>(&dialog)) {
                opened = designer->Design().Path();
                designer->findChild<QAction*>("actVisualizar")->trigger();
                ReportDesign& design = designer->Design();
                design.Apply("Mover",
                             MoveElements(design.Definition(), {ElementIn(BandKind::Detail, 0)},
                                          QPointF(0, 1), MoveScope::WithinBand));
                designer->findChild<QAction*>("actSalvar")->trigger();
                return int(QDialog::Rejected);
            }
            if (auto* preview = qobject_cast<ReportPreview*>(&dialog)) {
                previewPages = preview->Document().PageCount();
                return int(QDialog::Rejected);
            }
            if (auto* ask = qobject_cast<QInputDialog*>(&dialog)) {
                ask->setTextValue("Minha cópia");
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        });
        QTest::mouseClick(form.sbtReportEdit, Qt::LeftButton);
        QVERIFY(script.Texts().isEmpty());
        QCOMPARE(opened, QFileInfo(installed_ + "/Fai004.xml").absoluteFilePath());
        QCOMPARE(asked, 1);
        QCOMPARE(previewPages, 1);
        QCOMPARE(names->currentText(), QStringLiteral("Minha cópia"));
        QVERIFY(names->currentData().toString().startsWith(user_));
        QCOMPARE(ReadReportFile(names->currentData().toString()).detail->elements[0].box.y(), 1.0);
    }

    void editsWithoutTheWindow() {
        // Parameters as text, read back as they were written.
        const std::vector<ReportParameter> all{{"P_A", ParamType::Text},
                                               {"P_B", ParamType::Date},
                                               {"P_C", ParamType::Number},
                                               {"P_D", ParamType::List}};
        QVERIFY(ParseParameters(FormatParameters(all)) == all);
        QVERIFY((ParseParameters("  P_X  \n\n P_Y:lista ") ==
                 std::vector<ReportParameter>{{"P_X", ParamType::Text}, {"P_Y", ParamType::List}}));
        QVERIFY_THROWS_EXCEPTION(EError, ParseParameters("P_X texto demais"));

        // Groups: added innermost with both bands; the last band taken away takes the group.
        ReportDefinition definition = Numbers("x");
        DesignEdit edit = AddGroup(definition, "GRUPO");
        QCOMPARE(edit.definition.groups.size(), std::size_t(1));
        QCOMPARE(edit.selection, DesignSelection{Band(BandKind::GroupHeader, 0)});
        edit = RemoveSelection(edit.definition, {Band(BandKind::GroupHeader, 0)});
        QCOMPARE(edit.definition.groups.size(), std::size_t(1));
        edit = RemoveSelection(edit.definition, {Band(BandKind::GroupFooter, 0)});
        QVERIFY(edit.definition.groups.empty());
        // The aggregates over a group follow it when its field changes.
        edit = AddGroup(definition, "GRUPO");
        ReportElement total = NewElement(ElementKind::Aggregate);
        total.over = "GRUPO";
        edit = InsertElement(edit.definition, Band(BandKind::GroupFooter, 0), total);
        const ReportPlace header = Band(BandKind::GroupHeader, 0);
        for (const DesignProperty* property : PropertiesOf(edit.definition, header)) {
            if (QLatin1String(property->name) == "cbbCampoGrupo")
                edit = SetProperty(edit.definition, header, *property, QStringLiteral("N"));
        }
        QCOMPARE(edit.definition.groups[0].field, QStringLiteral("N"));
        QCOMPARE(ElementAt(edit.definition, ElementIn(BandKind::GroupFooter, 0, 0))->over,
                 QStringLiteral("N"));

        // Grid lines, and an element never leaves the page sideways.
        QCOMPARE(NextGridLine(10.3, 2.5, 1), 12.5);
        QCOMPARE(NextGridLine(10, 2.5, -1), 7.5);
        QCOMPARE(SnapToGrid(10.3, 0.5), 10.5);
        edit = MoveElements(definition, {ElementIn(BandKind::PageFooter, 0)}, QPointF(500, 0),
                            MoveScope::WithinBand);
        QCOMPARE(ElementAt(edit.definition, ElementIn(BandKind::PageFooter, 0))->box.right(),
                 190.0);
        // A band is never made shorter than its elements need.
        edit = SetBandHeight(definition, Band(BandKind::PageHeader), 1);
        QCOMPARE(BandAt(edit.definition, BandKind::PageHeader)->height, 7.0);
    }

  private:
    // A definition of the user's own, fresh for the test.
    QString UserFile(const QString& title) {
        const QString path = QDir(user_).filePath("Fai004-meus.xml");
        SaveReportFile(Numbers(title), path);
        return path;
    }

    QTemporaryDir dir_;
    std::unique_ptr<ReportWorkspace> workspace_;
    QString installed_;
    QString user_;
};

FAI_UI_TEST_MAIN(ReportDesignerTest)
#include "test_report_designer.moc"
