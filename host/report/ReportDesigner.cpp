#include "ReportDesigner.h"

#include "BrazilianText.h"
#include "DesignLayout.h"
#include "DesignScene.h"
#include "DesignView.h"
#include "DialogService.h"
#include "Errors.h"
#include "EventGuard.h"
#include "FieldList.h"
#include "ParameterText.h"
#include "PropertyPanel.h"
#include "ReportDocument.h"
#include "ReportPreview.h"
#include "ReportProgressDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace fai {
namespace {

struct ElementTool {
    const char* name;
    const char* text;
    ElementKind kind;
};
constexpr std::array<ElementTool, 8> kElementTools{{
    {"actTexto", "Texto", ElementKind::Text},
    {"actCampo", "Campo", ElementKind::Field},
    {"actTotalizador", "Totalizador", ElementKind::Aggregate},
    {"actNumeroPagina", "Nº da página", ElementKind::PageNumber},
    {"actDataImpressao", "Data de impressão", ElementKind::PrintDate},
    {"actLinha", "Linha", ElementKind::Line},
    {"actRetangulo", "Retângulo", ElementKind::Rectangle},
    {"actImagem", "Imagem", ElementKind::Image},
}};

constexpr std::array<double, 5> kGridSteps{0.5, 1, 2, 2.5, 5};
constexpr int kStartingGrid = 1;  // 1 mm
// An image comes in this wide, as tall as its proportions make it.
constexpr double kImageWidth = 30;

QString Capitalised(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text;
}

ReportPlace BandPlace(BandKind kind, int group = -1) {
    ReportPlace place{ReportPlace::Part::Band};
    place.band = kind;
    place.group = group;
    return place;
}

QString Millimetres(double value) { return BrazilianLocale().toString(value, 'f', 2); }

}  // namespace

