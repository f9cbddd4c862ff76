#include "PropertyPanel.h"

#include "BrazilianText.h"
#include "EventGuard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace fai {
namespace {

constexpr double kMaxMillimetres = 1000;
constexpr int kTextLines = 3;

// Several lines of text, taken when the keyboard leaves them or with Ctrl+Enter (Enter alone
// starts a new line).
class TextPropertyEdit : public QPlainTextEdit {
  public:
    using QPlainTextEdit::QPlainTextEdit;
    std::function<void()> OnLeave;

  protected:
    void focusOutEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusOutEvent(event);
        if (OnLeave) OnLeave();
    }
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & Qt::ControlModifier)) {
            if (OnLeave) OnLeave();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }
};

QDoubleSpinBox* NumberBox(QWidget* parent, double least, double most, int decimals, double step) {
    auto* box = new QDoubleSpinBox(parent);
    box->setLocale(BrazilianLocale());
    box->setRange(least, most);
    box->setDecimals(decimals);
    box->setSingleStep(step);
    box->setKeyboardTracking(false);
    return box;
}

QString Capitalised(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text;
}

}  // namespace

PropertyPanel::PropertyPanel(ReportDesign& design, QWidget* parent)
    : QWidget(parent), design_(design), lblSelecao_(new QLabel(this)) {
    setObjectName(QStringLiteral("pnlPropriedades"));
    lblSelecao_->setObjectName(QStringLiteral("lblSelecao"));
    lblSelecao_->setWordWrap(true);
    QFont bold = lblSelecao_->font();
    bold.setBold(true);
    lblSelecao_->setFont(bold);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblSelecao_);
    layout->addStretch(1);
    connect(&design_, &ReportDesign::DefinitionChanged, this, &PropertyPanel::Refresh);
    connect(&design_, &ReportDesign::SelectionChanged, this, &PropertyPanel::Refresh);
    Refresh();
}

void PropertyPanel::SetFields(const QStringList& fields) {
    fields_ = fields;
    stale_ = true;
    Refresh();
}

void PropertyPanel::FocusText() {
    for (const Row& row : rows_) {
        if (qstrcmp(row.property->name, "memTexto") != 0) continue;
        row.editor->setFocus(Qt::OtherFocusReason);
        static_cast<QPlainTextEdit*>(row.editor)->selectAll();
    }
}

void PropertyPanel::Refresh() {
    const ReportDefinition& definition = design_.Definition();
    const DesignSelection& selection = design_.Selection();
    if (selection.size() > 1) {
        lblSelecao_->setText(QStringLiteral("%1 elementos selecionados").arg(selection.size()));
        Rebuild({});
        return;
    }
    const ReportPlace place = selection.empty() ? ReportPlace{} : selection.front();
    lblSelecao_->setText(Capitalised(DescribePlace(definition, place)));
    const std::vector<const DesignProperty*> properties = PropertiesOf(definition, place);
    QStringList groups;
    for (const ReportGroup& group : definition.groups) groups << group.field;
    bool same =
        !stale_ && place == place_ && groups == groups_ && properties.size() == rows_.size();
    for (std::size_t i = 0; same && i < properties.size(); ++i)
        same = properties[i] == rows_[i].property;
    place_ = place;
    groups_ = groups;
    if (!same) {
        Rebuild(properties);
        return;
    }
    for (Row& row : rows_) Show(row);
}

void PropertyPanel::Rebuild(const std::vector<const DesignProperty*>& properties) {
    stale_ = false;
    rows_.clear();
    // The editor that made this change may still be on the stack: the old form goes later.
    if (form_) {
        form_->hide();
        form_->deleteLater();
    }
    form_ = new QWidget(this);
    auto* form = new QFormLayout(form_);
    form->setContentsMargins(0, 0, 0, 0);
    for (const DesignProperty* property : properties) {
        QWidget* editor = MakeEditor(*property);
        editor->setObjectName(QLatin1String(property->name));
        if (property->editor == PropertyEditor::Boolean) {
            static_cast<QCheckBox*>(editor)->setText(property->label);
            form->addRow(editor);
        } else {
            form->addRow(property->label, editor);
        }
        rows_.push_back(Row{property, editor, {}});
        Show(rows_.back());
    }
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, form_);
    form_->show();
}

