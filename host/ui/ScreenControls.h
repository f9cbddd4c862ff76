#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace fai {

class DataSource;
class TBtnPesquisa;
class TMaskEdit;

// The controls the screens build the same way, each named with its component name.

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text);

// A read-only name beside a code: shown, never typed into nor tabbed through.
QLineEdit* MakeNameBox(QWidget* parent, const char* name);

// A code box with its edit mask, as wide as `characters` of the widest letter.
TMaskEdit* MakeCodeBox(QWidget* parent, const char* name, const QString& mask, int maxLength,
                       int characters);

// The width a one-line box needs to show the longest of `texts` whole in its own font, with
// its frame and margins as its style draws them.
int WidthShowing(const QLineEdit& box, const QStringList& texts);

// A lookup button beside a code box (F2 in the box opens it), over the rows of `source`,
// with its list's title and the text said when there are none.
TBtnPesquisa* MakeLookup(QWidget* parent, const char* name, QLineEdit* box, const QString& title,
                         DataSource* source, const QString& emptyError);

// The widgets side by side; the last one takes the room left when `stretchLast`.
QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, bool stretchLast);

}  // namespace fai