ReportDesigner::ReportDesigner(const QString& path, QueryParamsEvent beforeGetQueryParams,
                               QWidget* parent)
    : QDialog(parent),
      design_(std::make_unique<ReportDesign>(path)),
      beforeGetQueryParams_(std::move(beforeGetQueryParams)),
      scene_(new DesignScene(*design_, this)),
      view_(new DesignView(scene_)),
      fields_(new FieldList),
      properties_(new PropertyPanel(*design_)),
      pgcDesenho_(new QTabWidget),
      memConsulta_(new QPlainTextEdit),
      memParametros_(new QPlainTextEdit),
      lblPosicao_(new QLabel) {
    setObjectName(QStringLiteral("frmDesenhoRelatorio"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("tlbDesenho"));
    auto* insert = new QToolBar(this);
    insert->setObjectName(QStringLiteral("tlbIncluir"));
    BuildToolBars(bar, insert);

    auto* tshLayout = new QWidget;
    tshLayout->setObjectName(QStringLiteral("tshLayout"));
    auto* page = new QVBoxLayout(tshLayout);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(view_);
    pgcDesenho_->setObjectName(QStringLiteral("pgcDesenho"));
    pgcDesenho_->addTab(tshLayout, QStringLiteral("Layout"));
    QWidget* tshConsulta = BuildQueryPage();
    pgcDesenho_->addTab(tshConsulta, QStringLiteral("Consulta"));

    auto* grbCampos = new QGroupBox(QStringLiteral("Campos"));
    grbCampos->setObjectName(QStringLiteral("grbCampos"));
    (new QVBoxLayout(grbCampos))->addWidget(fields_);
    auto* grbPropriedades = new QGroupBox(QStringLiteral("Propriedades"));
    grbPropriedades->setObjectName(QStringLiteral("grbPropriedades"));
    auto* scroll = new QScrollArea;
    scroll->setWidget(properties_);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFrameShape(QFrame::NoFrame);
    (new QVBoxLayout(grbPropriedades))->addWidget(scroll);
    auto* side = new QSplitter(Qt::Vertical);
    side->addWidget(grbCampos);
    side->addWidget(grbPropriedades);
    side->setStretchFactor(1, 2);
    auto* main = new QSplitter(Qt::Horizontal);
    main->addWidget(pgcDesenho_);
    main->addWidget(side);
    main->setStretchFactor(0, 1);
    main->setSizes({800, 400});

    lblPosicao_->setObjectName(QStringLiteral("lblPosicao"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(bar);
    layout->addWidget(insert);
    layout->addWidget(main, 1);
    layout->addWidget(lblPosicao_);

    connect(design_.get(), &ReportDesign::DefinitionChanged, this, [this] {
        const ReportDefinition& definition = design_->Definition();
        if (definition.sql != querySql_ || definition.parameters != queryParameters_) ShowQuery();
        ShowStatus();
        ShowTitle();
    });
    connect(design_.get(), &ReportDesign::SelectionChanged, this, &ReportDesigner::ShowStatus);
    connect(design_.get(), &ReportDesign::FileChanged, this, &ReportDesigner::ShowTitle);
    connect(&design_->UndoStack(), &QUndoStack::cleanChanged, this, &ReportDesigner::ShowTitle);
    connect(fields_, &FieldList::FieldsChanged, this,
            [this] { properties_->SetFields(fields_->Fields()); });
    connect(scene_, &DesignScene::EditRequested, properties_, &PropertyPanel::FocusText);
    // The query typed is taken on leaving its tab; when it cannot be, the tab stays.
    connect(pgcDesenho_, &QTabWidget::currentChanged, this, [this, tshConsulta](int index) {
        if (pgcDesenho_->widget(index) == tshConsulta) return;
        if (GuardEvent([this] { ApplyQuery(); })) return;
        const QSignalBlocker block(pgcDesenho_);
        pgcDesenho_->setCurrentWidget(tshConsulta);
    });

    ShowQuery();
    ShowTitle();
    ShowStatus();
    resize(1200, 800);
    view_->setFocus();
}

ReportDesigner::~ReportDesigner() = default;

QAction* ReportDesigner::AddTool(const char* name, const QString& text, const QString& hint,
                                 const QKeySequence& keys, std::function<void()> handler) {
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    action->setToolTip(keys.isEmpty() ? hint
                                      : QStringLiteral("%1 (%2)").arg(
                                            hint, keys.toString(QKeySequence::NativeText)));
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, [handler] { GuardEvent(handler); });
    addAction(action);
    return action;
}

void ReportDesigner::BuildToolBars(QToolBar* bar, QToolBar* insert) {
    bar->addAction(AddTool("actSalvar", QStringLiteral("Salvar"),
                           QStringLiteral("Salvar o relatório"), QKeySequence::Save,
                           [this] { Save(); }));
    QUndoStack& undo = design_->UndoStack();
    QAction* undoAction = undo.createUndoAction(this, QStringLiteral("Desfazer"));
    undoAction->setObjectName(QStringLiteral("actDesfazer"));
    undoAction->setShortcut(QKeySequence::Undo);
    QAction* redoAction = undo.createRedoAction(this, QStringLiteral("Refazer"));
    redoAction->setObjectName(QStringLiteral("actRefazer"));
    // Ctrl+Y everywhere, and the platform's own keys besides.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys.prepend(QKeySequence(Qt::CTRL | Qt::Key_Y));
    redoAction->setShortcuts(redoKeys);
    for (QAction* action : {undoAction, redoAction}) {
        addAction(action);
        bar->addAction(action);
    }
    bar->addAction(AddTool("actVisualizar", QStringLiteral("Visualizar"),
                           QStringLiteral("Visualizar o relatório com os parâmetros da tela"),
                           QKeySequence(Qt::Key_F9), [this] { Preview(); }));
    bar->addSeparator();
    // Delete belongs to the page: in a box of the panel it deletes a character.
    QAction* remove =
        AddTool("actExcluir", QStringLiteral("Excluir"),
                QStringLiteral("Excluir o que está selecionado"), QKeySequence::Delete, [this] {
                    if (design_->Selection().empty()) return;
                    design_->Apply(QStringLiteral("Excluir"),
                                   RemoveSelection(design_->Definition(), design_->Selection()));
                });
    removeAction(remove);
    remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    view_->addAction(remove);
    bar->addAction(remove);
    actExcluirGrupo_ = AddTool("actExcluirGrupo", QStringLiteral("Excluir grupo"),
                               QStringLiteral("Excluir o grupo da banda selecionada"), {},
                               [this] { RemoveGroup(); });
    bar->addAction(actExcluirGrupo_);
    bar->addSeparator();

    insert->addWidget(new QLabel(QStringLiteral("Incluir:"), insert));
    for (const ElementTool& tool : kElementTools) {
        const QString text = QString::fromUtf8(tool.text);
        const ElementKind kind = tool.kind;
        insert->addAction(AddTool(tool.name, text,
                                  QStringLiteral("Incluir: %1").arg(text.toLower()), {},
                                  [this, kind] { InsertElement(kind); }));
    }
    insert->addSeparator();
    auto* bands = new QMenu(this);
    connect(bands, &QMenu::aboutToShow, this, [this, bands] { FillBandMenu(bands); });
    auto* bandButton = new QToolButton(insert);
    bandButton->setObjectName(QStringLiteral("btnBandas"));
    bandButton->setText(QStringLiteral("Banda"));
    bandButton->setToolTip(QStringLiteral("Incluir uma banda"));
    bandButton->setMenu(bands);
    bandButton->setPopupMode(QToolButton::InstantPopup);
    insert->addWidget(bandButton);
    insert->addAction(AddTool("actGrupo", QStringLiteral("Grupo"),
                              QStringLiteral("Incluir um grupo por um campo"), {},
                              [this] { AddGroup(); }));

    auto* cbbZoom = new QComboBox(bar);
    cbbZoom->setObjectName(QStringLiteral("cbbZoom"));
    cbbZoom->setFocusPolicy(Qt::NoFocus);
    cbbZoom->addItem(QStringLiteral("Largura da página"), DesignView::kFitWidth);
    for (int percent : DesignView::Zooms())
        cbbZoom->addItem(QStringLiteral("%1%").arg(percent), percent);
    connect(cbbZoom, &QComboBox::activated, this,
            [this, cbbZoom](int index) { view_->SetZoom(cbbZoom->itemData(index).toInt()); });
    connect(view_, &DesignView::ZoomChanged, this,
            [cbbZoom](int percent) { cbbZoom->setCurrentIndex(cbbZoom->findData(percent)); });
    bar->addWidget(cbbZoom);

    auto* chkGrade = new QCheckBox(QStringLiteral("Grade"), bar);
    chkGrade->setObjectName(QStringLiteral("chkGrade"));
    chkGrade->setToolTip(QStringLiteral("Alinhar à grade o que o mouse e as setas posicionam"));
    chkGrade->setFocusPolicy(Qt::NoFocus);
    chkGrade->setChecked(scene_->SnapsToGrid());
    connect(chkGrade, &QCheckBox::toggled, this,
            [this](bool checked) { scene_->SetSnapsToGrid(checked); });
    bar->addWidget(chkGrade);
    auto* cbbGrade = new QComboBox(bar);
    cbbGrade->setObjectName(QStringLiteral("cbbGrade"));
    cbbGrade->setFocusPolicy(Qt::NoFocus);
    for (double step : kGridSteps)
        cbbGrade->addItem(QStringLiteral("%1 mm").arg(BrazilianLocale().toString(step)), step);
    cbbGrade->setCurrentIndex(kStartingGrid);
    scene_->SetGridStep(kGridSteps[kStartingGrid]);
    connect(cbbGrade, &QComboBox::activated, this, [this, cbbGrade](int index) {
        scene_->SetGridStep(cbbGrade->itemData(index).toDouble());
    });
    bar->addWidget(cbbGrade);
    bar->addSeparator();
    bar->addAction(AddTool("actFechar", QStringLiteral("Fechar"),
                           QStringLiteral("Fechar o desenho (Esc)"), {}, [this] { reject(); }));
}

QWidget* ReportDesigner::BuildQueryPage() {
    auto* tshConsulta = new QWidget;
    tshConsulta->setObjectName(QStringLiteral("tshConsulta"));
    memConsulta_->setObjectName(QStringLiteral("memConsulta"));
    memParametros_->setObjectName(QStringLiteral("memParametros"));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    memConsulta_->setFont(fixed);
    memParametros_->setFont(fixed);
    auto* apply = new QPushButton(QStringLiteral("Aplicar"), tshConsulta);
    apply->setObjectName(QStringLiteral("btnAplicarConsulta"));
    // Enter in a box of the panel is that box's, not this button's.
    apply->setAutoDefault(false);
    apply->setToolTip(QStringLiteral("Usar a consulta e os parâmetros (Ctrl+Enter)"));
    connect(apply, &QPushButton::clicked, this, [this] { GuardEvent([this] { ApplyQuery(); }); });
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), tshConsulta);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, apply, &QPushButton::click);

    auto* layout = new QVBoxLayout(tshConsulta);
    auto* sql =
        new QLabel(QStringLiteral("Consulta: um único SELECT; os parâmetros entram como "
                                  ":NOME, e uma lista como IN (:NOME)."));
    auto* parameters =
        new QLabel(QStringLiteral("Parâmetros: um por linha, o nome e o tipo "
                                  "(texto, data, número ou lista), como "
                                  "\"P_CDFILIAL texto\"."));
    for (QLabel* label : {sql, parameters}) label->setWordWrap(true);
    layout->addWidget(sql);
    layout->addWidget(memConsulta_, 3);
    layout->addWidget(parameters);
    layout->addWidget(memParametros_, 1);
    layout->addWidget(apply, 0, Qt::AlignRight);
    return tshConsulta;
}