QWidget* PropertyPanel::MakeEditor(const DesignProperty& property) {
    switch (property.editor) {
        case PropertyEditor::Text:
        case PropertyEditor::Color:
        case PropertyEditor::OptionalColor: {
            auto* edit = new QLineEdit(form_);
            if (property.editor != PropertyEditor::Text)
                edit->setPlaceholderText(property.editor == PropertyEditor::Color
                                             ? QStringLiteral("#000000")
                                             : QStringLiteral("nenhum"));
            connect(edit, &QLineEdit::editingFinished, this, [this, edit] { Commit(edit); });
            return edit;
        }
        case PropertyEditor::LongText: {
            auto* edit = new TextPropertyEdit(form_);
            edit->setTabChangesFocus(true);
            edit->setFixedHeight(edit->fontMetrics().lineSpacing() * kTextLines + 12);
            edit->OnLeave = [this, edit] { Commit(edit); };
            return edit;
        }
        case PropertyEditor::Millimetres:
        case PropertyEditor::Points: {
            const bool points = property.editor == PropertyEditor::Points;
            auto* box = points ? NumberBox(form_, 1, 200, 1, 0.5)
                               : NumberBox(form_, 0, kMaxMillimetres, 2, 0.5);
            connect(box, &QDoubleSpinBox::editingFinished, this, [this, box] { Commit(box); });
            return box;
        }
        case PropertyEditor::Integer: {
            auto* box = new QSpinBox(form_);
            box->setRange(0, 10);
            box->setKeyboardTracking(false);
            connect(box, &QSpinBox::editingFinished, this, [this, box] { Commit(box); });
            return box;
        }
        case PropertyEditor::Boolean: {
            auto* box = new QCheckBox(form_);
            connect(box, &QCheckBox::clicked, this, [this, box] { Commit(box); });
            return box;
        }
        case PropertyEditor::Choice:
        case PropertyEditor::Group: {
            auto* box = new QComboBox(form_);
            if (property.editor == PropertyEditor::Choice) {
                for (const auto& [text, value] : property.choices) box->addItem(text, value);
            } else {
                box->addItem(QStringLiteral("Relatório inteiro"), QString());
                for (const QString& group : groups_)
                    box->addItem(QStringLiteral("Grupo %1").arg(group), group);
            }
            connect(box, &QComboBox::activated, this, [this, box] { Commit(box); });
            return box;
        }
        case PropertyEditor::Field:
        case PropertyEditor::Font: {
            auto* box = new QComboBox(form_);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            box->addItems(property.editor == PropertyEditor::Field ? fields_
                                                                   : QFontDatabase::families());
            connect(box, &QComboBox::activated, this, [this, box] { Commit(box); });
            connect(box->lineEdit(), &QLineEdit::editingFinished, this,
                    [this, box] { Commit(box); });
            return box;
        }
    }
    return new QWidget(form_);
}

void PropertyPanel::Show(Row& row) {
    const QVariant value = row.property->get(design_.Definition(), place_);
    QWidget* editor = row.editor;
    {
        const QSignalBlocker block(editor);
        switch (row.property->editor) {
            case PropertyEditor::Text:
            case PropertyEditor::Color:
            case PropertyEditor::OptionalColor:
                static_cast<QLineEdit*>(editor)->setText(value.toString());
                break;
            case PropertyEditor::LongText:
                static_cast<QPlainTextEdit*>(editor)->setPlainText(value.toString());
                break;
            case PropertyEditor::Millimetres:
            case PropertyEditor::Points:
                static_cast<QDoubleSpinBox*>(editor)->setValue(value.toDouble());
                break;
            case PropertyEditor::Integer:
                static_cast<QSpinBox*>(editor)->setValue(value.toInt());
                break;
            case PropertyEditor::Boolean:
                static_cast<QCheckBox*>(editor)->setChecked(value.toBool());
                break;
            case PropertyEditor::Choice:
            case PropertyEditor::Group: {
                auto* box = static_cast<QComboBox*>(editor);
                box->setCurrentIndex(box->findData(value));
                break;
            }
            case PropertyEditor::Field:
            case PropertyEditor::Font:
                static_cast<QComboBox*>(editor)->setCurrentText(value.toString());
                break;
        }
    }
    // What the editor holds, which may not be the value itself (a size below the box's
    // least): only what the user changes there is written.
    row.shown = ValueOf(row);
}

QVariant PropertyPanel::ValueOf(const Row& row) {
    const QWidget* editor = row.editor;
    switch (row.property->editor) {
        case PropertyEditor::Text:
        case PropertyEditor::Color:
        case PropertyEditor::OptionalColor:
            return static_cast<const QLineEdit*>(editor)->text();
        case PropertyEditor::LongText:
            return static_cast<const QPlainTextEdit*>(editor)->toPlainText();
        case PropertyEditor::Millimetres:
        case PropertyEditor::Points:
            return static_cast<const QDoubleSpinBox*>(editor)->value();
        case PropertyEditor::Integer:
            return static_cast<const QSpinBox*>(editor)->value();
        case PropertyEditor::Boolean:
            return static_cast<const QCheckBox*>(editor)->isChecked();
        case PropertyEditor::Choice:
        case PropertyEditor::Group:
            return static_cast<const QComboBox*>(editor)->currentData();
        case PropertyEditor::Field:
        case PropertyEditor::Font:
            return static_cast<const QComboBox*>(editor)->currentText();
    }
    return {};
}

void PropertyPanel::Commit(const QWidget* editor) {
    // An editor of a form on its way out (hidden, losing the keyboard) has nothing to say.
    const auto row = std::find_if(rows_.begin(), rows_.end(),
                                  [editor](const Row& r) { return r.editor == editor; });
    if (row == rows_.end()) return;
    const QVariant value = ValueOf(*row);
    if (value == row->shown) return;
    const DesignProperty* property = row->property;
    const ReportPlace place = place_;
    GuardEvent([&] {
        design_.Apply(property->label, SetProperty(design_.Definition(), place, *property, value));
    });
    // Refused, the editor shows again the value the definition kept.
    Refresh();
}

}  // namespace fai
