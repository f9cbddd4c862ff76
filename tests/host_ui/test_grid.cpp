#include "Consiste.h"
#include "Errors.h"
#include "GridFixture.h"
#include "TMaskEdit.h"

#include <QAction>
#include <QElapsedTimer>
#include <QHeaderView>

using namespace fai;
using fai::testing::DialogScript;
using fai::testing::GridFixture;

// The data-aware grid as the headcount grids use it.
class GridTest : public QObject {
    Q_OBJECT

  private slots:
    void showsVisibleFieldsWithTheirLabelsAndFormats() {
        GridFixture f;
        f.Load(2);
        QCOMPARE(f.grid->ColumnCount(), 4);  // DTFATURAM is hidden
        QCOMPARE(f.Title(0), QStringLiteral("Código"));
        QCOMPARE(f.Title(2), QStringLiteral("Nº Comensais Faturados"));
        QCOMPARE(f.Cell(0, 0), QStringLiteral("10001"));
        QCOMPARE(f.Cell(1, 1), QStringLiteral("Serviço 2"));
        QCOMPARE(f.Cell(1, 2), QStringLiteral("2.000,500"));
        QCOMPARE(f.Cell(0, 3), QStringLiteral("0,000"));
        QCOMPARE(f.grid->model()->index(0, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(IndiceCol(f.grid, "qtcomeprev"), 3);
        QCOMPARE(IndiceCol(f.grid, "DTFATURAM"), -1);
        QCOMPARE(IndiceCol(nullptr, "DTFATURAM"), -1);
    }

    void persistentColumnsDecideWhatIsShown() {
        GridFixture f;
        TColumn& date = f.grid->Columns().Add("DTFATURAM");
        date.SetWidth(90);
        TColumn& billed = f.grid->Columns().Add("QTCOMEFATU");
        billed.SetTitleAlignment(Qt::AlignRight);
        billed.SetWidth(128);
        f.grid->Columns().Add("QTCOMEPREV").SetTitle("Previstos");
        f.Load(3);
        QCOMPARE(f.grid->ColumnCount(), 3);
        QCOMPARE(f.Title(0), QStringLiteral("Data Faturamento"));  // a hidden field, named
        QCOMPARE(f.Cell(2, 0), QStringLiteral("03/03/2026"));
        QCOMPARE(f.Title(2), QStringLiteral("Previstos"));
        QCOMPARE(f.grid->model()
                     ->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole)
                     .value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        // The design's widths, widened where a title or a value would not show whole.
        QVERIFY(f.grid->columnWidth(0) >= 90);
        QVERIFY(f.grid->columnWidth(1) >= 128);
        QCOMPARE(testing::CutTexts(*f.grid), QStringList());
        f.grid->Columns()[2].SetWidth(300);
        QCOMPARE(f.grid->columnWidth(2), 300);
        QCOMPARE(IndiceCol(f.grid, "QTCOMEPREV"), 2);
        QCOMPARE(IndiceCol(f.grid, "CDSERVFILI"), -1);
        billed.SetVisible(false);
        QVERIFY(f.grid->isColumnHidden(1));
        f.grid->Columns().Clear();
        QCOMPARE(f.grid->ColumnCount(), 4);
    }

    void currentRowFollowsTheDataSetBothWays() {
        GridFixture f;
        f.Load(5);
        QVERIFY(f.Show());
        QCOMPARE(f.grid->currentIndex().row(), 0);
        f.Key(Qt::Key_Down);
        f.Key(Qt::Key_Down);
        QCOMPARE(f.cds.RecNo(), 3);
        f.cds.Last();
        QCOMPARE(f.grid->currentIndex().row(), 4);
        f.Key(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(f.cds.RecNo(), 1);
        f.grid->selectionModel()->setCurrentIndex(f.grid->model()->index(3, 1),
                                                  QItemSelectionModel::NoUpdate);
        QCOMPARE(f.cds.RecNo(), 4);
        QCOMPARE(f.grid->SelectedIndex(), 1);
        QCOMPARE(f.grid->SelectedField()->FieldName(), QStringLiteral("NMSERVICO"));
    }

    void typingEditsTheCellAndLeavingTheRowPostsIt() {
        GridFixture f;
        f.Load(3);
        QVERIFY(f.Show());
        f.grid->SetSelectedIndex(2);
        f.Type("12,5");
        QCOMPARE(f.cds.State(), DataSetState::Edit);
        QVERIFY(f.grid->EditorMode());
        QCOMPARE(f.grid->InplaceText(), QStringLiteral("12,5"));
        f.Key(Qt::Key_Tab);  // the cell is left: the text goes to the field
        QCOMPARE(f.grid->SelectedIndex(), 3);
        QCOMPARE(f.cds.FieldByName("QTCOMEFATU").AsFloat(), 12.5);
        QCOMPARE(f.cds.State(), DataSetState::Edit);
        f.Key(Qt::Key_Down);  // the row is left: it is posted
        QCOMPARE(f.cds.State(), DataSetState::Browse);
        QCOMPARE(f.cds.RecNo(), 2);
        QCOMPARE(f.cds.ChangeCount(), 1);
        QCOMPARE(f.Cell(0, 2), QStringLiteral("12,500"));
    }

    void aPostFromCodeTakesWhatIsTypedInTheOpenCell() {
        GridFixture f;
        f.Load(3);
        QVERIFY(f.Show());
        f.grid->SetSelectedIndex(2);
        f.Type("7,25");
        QVERIFY(f.grid->EditorMode());
        f.cds.Post();  // as a screen's confirm command does, with the cell still open
        QCOMPARE(f.cds.State(), DataSetState::Browse);
        QCOMPARE(f.cds.FieldByName("QTCOMEFATU").AsFloat(), 7.25);
        QCOMPARE(f.cds.ChangeCount(), 1);
    }

    void editorOpensWithTheEditTextAndTheFieldsMask() {
        GridFixture f;
        f.Load(2);
        QVERIFY(f.Show());
        f.grid->SetSelectedIndex(2);
        f.Key(Qt::Key_F2);
        QVERIFY(f.grid->EditorMode());
        QCOMPARE(f.grid->InplaceText(), QStringLiteral("1000,500"));  // edit format, no dots
        QCOMPARE(f.grid->InplaceSelStart(), 0);
        QCOMPARE(f.grid->InplaceSelLength(), 8);
        f.Key(Qt::Key_Escape);
        QVERIFY(!f.grid->EditorMode());
        QCOMPARE(f.cds.State(), DataSetState::Edit);
        f.Key(Qt::Key_Escape);  // the second one cancels the row's edit
        QCOMPARE(f.cds.State(), DataSetState::Browse);
        f.grid->SetSelectedIndex(0);
        f.Key(Qt::Key_Return);
        QCOMPARE(f.grid->InplaceEditor()->EditMask(), QStringLiteral("ccccc;0; "));
        QCOMPARE(f.grid->InplaceEditor()->maxLength(), 5);
    }

    void aTypedDateGoesThroughTheFieldsTextHandler() {
        GridFixture f;
        f.grid->Columns().Add("DTFATURAM");
        f.grid->Columns().Add("QTCOMEFATU");
        f.cds.FieldByName("DTFATURAM").SetEditMask(DateMask());
        f.Load(1);
        QVERIFY(f.Show());
        f.grid->SetSelectedIndex(0);
        f.Type("15042026");
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.cds.FieldByName("DTFATURAM").AsDateTime(), QDate(2026, 4, 15));

        DialogScript script;
        f.grid->SetSelectedIndex(0);
        f.Type("31022026");
        f.Key(Qt::Key_Tab);  // refused: the editor stays on the date
        QCOMPARE(script.Shown().size(), std::size_t(1));
        QVERIFY(script.Shown()[0].text.contains(QStringLiteral("não é uma data válida")));
        QCOMPARE(f.grid->SelectedIndex(), 0);
        QVERIFY(f.grid->EditorMode());
        QCOMPARE(f.cds.FieldByName("DTFATURAM").AsDateTime(), QDate(2026, 4, 15));
    }

    void editingSwitchesOffAndOnAtRunTime() {
        GridFixture f;
        f.Load(2);
        QVERIFY(f.Show());
        f.grid->SetOption(TDBGrid::dgEditing, false);
        f.grid->SetSelectedIndex(2);
        f.Type("7");
        f.Key(Qt::Key_Insert);
        f.Key(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(f.cds.State(), DataSetState::Browse);
        QCOMPARE(f.Rows(), 2);
        QVERIFY(!f.grid->EditorMode());
        f.grid->SetOption(TDBGrid::dgEditing, true);
        f.Type("7");
        QCOMPARE(f.cds.State(), DataSetState::Edit);
        QCOMPARE(f.grid->InplaceText(), QStringLiteral("7"));
        // Switching it off closes the editor.
        f.grid->SetOption(TDBGrid::dgEditing, false);
        QVERIFY(!f.grid->EditorMode());
    }

    // What is typed on a cell that cannot take it goes to the next one of the row that can.
    void readOnlyColumnsAndFieldsTakeNoTyping_data() {
        QTest::addColumn<bool>("columnReadOnly");
        QTest::addColumn<bool>("fieldReadOnly");
        QTest::addColumn<int>("typedIn");
        QTest::newRow("editable") << false << false << 0;
        QTest::newRow("read-only column") << true << false << 1;
        QTest::newRow("read-only field") << false << true << 1;
    }
    void readOnlyColumnsAndFieldsTakeNoTyping() {
        GridFixture f;
        f.grid->Columns().Add("CDSERVFILI").SetReadOnly(FAI_FETCH(bool, columnReadOnly));
        f.grid->Columns().Add("NMSERVICO");
        f.cds.FieldByName("CDSERVFILI").SetReadOnly(FAI_FETCH(bool, fieldReadOnly));
        f.Load(1);
        QVERIFY(f.Show());
        f.Type("9");
        QVERIFY(f.grid->EditorMode());
        QCOMPARE(f.grid->SelectedIndex(), FAI_FETCH(int, typedIn));
        QCOMPARE(f.grid->InplaceText(), QStringLiteral("9"));
    }

    // A new row by service: the weekday between the date and the counts is read-only. Tab
    // goes past it, and what is typed on it goes to the billed count: nothing is lost and
    // nothing lands a column further on.
    void tabAndTypingGoOnlyWhereAValueCanBeTyped() {
        GridFixture f;
        f.cds.FieldByName("NMSERVICO").SetReadOnly(true);
        f.Load(1);
        QVERIFY(f.Show());
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.grid->SelectedField()->FieldName(), QStringLiteral("QTCOMEFATU"));
        f.Key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(f.grid->SelectedField()->FieldName(), QStringLiteral("CDSERVFILI"));
        f.grid->SetSelectedIndex(1);
        f.Type("420");
        f.Key(Qt::Key_Tab);
        f.Type("425");
        f.Key(Qt::Key_Return);
        f.cds.Post();
        QCOMPARE(f.cds.FieldByName("QTCOMEFATU").AsFloat(), 420.0);
        QCOMPARE(f.cds.FieldByName("QTCOMEPREV").AsFloat(), 425.0);
        QCOMPARE(f.cds.FieldByName("NMSERVICO").AsString(), QStringLiteral("Serviço 1"));
        // A grid that cannot be edited at all stops Tab on every column, as before.
        f.grid->SetOption(TDBGrid::dgEditing, false);
        f.grid->SetSelectedIndex(0);
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.grid->SelectedIndex(), 1);
    }

    // A key a command of the window answers reaches the command from a cell being typed in:
    // the cell's line editing does not keep it. Ctrl+A, which line editing takes on every
    // platform, stands here for Ctrl+E, which it takes on X11 (the end of the line).
    void aCommandsKeyReachesItsCommandFromTheCellEditor() {
        GridFixture f;
        f.Load(1);
        QAction command(&f.window);
        command.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
        command.setShortcutContext(Qt::WidgetWithChildrenShortcut);
        f.window.addAction(&command);
        int triggered = 0;
        connect(&command, &QAction::triggered, this, [&triggered] { ++triggered; });
        QVERIFY(f.Show());
        f.grid->SetSelectedIndex(2);
        f.Type("7");
        QVERIFY(f.grid->EditorMode());
        f.Key(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(triggered, 1);
        // A key no command answers is the cell's.
        command.setEnabled(false);
        f.Key(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(triggered, 1);
        QCOMPARE(f.grid->InplaceEditor()->selectedText(), QStringLiteral("7"));
    }

    // Closed days in the headcount grids: muted, the reason in the tool tip, and said when
    // the clerk tries to type there.
    void aLockedRowIsMutedAndSaysWhyWhenTypedIn() {
        GridFixture f;
        f.Load(3);
        f.grid->SetRowLockReason([](const RowView& row) {
            return row.AsString("CDSERVFILI") == GridFixture::Code(1)
                       ? QStringLiteral("Dia fechado.")
                       : QString();
        });
        QVERIFY(f.Show());
        const QAbstractItemModel* model = f.grid->model();
        QCOMPARE(model->index(1, 2).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Dia fechado."));
        QVERIFY(model->index(1, 0).data(Qt::ForegroundRole).isValid());
        QVERIFY(!model->index(0, 0).data(Qt::ForegroundRole).isValid());
        QVERIFY(model->index(0, 0).data(Qt::ToolTipRole).isNull());

        DialogScript script;
        f.grid->SetOption(TDBGrid::dgEditing, false);  // as a screen does on a closed day
        f.Key(Qt::Key_Down);
        f.Type("7");
        f.Key(Qt::Key_F2);
        f.Key(Qt::Key_Return);
        QCOMPARE(script.Texts(), QStringList(3, QStringLiteral("Dia fechado.")));
        QCOMPARE(script.Shown()[0].kind, DialogKind::Warning);
        QCOMPARE(f.cds.State(), DataSetState::Browse);
        // A row without a reason in a grid that cannot be edited stays quiet.
        f.Key(Qt::Key_Up);
        f.Type("7");
        QCOMPARE(script.Shown().size(), std::size_t(3));
    }

    void columnExitRunsWithTheColumnBeingLeftSelected() {
        GridFixture f;
        f.Load(2);
        QVERIFY(f.Show());
        QStringList left;
        f.grid->OnColExit = [&] { left << f.grid->SelectedField()->FieldName(); };
        f.Key(Qt::Key_Tab);
        f.Key(Qt::Key_Tab);
        f.Key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(left, (QStringList{"CDSERVFILI", "NMSERVICO", "QTCOMEFATU"}));
        QCOMPARE(f.grid->SelectedIndex(), 1);
        // Moving between rows in the same column is no column exit.
        f.Key(Qt::Key_Down);
        QCOMPARE(left.size(), 3);

        // A failing exit keeps the column, with its message shown.
        DialogScript script;
        f.grid->OnColExit = [] { throw EError("Nº comensais faturados deve ser informado."); };
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.grid->SelectedIndex(), 1);
        QCOMPARE(f.grid->currentIndex().column(), 1);
        QCOMPARE(script.Texts(), QStringList{"Nº comensais faturados deve ser informado."});
        f.grid->OnColExit = [] { throw EAbort(); };
        f.grid->selectionModel()->setCurrentIndex(f.grid->model()->index(0, 3),
                                                  QItemSelectionModel::NoUpdate);
        QCOMPARE(f.grid->currentIndex(), f.grid->model()->index(1, 1));
        QCOMPARE(script.Shown().size(), std::size_t(1));
    }

    void tabStaysInTheGridOnlyWithTheTabsOption() {
        GridFixture f;
        f.Load(2);
        QVERIFY(f.Show());
        for (int i = 0; i < 4; ++i) f.Key(Qt::Key_Tab);
        QCOMPARE(f.grid->currentIndex(), f.grid->model()->index(1, 0));  // on to the next row
        QCOMPARE(f.cds.RecNo(), 2);
        for (int i = 0; i < 3; ++i) f.Key(Qt::Key_Tab);
        QVERIFY(f.grid->hasFocus());
        f.Key(Qt::Key_Tab);  // past the last cell: out of the grid
        QVERIFY(f.other->hasFocus());

        // From the editor of the last cell too, with what was typed kept.
        f.grid->setFocus();
        f.Type("9");
        f.Key(Qt::Key_Tab);
        QVERIFY(f.other->hasFocus());
        QCOMPARE(f.cds.FieldByName("QTCOMEPREV").AsFloat(), 9.0);

        f.grid->SetOption(TDBGrid::dgTabs, false);
        f.grid->setFocus();
        f.grid->SetSelectedIndex(0);
        f.Key(Qt::Key_Tab);
        QVERIFY(f.other->hasFocus());
        QCOMPARE(f.grid->SelectedIndex(), 0);
        f.grid->setFocus();
        f.Type("2");
        f.Key(Qt::Key_Tab);
        QVERIFY(f.other->hasFocus());
        QCOMPARE(f.cds.FieldByName("CDSERVFILI").AsString(), QStringLiteral("2"));
    }

    void editButtonShowsOnTheCurrentCellOfItsColumn() {
        GridFixture f;
        f.grid->Columns().Add("CDSERVFILI");
        f.grid->Columns().Add("QTCOMEFATU").SetButtonStyle(ColumnButtonStyle::Ellipsis);
        f.Load(2);
        QVERIFY(f.Show());
        int clicks = 0;
        f.grid->OnEditButtonClick = [&] { ++clicks; };
        const auto clickButton = [&f] {
            const QRect cell = f.grid->visualRect(f.grid->currentIndex());
            QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {},
                              QPoint(cell.right() - 4, cell.center().y()));
        };
        clickButton();  // the code column has no button
        QCOMPARE(clicks, 0);
        QCOMPARE(f.grid->SelectedIndex(), 0);
        f.grid->SetSelectedIndex(1);
        clickButton();
        QCOMPARE(clicks, 1);
        f.Key(Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(clicks, 2);
        // The figure keeps clear of the button: the column has room for both.
        QCOMPARE(testing::CutTexts(*f.grid), QStringList());
        // With the editor open the button stays beside it.
        f.Type("3");
        QVERIFY(f.grid->InplaceEditor()->geometry().right() <
                f.grid->visualRect(f.grid->currentIndex()).right() - 10);
        clickButton();
        QCOMPARE(clicks, 3);
        // The screens switch the button off while no apportionment exists.
        f.grid->Columns()[1].SetButtonStyle(ColumnButtonStyle::Auto);
        clickButton();
        QCOMPARE(clicks, 3);
        // A failing handler is shown.
        DialogScript script;
        f.grid->Columns()[1].SetButtonStyle(ColumnButtonStyle::Ellipsis);
        f.grid->OnEditButtonClick = [] { throw EError("sem rateio"); };
        f.Key(Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(script.Texts(), QStringList{"sem rateio"});
    }

    void keyHandlersSwallowKeys_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QString>("editorText");
        QTest::newRow("key down set to 0") << "down-zero"
                                           << "5" << false << "";
        QTest::newRow("key down aborts") << "down-abort"
                                         << "5" << false << "";
        QTest::newRow("key down lets others by") << "down-zero"
                                                 << "7" << true << "7";
        QTest::newRow("key press discards") << "press-discard"
                                            << "5" << false << "";
        QTest::newRow("key press aborts") << "press-abort"
                                          << "5" << false << "";
        QTest::newRow("key press replaces") << "press-replace"
                                            << "5" << true << "6";
        QTest::newRow("in the editor too") << "press-discard"
                                           << "7575" << true << "77";
    }
    void keyHandlersSwallowKeys() {
        GridFixture f;
        f.Load(1);
        QVERIFY(f.Show());
        f.grid->SetSelectedIndex(2);
        QFETCH(QString, how);
        f.grid->OnKeyDown = [how](int& key, Qt::KeyboardModifiers) {
            if (key != Qt::Key_5) return;
            if (how == "down-zero") key = 0;
            if (how == "down-abort") throw EAbort();
        };
        f.grid->OnKeyPress = [how](QChar& key) {
            if (key != QLatin1Char('5')) return;
            if (how == "press-discard") key = QChar();
            if (how == "press-abort") throw EAbort();
            if (how == "press-replace") key = QLatin1Char('6');
        };
        DialogScript script;
        f.Type(FAI_FETCH(QString, typed));
        QCOMPARE(f.grid->EditorMode(), FAI_FETCH(bool, edited));
        if (f.grid->EditorMode()) QCOMPARE(f.grid->InplaceText(), FAI_FETCH(QString, editorText));
        QVERIFY(script.Shown().empty());
    }

    void theScreensNumberLimitSeesTheEditorsTextAndSelection() {
        GridFixture f;
        f.Load(1);
        QVERIFY(f.Show());
        f.grid->SetSelectedIndex(2);
        // The headcount quantities: 9 integer digits and 3 decimals.
        f.grid->OnKeyPress = [&f](QChar& key) {
            if (!MaxNumber(f.grid->InplaceText(), 9, 3, key, f.grid->InplaceSelStart(),
                           f.grid->InplaceSelLength()))
                key = QChar();
        };
        f.Type("1234567890");
        QCOMPARE(f.grid->InplaceText(), QStringLiteral("123456789"));
        f.Type(",12345");
        QCOMPARE(f.grid->InplaceText(), QStringLiteral("123456789,123"));
        f.grid->InplaceEditor()->setSelection(0, 4);
        QCOMPARE(f.grid->InplaceSelStart(), 0);
        QCOMPARE(f.grid->InplaceSelLength(), 4);
        f.Type("9");
        QCOMPARE(f.grid->InplaceText(), QStringLiteral("956789,123"));
        f.Key(Qt::Key_Return);
        QCOMPARE(f.cds.FieldByName("QTCOMEFATU").AsFloat(), 956789.123);
    }

    void insertAndDownPastTheLastRowAppend_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("rows");
        QTest::newRow("insert") << int(Qt::Key_Insert) << 2;
        QTest::newRow("down on the last row") << int(Qt::Key_Down) << 1;
        QTest::newRow("down on an empty grid") << int(Qt::Key_Down) << 0;
    }
    void insertAndDownPastTheLastRowAppend() {
        GridFixture f;
        QFETCH(int, rows);
        f.Load(rows);
        QVERIFY(f.Show());
        f.cds.Last();
        f.Key(FAI_FETCH(int, key));
        QCOMPARE(f.cds.State(), DataSetState::Insert);
        QCOMPARE(f.Rows(), rows + 1);
        QCOMPARE(f.grid->currentIndex().row(), rows);
        // A second one on the empty new row adds nothing.
        f.Key(Qt::Key_Down);
        QCOMPARE(f.Rows(), rows + 1);
    }

    void aNewRowNobodyTypedIntoIsCancelledWhenLeft() {
        GridFixture f;
        f.Load(2);
        QVERIFY(f.Show());
        f.cds.Last();
        f.Key(Qt::Key_Down);
        QCOMPARE(f.Rows(), 3);
        f.Key(Qt::Key_Up);  // leaving the row
        QCOMPARE(f.cds.State(), DataSetState::Browse);
        QCOMPARE(f.Rows(), 2);
        QCOMPARE(f.cds.RecNo(), 2);
        QCOMPARE(f.cds.ChangeCount(), 0);

        f.cds.Last();
        f.Key(Qt::Key_Insert);
        f.other->setFocus();  // leaving the grid
        QCOMPARE(f.cds.State(), DataSetState::Browse);
        QCOMPARE(f.Rows(), 2);

        // Without the option, leaving the grid keeps it.
        f.grid->setFocus();
        f.grid->SetOption(TDBGrid::dgCancelOnExit, false);
        f.Key(Qt::Key_Insert);
        f.other->setFocus();
        QCOMPARE(f.cds.State(), DataSetState::Insert);
    }

    void aNewRowTypedIntoIsPostedWhenLeft() {
        GridFixture f;
        f.Load(1);
        QVERIFY(f.Show());
        f.Key(Qt::Key_Down);
        f.Type("20001");
        f.Key(Qt::Key_Up);
        QCOMPARE(f.cds.State(), DataSetState::Browse);
        QCOMPARE(f.Rows(), 2);
        QCOMPARE(f.cds.ChangeCount(), 1);
        QCOMPARE(f.Cell(1, 0), QStringLiteral("20001"));
        QCOMPARE(f.cds.RecNo(), 1);
    }

    void aRowThatCannotBePostedKeepsTheGridOnIt() {
        GridFixture f;
        f.Load(2);
        f.cds.BeforePost = [](ClientDataSet&) {
            throw EError("Data faturamento deve ser informada.");
        };
        QVERIFY(f.Show());
        f.grid->SetSelectedIndex(2);
        DialogScript script;
        f.Type("5");
        f.Key(Qt::Key_Down);
        QCOMPARE(script.Texts(), QStringList{"Data faturamento deve ser informada."});
        QCOMPARE(f.cds.State(), DataSetState::Edit);
        QCOMPARE(f.cds.RecNo(), 1);
        QCOMPARE(f.grid->currentIndex(), f.grid->model()->index(0, 2));
        QCOMPARE(f.cds.FieldByName("QTCOMEFATU").AsFloat(), 5.0);
    }

    void aRefusedInsertAddsNothingAndSaysNothing() {
        GridFixture f;
        f.Load(2);
        f.cds.BeforeInsert = [](ClientDataSet&) { throw EAbort(); };
        QVERIFY(f.Show());
        DialogScript script;
        f.Key(Qt::Key_Insert);
        f.cds.Last();
        f.Key(Qt::Key_Down);
        QCOMPARE(f.Rows(), 2);
        QCOMPARE(f.cds.State(), DataSetState::Browse);
        QVERIFY(script.Shown().empty());
    }

    void controlDeleteAsksBeforeDeleting_data() {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("rowsLeft");
        QTest::addColumn<int>("questions");
        QTest::newRow("yes") << true << int(mrYes) << 2 << 1;
        QTest::newRow("no") << true << int(mrNo) << 3 << 1;
        QTest::newRow("without confirmation") << false << int(mrNo) << 2 << 0;
    }
    void controlDeleteAsksBeforeDeleting() {
        GridFixture f;
        f.Load(3);
        f.grid->SetOption(TDBGrid::dgConfirmDelete, FAI_FETCH(bool, confirm));
        QVERIFY(f.Show());
        f.cds.SetRecNo(2);
        DialogScript script(FAI_FETCH(int, answer));
        f.Key(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(f.Rows(), FAI_FETCH(int, rowsLeft));
        QCOMPARE(int(script.Shown().size()), FAI_FETCH(int, questions));
        if (!script.Shown().empty()) {
            QCOMPARE(script.Shown()[0].text, QStringLiteral("Confirma exclusão?"));
            QCOMPARE(script.Shown()[0].kind, DialogKind::Confirmation);
            QCOMPARE(script.Shown()[0].buttons, int(mbYes | mbNo));
        }
    }

    void fieldFocusRequestsSelectTheColumn() {
        GridFixture f;
        f.Load(2);
        QVERIFY(f.Show());
        f.other->setFocus();
        f.cds.FieldByName("QTCOMEPREV").FocusControl();
        QVERIFY(f.grid->hasFocus());
        QCOMPARE(f.grid->SelectedIndex(), 3);
    }

    void aFieldAssignedFromCodeShowsInTheUntouchedEditor() {
        GridFixture f;
        f.Load(1);
        QVERIFY(f.Show());
        f.grid->SetSelectedIndex(2);
        f.Key(Qt::Key_F2);
        f.cds.FieldByName("QTCOMEFATU").SetAsFloat(5);
        QCOMPARE(f.grid->InplaceText(), QStringLiteral("5,000"));
        // Closing the editor writes nothing back.
        f.Type("8");
        f.grid->HideEditor();
        QCOMPARE(f.cds.FieldByName("QTCOMEFATU").AsFloat(), 5.0);
    }

    void optionsShapeTheGrid() {
        GridFixture f;
        f.Load(1);
        QVERIFY(f.grid->horizontalHeader()->isVisibleTo(f.grid));
        QCOMPARE(f.grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
        f.grid->SetOptions(TDBGrid::dgEditing);
        QVERIFY(!f.grid->horizontalHeader()->isVisibleTo(f.grid));
        QCOMPARE(f.grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(f.grid->GridOptions(), TDBGrid::Options(TDBGrid::dgEditing));
    }

    void linesAndTheSelectionAreDrawnAsTheOptionsSay() {
        GridFixture f;
        f.Load(3);
        QVERIFY(f.Show());
        f.other->setFocus();
        const auto picture = [&f] { return f.grid->viewport()->grab().toImage(); };
        const QImage unfocused = picture();
        f.grid->SetOption(TDBGrid::dgAlwaysShowSelection, true);
        const QImage selected = picture();
        QVERIFY(selected != unfocused);
        f.grid->SetOption(TDBGrid::dgRowLines, false);
        const QImage columnLines = picture();
        QVERIFY(columnLines != selected);
        f.grid->SetOption(TDBGrid::dgColLines, false);
        QVERIFY(picture() != columnLines);
        f.grid->SetOption(TDBGrid::dgAlwaysShowSelection, false);
        const QImage hidden = picture();
        f.grid->setFocus();
        QVERIFY(picture() != hidden);  // with the focus the selection shows anyway
    }

    void aDisabledSourceEmptiesTheGrid() {
        GridFixture f;
        f.Load(3);
        QCOMPARE(f.Rows(), 3);
        f.dts.SetEnabled(false);
        QCOMPARE(f.Rows(), 0);
        QVERIFY(!f.grid->ActiveDataSet());
        f.dts.SetEnabled(true);
        QCOMPARE(f.Rows(), 3);
    }

    void aDataSetGoneBeforeItsGridLeavesNothingToRead() {
        // A screen's datasets are members, destroyed before its grids, which still paint.
        auto cds = std::make_unique<ClientDataSet>("cdsEfetFatu");
        cds->AddField({"QTCOMEFATU", FieldType::Float}).SetDisplayLabel("Faturados");
        cds->AddField({"QTCOMEPREV", FieldType::Float}).SetDisplayLabel("Previstos");
        DataPacket packet;
        packet.fields = {{"QTCOMEFATU", FieldType::Float}, {"QTCOMEPREV", FieldType::Float}};
        packet.rows.push_back({RowChange::Unchanged, {Value(1.0), Value(2.0)}, {}});
        cds->SetData(packet);
        DataSource dts(cds.get());
        TDBGrid grid;
        grid.Columns().Add("QTCOMEPREV");
        grid.SetDataSource(&dts);
        QCOMPARE(grid.model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Previstos"));
        cds.reset();
        QCOMPARE(grid.model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("QTCOMEPREV"));
        QCOMPARE(grid.model()->index(0, 0).data().toString(), QString());
        QVERIFY(!grid.SelectedField());
        grid.viewport()->grab();
    }

    void staysFastOnAHundredThousandRows() {
        GridFixture f;
        f.Load(100000);
        QVERIFY(f.Show());
        QElapsedTimer clock;
        clock.start();
        f.Key(Qt::Key_End, Qt::ControlModifier);
        for (int i = 0; i < 20; ++i) f.Key(Qt::Key_PageUp);
        f.grid->viewport()->repaint();
        QCOMPARE(f.Rows(), 100000);
        QVERIFY(f.cds.RecNo() < 100000);
        QCOMPARE(f.grid->currentIndex().row(), f.cds.RecNo() - 1);
        f.cds.Last();
        f.grid->viewport()->repaint();
        QCOMPARE(f.Cell(99999, 0), GridFixture::Code(99999));
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    }
};

FAI_UI_TEST_MAIN(GridTest)
#include "test_grid.moc"