void ReportDesigner::FillBandMenu(QMenu* menu) {
    menu->clear();
    const ReportDefinition& definition = design_->Definition();
    std::vector<ReportPlace> missing;
    const auto check = [&](const std::optional<ReportBand>& band, BandKind kind, int group) {
        if (!band) missing.push_back(BandPlace(kind, group));
    };
    check(definition.reportHeader, BandKind::ReportHeader, -1);
    check(definition.pageHeader, BandKind::PageHeader, -1);
    for (int g = 0; g < int(definition.groups.size()); ++g) {
        check(definition.groups[std::size_t(g)].header, BandKind::GroupHeader, g);
        check(definition.groups[std::size_t(g)].footer, BandKind::GroupFooter, g);
    }
    check(definition.detail, BandKind::Detail, -1);
    check(definition.summary, BandKind::Summary, -1);
    check(definition.pageFooter, BandKind::PageFooter, -1);
    for (const ReportPlace& place : missing) {
        const QString name = Capitalised(DescribePlace(definition, place));
        connect(menu->addAction(name), &QAction::triggered, this, [this, place, name] {
            GuardEvent([&] {
                design_->Apply(QStringLiteral("Incluir: %1").arg(name.toLower()),
                               AddBand(design_->Definition(), place.band, place.group));
            });
        });
    }
    if (missing.empty())
        menu->addAction(QStringLiteral("O relatório já tem todas as bandas"))->setEnabled(false);
}

