#include "TBaseForm.h"

#include "DialogService.h"
#include "EventGuard.h"
#include "FocusOnFailure.h"
#include "Help.h"
#include "HostApplication.h"
#include "KeyEvents.h"
#include "LayoutMemory.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace fai {
namespace {

// The controls where Enter means "next field".
bool MovesOnEnter(const QWidget* widget) {
    if (!widget || TBaseForm::InsideGrid(widget)) return false;
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget);
}

}  // namespace

QStringList StandardMessages() {
    return {
        QStringLiteral("Canc|Confirma o cancelamento das alterações?"),
        QStringLiteral("Excl|Confirma exclusão?"),
        QStringLiteral("SemRelatorio|Não há relatório para esta tela."),
        QStringLiteral("Arq_Rel_Err|O arquivo contendo a definição do relatório de código '%s' "
                       "não foi encontrado no diretório '%s'."),
        QStringLiteral("NovoCaption|Título do relatório"),
        QStringLiteral("NovoPrompt|Informe o título do relatório:"),
    };
}

TBaseForm::TBaseForm(QWidget* parent)
    : QDialog(parent), lblCodTela(new QLabel(this)), layout_(new QVBoxLayout(this)) {
    lblCodTela->setObjectName(QStringLiteral("lblCodTela"));
    lblCodTela->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    msgMensagensPadroes.SetEntries(StandardMessages());
    layout_->setContentsMargins(4, 4, 4, 4);
    layout_->setSpacing(4);
    qApp->installEventFilter(this);
}

TBaseForm::~TBaseForm() = default;

bool TBaseForm::InsideGrid(const QWidget* widget) {
    for (const QWidget* parent = widget; parent; parent = parent->parentWidget()) {
        if (qobject_cast<const QAbstractItemView*>(parent)) return true;
    }
    return false;
}

void TBaseForm::SetScreenCode(const QString& code) { lblCodTela->setText(code); }

int TBaseForm::ShowModal() {
    struct ModalScope {
        bool& flag;
        ~ModalScope() { flag = false; }
    } scope{modal_};
    modal_ = true;
    return DialogService::Instance().ExecModal(*this);
}

void TBaseForm::ShowChild() {
    const bool opening = !designSize_.isValid();
    if (opening) designSize_ = size();
    HostApplication::Instance().ShowChild(this);
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    // A screen run on its own, without the host's document area, keeps its design size.
    if (opening && frame) OpenAsLeft();
    // The screens of the document area share its window, whose activation they never see:
    // their frame's is theirs.
    if (frame && !activatedByFrame_) {
        activatedByFrame_ = true;
        connect(frame, &QMdiSubWindow::windowStateChanged, this,
                [this](Qt::WindowStates before, Qt::WindowStates now) {
                    if ((now & Qt::WindowActive) && !(before & Qt::WindowActive))
                        GuardEvent([this] { FormActivate(); });
                });
    }
}

QList<TDBGrid*> TBaseForm::Grids() const { return findChildren<TDBGrid*>(); }

// The grids of a screen share its width (the pages of a screen hold them in one place), so
// what the grid on view leaves around it is what every grid of the screen has around it.
QSize TBaseForm::SizeShowingAllColumns() const {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    int around = -1;
    int widest = 0;
    for (const TDBGrid* grid : Grids()) {
        widest = std::max(widest, grid->WidthShowingAllColumns());
        if (around < 0 && grid->isVisible()) around = width() - grid->width();
    }
    QSize size = designSize_;
    if (around >= 0) size.setWidth(std::max(size.width(), around + widest));
    return size;
}

void TBaseForm::OpenAsLeft() {
    const QSize remembered = LayoutMemory::ScreenSize(objectName());
    // Never smaller than its controls need: a design size is no reason to overlap them.
    HostApplication::Instance().ResizeChild(
        this, (remembered.isValid() ? remembered : SizeShowingAllColumns())
                  .expandedTo(minimumSizeHint()));
    openedAt_ = size();
}

