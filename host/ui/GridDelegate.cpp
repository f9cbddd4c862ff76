#include "GridDelegate.h"

#include "Field.h"
#include "TDBGrid.h"
#include "TMaskEdit.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

namespace fai {
namespace {

bool IsCommandKey(const QWidget* editor, const QKeySequence& key) {
    for (const QWidget* widget = editor; widget; widget = widget->parentWidget()) {
        for (const QAction* action : widget->actions()) {
            if (action->isEnabled() && action->shortcuts().contains(key)) return true;
        }
    }
    return false;
}

}  // namespace

GridDelegate::GridDelegate(TDBGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    cell.state &= ~QStyle::State_HasFocus;
    if (index == grid_.currentIndex() && grid_.ShowsSelection())
        cell.state |= QStyle::State_Selected | QStyle::State_Active;
    // The value keeps clear of the button, which would hide a figure aligned to the right.
    const bool button = grid_.HasEditButton(index);
    if (button) cell.rect.setRight(TDBGrid::EditButtonRect(option.rect).left() - 1);
    QStyledItemDelegate::paint(painter, cell, index);

    const TDBGrid::Options options = grid_.GridOptions();
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    if (options & TDBGrid::dgColLines)
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    if (options & TDBGrid::dgRowLines)
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();

    if (button) {
        QStyleOptionButton face;
        face.rect = TDBGrid::EditButtonRect(option.rect);
        face.text = QStringLiteral("…");
        face.state = QStyle::State_Enabled | QStyle::State_Raised;
        QApplication::style()->drawControl(QStyle::CE_PushButton, &face, painter);
    }
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
    auto* editor = new TMaskEdit(parent);
    editor->setObjectName(QStringLiteral("edtInplace"));
    editor->setFrame(false);
    if (const Field* field = grid_.ColumnField(index.column())) {
        if (field->DataType() == FieldType::String) editor->SetMaxLength(field->Size());
        editor->SetEditMask(field->EditMask());
        if (field->DataType() == FieldType::Float) editor->setAlignment(Qt::AlignRight);
    }
    grid_.EditorCreated(editor, index);
    return editor;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* edit = static_cast<TMaskEdit*>(editor);
    const Field* field = grid_.ColumnField(index.column());
    edit->SetText(field ? field->Text() : QString());
    edit->selectAll();
    edit->setModified(false);
}

void GridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    QRect area = option.rect;
    if (grid_.HasEditButton(index)) area.setRight(TDBGrid::EditButtonRect(area).left() - 1);
    editor->setGeometry(area);
}

void GridDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    grid_.EditorReleased();
    QStyledItemDelegate::destroyEditor(editor, index);
}

bool GridDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the grid answers while editing are not the window's shortcuts.
        const auto* pressed = static_cast<QKeyEvent*>(event);
        const int key = pressed->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
        // A key a command of the screen answers stays the command's: the cell's line editing
        // does not take it (on X11 Ctrl+E would move to the end of the text).
        return IsCommandKey(qobject_cast<QWidget*>(watched),
                            QKeySequence(pressed->keyCombination()));
    }
    if (event->type() == QEvent::KeyPress)
        return grid_.HandleKey(static_cast<QKeyEvent*>(event), true);
    return false;
}

}  // namespace fai