ReportPlace ReportDesigner::TargetBand() const {
    const DesignSelection& selection = design_->Selection();
    if (!selection.empty()) return BandPlaceOf(selection.front());
    const ReportDefinition& definition = design_->Definition();
    if (definition.detail) return BandPlace(BandKind::Detail);
    const std::vector<ReportPlace> bands = BandsInPrintOrder(definition);
    if (bands.empty()) throw EError(QStringLiteral("Inclua uma banda antes de incluir elementos."));
    return bands.front();
}

void ReportDesigner::InsertElement(ElementKind kind) {
    const ReportPlace band = TargetBand();
    ReportElement element = NewElement(kind);
    if (kind == ElementKind::Field) {
        element.field = fields_->CurrentField();
        if (element.field.isEmpty())
            throw EError(
                QStringLiteral("Escolha o campo na lista de campos da consulta, ou "
                               "arraste-o até a banda."));
    }
    if (kind == ElementKind::Image) {
        QFileDialog choose(this, QStringLiteral("Imagem"));
        choose.setObjectName(QStringLiteral("dlgImagem"));
        choose.setFileMode(QFileDialog::ExistingFile);
        choose.setNameFilter(QStringLiteral("Imagens (*.png *.jpg *.jpeg *.bmp *.gif)"));
        if (DialogService::Instance().ExecModal(choose) != QDialog::Accepted ||
            choose.selectedFiles().isEmpty())
            return;
        const QString path = choose.selectedFiles().front();
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        const QImage image = QImage::fromData(bytes);
        if (image.isNull())
            throw EError(
                QStringLiteral("O arquivo '%1' não é uma imagem que o relatório possa mostrar.")
                    .arg(path));
        element.image = bytes;
        element.box.setSize(
            QSizeF(kImageWidth,
                   RoundMillimetres(std::max(1.0, kImageWidth * image.height() / image.width()))));
    }
    design_->Apply(QStringLiteral("Incluir elemento"),
                   fai::InsertElement(design_->Definition(), band, element));
}