void TBaseForm::RestoreDefaultLayout() {
    for (TDBGrid* grid : Grids()) grid->SetUserWidths({});
    if (!openedAt_.isValid()) return;
    HostApplication::Instance().ResizeChild(this, SizeShowingAllColumns());
    openedAt_ = size();
}

void RestoreDefaultLayouts(const QMdiArea& documentArea) {
    LayoutMemory::ForgetScreens();
    for (QMdiSubWindow* frame : documentArea.subWindowList()) {
        if (auto* screen = qobject_cast<TBaseForm*>(frame->widget()))
            screen->RestoreDefaultLayout();
    }
}

void TBaseForm::RememberLayout() const {
    for (const TDBGrid* grid : Grids()) {
        if (!grid->UserWidths().isEmpty())
            LayoutMemory::RememberColumnWidths(objectName(), grid->objectName(),
                                               grid->UserWidths());
    }
    if (openedAt_.isValid() && size() != openedAt_)
        LayoutMemory::RememberScreenSize(objectName(), size());
}

void TBaseForm::FormClose(TCloseAction&) {}

void TBaseForm::FormKeyDown(int& key, Qt::KeyboardModifiers shift) {
    if (key == Qt::Key_F1 && shift == Qt::NoModifier) {
        ShowHelp(helpFile_, helpContext_);
        key = 0;
        return;
    }
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && !(shift & (Qt::ControlModifier | Qt::AltModifier)) &&
        MovesOnEnter(QApplication::focusWidget())) {
        focusNextChild();
        key = 0;
    }
}

void TBaseForm::FailAt(QWidget* control, const QString& key) const {
    FocusToCorrect(control);
    Fail(key);
}

TButtonFlat* TBaseForm::MakeToolButton(QWidget* parent, const char* name, const QString& text,
                                       const QString& hint, const QKeySequence& key) {
    auto* button = new TButtonFlat(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->SetHint(hint);
    if (!key.isEmpty()) {
        button->SetKey(key);
        // The screen's, not the window's: screens of the document area share one window.
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, button, [button] { button->Click(); });
    }
    return button;
}

bool TBaseForm::event(QEvent* event) {
    if (event->type() == QEvent::Show && !shown_) {
        shown_ = true;
        for (TDBGrid* grid : Grids())
            grid->SetUserWidths(LayoutMemory::ColumnWidths(objectName(), grid->objectName()));
        GuardEvent([this] { FormShow(); });
    } else if (event->type() == QEvent::WindowActivate) {
        GuardEvent([this] { FormActivate(); });
    }
    return QDialog::event(event);
}

void TBaseForm::closeEvent(QCloseEvent* event) {
    TCloseAction action = modal_ ? TCloseAction::Hide : TCloseAction::Free;
    if (!GuardEvent([this, &action] { FormClose(action); }) || action == TCloseAction::None) {
        event->ignore();
        return;
    }
    if (action == TCloseAction::Minimize) {
        event->ignore();
        auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
        (frame ? static_cast<QWidget*>(frame) : this)->showMinimized();
        return;
    }
    RememberLayout();
    setAttribute(Qt::WA_DeleteOnClose, action == TCloseAction::Free && !modal_);
    QDialog::closeEvent(event);
}

void TBaseForm::keyPressEvent(QKeyEvent* event) {
    // Escape and Enter belong to the screen's handlers, not to the dialog's default buttons.
    // An Escape that got this far was taken by no control and no handler: a modal screen
    // closes through its close steps, which may keep it open.
    const int key = event->key();
    if (key == Qt::Key_Escape && modal_ && event->modifiers() == Qt::NoModifier) {
        event->accept();
        close();
        return;
    }
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TBaseForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Each key once, where it is first delivered (a key nobody takes travels on up to the
    // screen), and only keys of this screen's window.
    if (!widget || (widget != this && !isAncestorOf(widget))) return false;
    QWidget* focus = QApplication::focusWidget();
    if (widget != focus && (widget != this || isAncestorOf(focus))) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    int code = key->key();
    const KeyDownEvent preview = [this](int& pressed, Qt::KeyboardModifiers shift) {
        FormKeyDown(pressed, shift);
    };
    return !PassKeyDown(preview, code, key->modifiers());
}

}  // namespace fai
