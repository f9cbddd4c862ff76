#include "ColumnWidth.h"

#include "Field.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace fai {
namespace {

// Longer texts (a description of 400 characters) are read in their cell's tool tip or
// below the grid; a name of this length still shows whole.
constexpr int kWidestText = 50;
constexpr int kNumberPlaces = 12;
constexpr int kDatePlaces = 10;

int Places(const Field* field) {
    if (!field) return 0;
    switch (field->DataType()) {
        case FieldType::Float:
            return kNumberPlaces;
        case FieldType::DateTime:
            return kDatePlaces;
        case FieldType::String:
            break;
    }
    return std::min(field->Size(), kWidestText);
}

}  // namespace

int ColumnWidthFor(const QTableView& view, int column, const Field* field, int extra) {
    const QFontMetrics metrics = view.fontMetrics();
    // Codes, numbers and registration numbers are digits, the widest common characters.
    const int place = std::max(metrics.averageCharWidth(), metrics.horizontalAdvance(u'0'));
    // The margins the item delegate keeps on each side of the text, and the grid line.
    const int margin =
        2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1) + 1;
    const int value = Places(field) * place + margin + extra;
    const int title = view.horizontalHeader()->sectionSizeHint(column);
    return std::max(value, title);
}

}  // namespace fai