void ReportDesigner::AddGroup() {
    QInputDialog ask(this);
    ask.setObjectName(QStringLiteral("dlgGrupo"));
    ask.setWindowTitle(QStringLiteral("Novo grupo"));
    ask.setLabelText(QStringLiteral("Agrupar pelo campo:"));
    if (!fields_->Fields().isEmpty()) {
        ask.setComboBoxItems(fields_->Fields());
        ask.setComboBoxEditable(true);
    }
    if (DialogService::Instance().ExecModal(ask) != QDialog::Accepted) return;
    design_->Apply(QStringLiteral("Incluir grupo"),
                   fai::AddGroup(design_->Definition(), ask.textValue()));
}

void ReportDesigner::RemoveGroup() {
    const DesignSelection& selection = design_->Selection();
    if (selection.size() != 1 || selection.front().part != ReportPlace::Part::Band ||
        selection.front().group < 0)
        throw EError(QStringLiteral("Selecione o cabeçalho ou o rodapé do grupo a excluir."));
    design_->Apply(QStringLiteral("Excluir grupo"),
                   fai::RemoveGroup(design_->Definition(), selection.front().group));
}

bool ReportDesigner::QueryPending() const {
    return memConsulta_->toPlainText() != shownSql_ ||
           memParametros_->toPlainText() != shownParameters_;
}

void ReportDesigner::ApplyQuery() {
    if (!QueryPending()) return;
    DesignEdit edit{design_->Definition(), design_->Selection()};
    edit.definition.sql = memConsulta_->toPlainText();
    edit.definition.parameters = ParseParameters(memParametros_->toPlainText());
    design_->Apply(QStringLiteral("Consulta"), edit);
    // Written otherwise but meaning the same, the texts go back to how the design has them.
    if (QueryPending()) ShowQuery();
}

void ReportDesigner::ShowQuery() {
    const ReportDefinition& definition = design_->Definition();
    querySql_ = definition.sql;
    queryParameters_ = definition.parameters;
    memConsulta_->setPlainText(definition.sql);
    memParametros_->setPlainText(FormatParameters(definition.parameters));
    shownSql_ = memConsulta_->toPlainText();
    shownParameters_ = memParametros_->toPlainText();
    fields_->Load(definition);
}

