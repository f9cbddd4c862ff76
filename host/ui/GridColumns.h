#pragma once

#include <QString>
#include <Qt>

#include <functional>
#include <memory>
#include <vector>

namespace fai {

class TDBGridColumns;

enum class ColumnButtonStyle { Auto, Ellipsis };

// A persistent column of a data grid: the field it shows and how. The title is the field's
// label unless one is set; a width of -1 lets the grid size the column from the field.
class TColumn {
  public:
    TColumn(TDBGridColumns& owner, QString fieldName);
    TColumn(const TColumn&) = delete;
    TColumn& operator=(const TColumn&) = delete;

    const QString& FieldName() const { return fieldName_; }
    int Width() const { return width_; }
    void SetWidth(int width);
    const QString& Title() const { return title_; }
    void SetTitle(const QString& title);
    Qt::Alignment TitleAlignment() const { return titleAlignment_; }
    void SetTitleAlignment(Qt::Alignment alignment);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // Ellipsis shows a button in the current cell of the column, which runs the grid's
    // OnEditButtonClick.
    ColumnButtonStyle ButtonStyle() const { return buttonStyle_; }
    void SetButtonStyle(ColumnButtonStyle style);
    // What the button does and its key, the tool tip of the column's cells while it shows.
    const QString& ButtonHint() const { return buttonHint_; }
    void SetButtonHint(const QString& hint) { buttonHint_ = hint; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

  private:
    void Changed();

    TDBGridColumns& owner_;
    QString fieldName_;
    int width_ = -1;
    QString title_;
    Qt::Alignment titleAlignment_ = Qt::AlignLeft;
    bool readOnly_ = false;
    ColumnButtonStyle buttonStyle_ = ColumnButtonStyle::Auto;
    QString buttonHint_;
    bool visible_ = true;
};

// The persistent columns of a grid, in display order. Without any, the grid shows a column
// for every visible field of its dataset.
class TDBGridColumns {
  public:
    // `changed` is told of every change: the column whose properties changed, or null when
    // columns were added or removed.
    using ChangeEvent = std::function<void(const TColumn* column)>;
    explicit TDBGridColumns(ChangeEvent changed) : changed_(std::move(changed)) {}

    TColumn& Add(const QString& fieldName);
    void Clear();
    int Count() const { return static_cast<int>(columns_.size()); }
    bool IsEmpty() const { return columns_.empty(); }
    TColumn& operator[](int index) const { return *columns_.at(std::size_t(index)); }
    // Index of the first column of the field (letter case ignored), or -1.
    int IndexOf(const QString& fieldName) const;

  private:
    friend class TColumn;

    ChangeEvent changed_;
    std::vector<std::unique_ptr<TColumn>> columns_;
};

}  // namespace fai
