// How grid cells show and order their texts: the amount mask and the column sort kinds. No widget
// here, so the rules are read and tested on their own.
#pragma once

#include <QString>

namespace tarmel::ui {

// An amount as the "#,##0.00" mask shows it: two decimals after ".", a blank between thousands
// ("-1 234.50"). A text that is no number is shown as it stands; an empty one stays empty.
QString AmountText(const QString& text);

// How a column orders its cells when its header is clicked.
enum class SortKind { None, Text, Number, Date };

// Whether a comes before b in ascending order. Numbers and dates ("dd/mm/yyyy") compare by
// value and come before the cells that hold none; text compares without regard to case.
bool SortsBefore(SortKind kind, const QString& a, const QString& b);

}  // namespace tarmel::ui