void ReportDesigner::ShowStatus() {
    const DesignSelection& selection = design_->Selection();
    const ReportDefinition& definition = design_->Definition();
    QString text;
    if (selection.size() > 1) {
        text = QStringLiteral("%1 elementos selecionados").arg(selection.size());
    } else if (selection.size() == 1 && selection.front().part == ReportPlace::Part::Element) {
        if (const ReportElement* element = ElementAt(definition, selection.front()))
            text = QStringLiteral("X %1   Y %2   Largura %3   Altura %4 (mm)")
                       .arg(Millimetres(element->box.x()), Millimetres(element->box.y()),
                            Millimetres(element->box.width()), Millimetres(element->box.height()));
    } else if (selection.size() == 1) {
        if (const ReportBand* band =
                BandAt(definition, selection.front().band, selection.front().group))
            text = QStringLiteral("Altura da banda %1 mm").arg(Millimetres(band->height));
    }
    lblPosicao_->setText(text);
    const bool groupBand = selection.size() == 1 &&
                           selection.front().part == ReportPlace::Part::Band &&
                           selection.front().group >= 0;
    actExcluirGrupo_->setEnabled(groupBand);
}

void ReportDesigner::ShowTitle() {
    QString where;
    if (const std::optional<ReportOrigin> origin = design_->Origin(); origin != ReportOrigin::User)
        where = origin == ReportOrigin::Installed
                    ? QStringLiteral(" (instalado com o programa: salvar faz uma cópia sua)")
                : origin == ReportOrigin::Site
                    ? QStringLiteral(" (compartilhado: salvar faz uma cópia sua)")
                    : QStringLiteral(" (fora das pastas de relatórios: salvar faz uma cópia sua)");
    setWindowTitle(
        QStringLiteral("Desenho do relatório: %1[*]%2").arg(design_->Definition().title, where));
    setWindowModified(design_->Modified());
}

bool ReportDesigner::Save() {
    ApplyQuery();
    if (design_->SavesInPlace()) {
        design_->Save();
        return true;
    }
    const std::optional<ReportOrigin> origin = design_->Origin();
    const QString why = origin == ReportOrigin::Installed ? QStringLiteral(
                                                                "foi instalado com o "
                                                                "programa")
                        : origin == ReportOrigin::Site
                            ? QStringLiteral("é compartilhado")
                            : QStringLiteral("está fora das suas pastas de relatórios");
    QInputDialog ask(this);
    ask.setObjectName(QStringLiteral("dlgTituloCopia"));
    ask.setWindowTitle(QStringLiteral("Título do relatório"));
    ask.setLabelText(QStringLiteral("O relatório \"%1\" %2 e não é alterado: as alterações são "
                                    "salvas numa cópia sua.\n\nInforme o título da cópia:")
                         .arg(design_->Definition().title, why));
    ask.setTextValue(design_->ProposedCopyTitle());
    if (DialogService::Instance().ExecModal(ask) != QDialog::Accepted) return false;
    design_->SaveUserCopy(ask.textValue());
    return true;
}

void ReportDesigner::Preview() {
    ApplyQuery();
    ReportProgressDialog progress(this);
    ShowPreview(RunReport(design_->Definition(), beforeGetQueryParams_, progress), this);
}

void ReportDesigner::reject() {
    if (!design_->Modified() && !QueryPending()) {
        QDialog::reject();
        return;
    }
    const int answer = DialogService::Instance().Message(
        DialogKind::Confirmation,
        QStringLiteral("O relatório \"%1\" tem alterações que não foram salvas. Deseja salvá-las "
                       "antes de fechar?")
            .arg(design_->Definition().title),
        mbYes | mbNo | mbCancel);
    if (answer == mrNo) {
        QDialog::reject();
        return;
    }
    if (answer != mrYes) return;
    bool saved = false;
    GuardEvent([&] { saved = Save(); });
    if (saved) QDialog::reject();
}

}  // namespace fai
