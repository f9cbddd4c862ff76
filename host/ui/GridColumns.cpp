#include "GridColumns.h"

namespace fai {

TColumn::TColumn(TDBGridColumns& owner, QString fieldName)
    : owner_(owner), fieldName_(std::move(fieldName)) {}

void TColumn::SetWidth(int width) {
    width_ = width;
    Changed();
}

void TColumn::SetTitle(const QString& title) {
    title_ = title;
    Changed();
}

void TColumn::SetTitleAlignment(Qt::Alignment alignment) {
    titleAlignment_ = alignment;
    Changed();
}

void TColumn::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    Changed();
}

void TColumn::SetButtonStyle(ColumnButtonStyle style) {
    buttonStyle_ = style;
    Changed();
}

void TColumn::SetVisible(bool visible) {
    visible_ = visible;
    Changed();
}

void TColumn::Changed() {
    if (owner_.changed_) owner_.changed_(this);
}

TColumn& TDBGridColumns::Add(const QString& fieldName) {
    columns_.push_back(std::make_unique<TColumn>(*this, fieldName));
    if (changed_) changed_(nullptr);
    return *columns_.back();
}

void TDBGridColumns::Clear() {
    columns_.clear();
    if (changed_) changed_(nullptr);
}

int TDBGridColumns::IndexOf(const QString& fieldName) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i]->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace fai
